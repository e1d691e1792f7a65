#include "OleVerbUI.h"

namespace UIShared {

void COleVerbUI::DoVerb(IOleObject* pObject, IUnknown* pSite, LONG iVerb, HWND hWnd, RECT rcItem)
{
    IOleClientSite* pClientSite = nullptr;
    pSite->QueryInterface(IID_IOleClientSite, reinterpret_cast<void**>(&pClientSite));
    pObject->DoVerb(iVerb, nullptr, pClientSite, 0, hWnd, &rcItem);
    if (pClientSite != nullptr) pClientSite->Release();
}

bool COleVerbUI::RefusesUIActivate(IOleObject* pObject)
{
    DWORD dwMiscStatus = 0;
    pObject->GetMiscStatus(DVASPECT_CONTENT, &dwMiscStatus);
    return (dwMiscStatus & OLEMISC_NOUIACTIVATE) != 0;
}

} // namespace UIShared
