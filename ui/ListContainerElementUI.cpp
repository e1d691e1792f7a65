#include "ListContainerElementUI.h"

#include "ListItemBehaviorUI.h"

LPCWSTR CListContainerElementUI::GetControlClass() const
{
    return L"ListContainerElement";
}

void CListContainerElementUI::OnSelect()
{
    SetMouseChildEnabled(m_bSelected);
}

void CListContainerElementUI::DoPaint(HDC hDC, const RECT& rcPaint)
{
    RECT rcTemp;
    if (!::IntersectRect(&rcTemp, &rcPaint, &m_rcItem)) return;
    CListItemBehaviorUI::PaintBackground(this, hDC, rcTemp, GetInfo(), IsHot(), m_bSelected);
    CContainerUI::DoPaint(hDC, rcPaint);
}

void CListContainerElementUI::DrawItemText(HDC /*hDC*/, const RECT& /*rcItem*/) { }
