#pragma once
#include "WindowWnd.h"

class CEditUI;

// The native edit window an edit control opens over its text area while it has the
// focus. It copies every change back into the control and closes itself once the
// keyboard focus leaves it; the object deletes itself with the window.
class CEditWnd : public CWindowWnd
{
public:
    CEditWnd();

    // Opens the window over the owner's text area. False when no window could be
    // made; a window destroyed while being created has already deleted this object.
    bool Init(CEditUI* pOwner);
    // The owner is going away: the window stops talking to it and closes.
    void Detach();

protected:
    LPCWSTR GetWindowClassName() const override;
    LPCWSTR GetSuperClassName() const override;
    LRESULT HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) override;
    void OnFinalMessage(HWND hWnd) override;

private:
    void ApplyOwnerSettings();
    void CopyTextToOwner();

    CEditUI* m_pOwner;
    // Changes are copied only once the window holds the owner's text; the text set
    // while opening is not an edit.
    bool m_bCopyChanges;
};
