#include "ActiveXFrameWnd.h"

#include "ActiveXCtrl.h"
#include "ActiveXUI.h"

CActiveXFrameWnd::CActiveXFrameWnd(CActiveXCtrl* pSite) : UIShared::CActiveXFrameWnd(pSite), m_pSite(pSite) { }

bool CActiveXFrameWnd::GetOwnerWindow(HWND* phwnd) const
{
    CActiveXUI* pOwner = m_pSite != nullptr ? m_pSite->GetOwner() : nullptr;
    if (pOwner == nullptr) return false;
    *phwnd = pOwner->GetManagerWindow();
    return true;
}
