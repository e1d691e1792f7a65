#include "TreeSearchUI.h"

#include "ControlUI.h"

namespace UpdUI {

namespace {

const UINT kTabFlags = UIFIND_VISIBLE | UIFIND_ENABLED | UIFIND_ME_FIRST;

} // namespace

CControlUI* CTreeSearchUI::ControlAt(CControlUI* pRoot, POINT pt)
{
    if (pRoot == nullptr) return nullptr;
    return pRoot->FindControl(CWindowManagerUI::FindPointCallback, &pt,
                              UIFIND_VISIBLE | UIFIND_HITTEST | UIFIND_TOP_FIRST);
}

CControlUI* CTreeSearchUI::NextTabStop(CControlUI* pRoot, CControlUI* pStart, bool bForward)
{
    if (pRoot == nullptr) return nullptr;
    TTabSearchUI info = { pStart, nullptr, bForward, false };
    CControlUI* pResult = pRoot->FindControl(CWindowManagerUI::TabOrderCallback, &info, kTabFlags);
    if (pResult != nullptr) return pResult;
    if (bForward) {
        TTabSearchUI first = { nullptr, nullptr, true, false };
        return pRoot->FindControl(CWindowManagerUI::TabOrderCallback, &first, kTabFlags);
    }
    return info.pLast;
}

CControlUI* CTreeSearchUI::TabStopBefore(CControlUI* pRoot, CControlUI* pStart)
{
    if (pRoot == nullptr) return nullptr;
    TTabSearchUI info = { pStart, nullptr, false, false };
    return pRoot->FindControl(CWindowManagerUI::TabOrderCallback, &info, kTabFlags);
}

CControlUI* CTreeSearchUI::ShortcutTarget(CControlUI* pRoot, wchar_t ch)
{
    if (pRoot == nullptr) return nullptr;
    TShortcutSearchUI fs = { ch, false };
    return pRoot->FindControl(CWindowManagerUI::ShortcutCallback, &fs,
                              UIFIND_ENABLED | UIFIND_ME_FIRST | UIFIND_TOP_FIRST);
}

CControlUI* CTreeSearchUI::FirstNeedingUpdate(CControlUI* pRoot)
{
    if (pRoot == nullptr) return nullptr;
    return pRoot->FindControl(CWindowManagerUI::UpdateNeededCallback, nullptr, UIFIND_VISIBLE | UIFIND_ME_FIRST);
}

} // namespace UpdUI
