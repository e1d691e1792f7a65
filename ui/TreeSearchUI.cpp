#include "TreeSearchUI.h"

#include <cwchar>
#include <cwctype>

#include "ControlUI.h"

namespace {

struct TFindTabInfoUI
{
    CControlUI* pFocus;
    CControlUI* pLast;
    bool bForward;
    bool bNextIsIt;
};

struct TFindShortcutUI
{
    wchar_t ch;
    bool bPickNext;
};

} // namespace

CControlUI* CTreeSearchUI::ControlAt(CControlUI* pRoot, POINT pt)
{
    return pRoot->FindControl(FromPoint, &pt, UIFIND_VISIBLE | UIFIND_HITTEST | UIFIND_TOP_FIRST);
}

CControlUI* CTreeSearchUI::NextTabStop(CControlUI* pRoot, CControlUI* pFocus, bool bForward)
{
    const UINT uFlags = UIFIND_VISIBLE | UIFIND_ENABLED | UIFIND_ME_FIRST;
    TFindTabInfoUI info1 = { pFocus, nullptr, bForward, false };
    CControlUI* pControl = pRoot->FindControl(FromTab, &info1, uFlags);
    if (pControl != nullptr) return pControl;
    if (!bForward) return info1.pLast;
    TFindTabInfoUI info2 = { nullptr, nullptr, bForward, false };
    return pRoot->FindControl(FromTab, &info2, uFlags);
}

CControlUI* CTreeSearchUI::ShortcutTarget(CControlUI* pRoot, wchar_t ch)
{
    TFindShortcutUI fs = { ch, false };
    return pRoot->FindControl(FromShortcut, &fs, UIFIND_ENABLED | UIFIND_ME_FIRST | UIFIND_TOP_FIRST);
}

CControlUI* CTreeSearchUI::FirstNeedingUpdate(CControlUI* pRoot)
{
    return pRoot->FindControl(FromUpdate, nullptr, UIFIND_VISIBLE | UIFIND_ME_FIRST);
}

CControlUI* CALLBACK CTreeSearchUI::FromPoint(CControlUI* pThis, LPVOID pData)
{
    const POINT* pPoint = static_cast<const POINT*>(pData);
    return ::PtInRect(&pThis->GetPos(), *pPoint) ? pThis : nullptr;
}

CControlUI* CALLBACK CTreeSearchUI::FromTab(CControlUI* pThis, LPVOID pData)
{
    TFindTabInfoUI* pInfo = static_cast<TFindTabInfoUI*>(pData);
    if (pInfo->pFocus == pThis) {
        if (pInfo->bForward) pInfo->bNextIsIt = true;
        return pInfo->bForward ? nullptr : pInfo->pLast;
    }
    if ((pThis->GetControlFlags() & UIFLAG_TABSTOP) == 0) return nullptr;
    pInfo->pLast = pThis;
    if (pInfo->bNextIsIt) return pThis;
    if (pInfo->pFocus == nullptr) return pThis;
    return nullptr;
}

// A label's shortcut goes to the next control of the walk that is not a label.
CControlUI* CALLBACK CTreeSearchUI::FromShortcut(CControlUI* pThis, LPVOID pData)
{
    if (!pThis->IsVisible()) return nullptr;
    TFindShortcutUI* pFS = static_cast<TFindShortcutUI*>(pData);
    wchar_t chShortcut = pThis->GetShortcut();
    if (chShortcut != L'\0' && pFS->ch == static_cast<wchar_t>(towupper(static_cast<wint_t>(chShortcut))))
        pFS->bPickNext = true;
    if (wcsstr(pThis->GetControlClass(), L"LabelUI") != nullptr) return nullptr;
    return pFS->bPickNext ? pThis : nullptr;
}

CControlUI* CALLBACK CTreeSearchUI::FromUpdate(CControlUI* pThis, LPVOID /*pData*/)
{
    return pThis->IsUpdateNeeded() ? pThis : nullptr;
}
