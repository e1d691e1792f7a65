#pragma once
#include "uishared/ActiveXFrameWnd.h"

class CActiveXCtrl;

// The in-place frame a hosted control is given: the manager's window, no tool space,
// no menus. It reaches the control through the site, so it answers E_UNEXPECTED
// once the control has let go.
class CActiveXFrameWnd final : public UIShared::CActiveXFrameWnd
{
public:
    explicit CActiveXFrameWnd(CActiveXCtrl* pSite);

private:
    bool GetOwnerWindow(HWND* phwnd) const override;

    CActiveXCtrl* m_pSite;
};
