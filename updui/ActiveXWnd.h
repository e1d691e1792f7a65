#pragma once
#include <windows.h>

#include "WindowWnd.h"

namespace UpdUI {

class CActiveXCtrl;

// The child window a windowed hosted control lives in; it activates the control when
// it gets the focus or a mouse press. The site owns and deletes it.
class CActiveXWnd : public CWindowWnd
{
public:
    explicit CActiveXWnd(CActiveXCtrl* pSite);

    // Creates the window in the owner's manager window; null on failure.
    HWND Init(HWND hWndParent);

protected:
    LPCWSTR GetWindowClassName() const override;
    LRESULT HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) override;
    void OnFinalMessage(HWND hWnd) override;

private:
    void DoVerb(LONG iVerb);
    LRESULT OnMouseActivate(UINT uMsg, WPARAM wParam, LPARAM lParam);

    CActiveXCtrl* m_pSite;
};

} // namespace UpdUI
