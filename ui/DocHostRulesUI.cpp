#include "DocHostRulesUI.h"

#include "ControlUI.h"

namespace {

// Context-menu ids of the page's own scroll bars: the browser keeps its menu there.
const DWORD kMenuHScroll = 10;
const DWORD kMenuVScroll = 11;

bool IsKeyDown(int nVirtKey)
{
    return ::GetKeyState(nVirtKey) < 0;
}

} // namespace

HRESULT CDocHostRulesUI::ShowContextMenu(CControlUI* pSender, DWORD dwID)
{
    if (dwID == kMenuHScroll || dwID == kMenuVScroll) return E_NOTIMPL;
    if (pSender != nullptr && pSender->GetManager() != nullptr)
        pSender->GetManager()->SendNotify(pSender, NotifyContextMenu, 0, 0);
    return S_OK;
}

HRESULT CDocHostRulesUI::GetHostInfo(DOCHOSTUIINFO* pInfo)
{
    if (pInfo == nullptr) return E_POINTER;
    pInfo->dwFlags = DOCHOSTUIFLAG_NO3DBORDER;
    pInfo->dwDoubleClick = 0;
    return S_OK;
}

// Ctrl+A, F, L, M, N, O, P would select all, search or open browser dialogs and
// windows; Alt+Left and Alt+Right would move through the history.
HRESULT CDocHostRulesUI::TranslateAccelerator(const MSG* pMsg)
{
    if (pMsg == nullptr) return S_FALSE;
    const WPARAM key = pMsg->wParam;
    if (IsKeyDown(VK_CONTROL)) {
        switch (key) {
        case 'A':
        case 'F':
        case 'L':
        case 'M':
        case 'N':
        case 'O':
        case 'P': return S_OK;
        default: break;
        }
    }
    if (IsKeyDown(VK_MENU) && (key == VK_LEFT || key == VK_RIGHT)) return S_OK;
    if (key == VK_ESCAPE) return S_OK;
    return S_FALSE;
}
