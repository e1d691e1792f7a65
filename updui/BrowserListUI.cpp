#include "BrowserListUI.h"

#include "ActiveXUI.h"
#include "BrowserKeysUI.h"
#include "WindowManagerUI.h"

namespace UpdUI {

namespace {

CActiveXUI* HostOf(CControlUI* pControl)
{
    return pControl != nullptr ? static_cast<CActiveXUI*>(pControl->GetInterface(L"ActiveX")) : nullptr;
}

} // namespace

bool CBrowserListUI::Add(CControlUI* pControl, CWindowManagerUI* pManager)
{
    CActiveXUI* pHost = HostOf(pControl);
    if (pHost == nullptr || m_aBrowsers.Find(pControl) >= 0) return false;
    CWindowManagerUI* pPrevious = pHost->GetListingManager();
    if (pPrevious != nullptr) pPrevious->RemoveBrowser(pControl);
    if (!m_aBrowsers.Add(pControl)) return false;
    pHost->SetListingManager(pManager);
    return true;
}

bool CBrowserListUI::Remove(CControlUI* pControl, CWindowManagerUI* pManager)
{
    int iIndex = m_aBrowsers.Find(pControl);
    if (iIndex < 0) return false;
    m_aBrowsers.Remove(iIndex);
    CActiveXUI* pHost = HostOf(pControl);
    if (pHost != nullptr && pHost->GetListingManager() == pManager) pHost->SetListingManager(nullptr);
    return true;
}

void CBrowserListUI::RemoveAll(CWindowManagerUI* pManager)
{
    while (m_aBrowsers.GetCount() > 0) Remove(static_cast<CControlUI*>(m_aBrowsers[0]), pManager);
}

int CBrowserListUI::GetCount() const
{
    return m_aBrowsers.GetCount();
}

bool CBrowserListUI::TranslateAccelerator(MSG* pMsg) const
{
    for (int i = 0; i < m_aBrowsers.GetCount(); ++i) {
        if (CBrowserKeysUI::Translate(static_cast<CControlUI*>(m_aBrowsers[i]), pMsg)) return true;
    }
    return false;
}

} // namespace UpdUI
