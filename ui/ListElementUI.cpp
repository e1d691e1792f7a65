#include "ListElementUI.h"

#include "ListItemBehaviorUI.h"

void CListElementUI::DoPaint(HDC hDC, const RECT& rcPaint)
{
    if (!::IntersectRect(&m_rcPaint, &rcPaint, &m_rcItem)) return;
    CListItemBehaviorUI::PaintBackground(this, hDC, m_rcPaint, GetInfo(), IsHot(), m_bSelected);
    DrawItemText(hDC, m_rcItem);
}

DWORD CListElementUI::CurrentTextColor() const
{
    TListInfoUI* pInfo = GetInfo();
    if (pInfo == nullptr) return 0;
    return CListItemBehaviorUI::TextColor(*pInfo, IsHot(), m_bSelected, IsEnabled());
}
