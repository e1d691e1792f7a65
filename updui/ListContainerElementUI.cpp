#include "ListContainerElementUI.h"

#include <cwchar>

namespace UpdUI {

LPCWSTR CListContainerElementUI::GetControlClass() const
{
    return L"ListContainerElementUI";
}

LPVOID CListContainerElementUI::GetInterface(LPCWSTR pstrName)
{
    if (pstrName != nullptr && wcscmp(pstrName, L"ListContainerElement") == 0) return this;
    return CListItemBaseUI<CContainerUI>::GetInterface(pstrName);
}

void CListContainerElementUI::DoEvent(TEventRecUI& event)
{
    DoRowEvent(event);
}

void CListContainerElementUI::DoPaint(HDC hDC, const RECT& rcPaint)
{
    if (!::IntersectRect(&m_rcPaint, &rcPaint, &m_rcItem)) return;
    DrawItemBk(hDC, m_rcItem);
    CContainerUI::DoPaint(hDC, rcPaint);
}

void CListContainerElementUI::DrawItemText(HDC /*hDC*/, const RECT& /*rcItem*/) { }

} // namespace UpdUI
