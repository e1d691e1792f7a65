#pragma once
#include <windows.h>

#include "WindowWnd.h"

class CActiveXCtrl;

// The child window a windowed hosted control lives in; it activates the control when
// it gets the focus or a mouse press.
class CActiveXWnd : public CWindowWnd
{
public:
    explicit CActiveXWnd(CActiveXCtrl* pOwner);

    // Creates the window in the owner's manager window; null on failure.
    HWND Init(HWND hWndParent);

protected:
    LPCWSTR GetWindowClassName() const override;
    LRESULT HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) override;

private:
    void DoVerb(LONG iVerb);
    LRESULT OnMouseActivate(UINT uMsg, WPARAM wParam, LPARAM lParam);
    LRESULT OnEraseBackground(UINT uMsg, WPARAM wParam, LPARAM lParam);

    CActiveXCtrl* m_pOwner;
};
