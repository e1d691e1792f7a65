#pragma once
#include "uishared/ActiveXFrameWnd.h"

namespace UpdUI {

class CActiveXCtrl;

// The in-place frame handed to a hosted control: the manager's window, no tool space,
// no menus. It reaches the owning control through the site it holds, so a frame kept
// past the control's release answers E_UNEXPECTED instead of touching a freed owner.
class CActiveXFrameWnd final : public UIShared::CActiveXFrameWnd
{
public:
    explicit CActiveXFrameWnd(CActiveXCtrl* pSite);

private:
    bool GetOwnerWindow(HWND* phwnd) const override;

    CActiveXCtrl* m_pSite;
};

} // namespace UpdUI
