#include "ListLabelElementUI.h"

#include <cwchar>

#include "ListItemBehaviorUI.h"
#include "PainterUI.h"

LPCWSTR CListLabelElementUI::GetControlClass() const
{
    return L"ListLabelElementUI";
}

LPVOID CListLabelElementUI::GetInterface(LPCWSTR pstrName)
{
    if (pstrName != nullptr && wcscmp(pstrName, L"ListLabelElement") == 0) return this;
    return CListElementUI::GetInterface(pstrName);
}

// The owner's horizontal alignment is dropped: the text is measured from the left.
int CListLabelElementUI::MeasureTextWidth(const TListInfoUI& info, int cyItem) const
{
    RECT rc = { 0, 0, 9999, cyItem };
    const UINT uStyle = (info.uTextStyle & ~static_cast<UINT>(DT_CENTER | DT_RIGHT)) | DT_CALCRECT | DT_SINGLELINE;
    HDC hDC = m_pManager->GetPaintDC();
    if (hDC == nullptr) return info.rcTextPadding.left + info.rcTextPadding.right; // no window to measure with
    if (info.bShowHtml) {
        int nLinks = 0;
        CPainterUI::DrawMarkupText(hDC, m_pManager, rc, m_sText.GetData(), 0, nullptr, nullptr, nLinks, uStyle);
    } else {
        CPainterUI::DrawPlainText(hDC, m_pManager, rc, m_sText.GetData(), 0, info.nFont, uStyle);
    }
    return rc.right - rc.left + info.rcTextPadding.left + info.rcTextPadding.right;
}

SIZE CListLabelElementUI::EstimateSize(SIZE /*szAvailable*/)
{
    TListInfoUI* pInfo = GetInfo();
    if (pInfo == nullptr) return SIZE{ 0, 0 };
    SIZE sz = m_cxyFixed;
    if (sz.cy == 0 && m_pManager != nullptr)
        sz.cy = m_pManager->GetDefaultFontInfo().tmHeight + pInfo->rcTextPadding.top + pInfo->rcTextPadding.bottom + 8;
    if (sz.cx == 0 && m_pManager != nullptr) sz.cx = MeasureTextWidth(*pInfo, sz.cy);
    return sz;
}

void CListLabelElementUI::DrawItemText(HDC hDC, const RECT& rcItem)
{
    TListInfoUI* pInfo = GetInfo();
    if (m_sText.IsEmpty() || pInfo == nullptr) return;
    int nLinks = 0;
    CListItemBehaviorUI::DrawCellText(hDC, m_pManager, rcItem, m_sText.GetData(), *pInfo, CurrentTextColor(), nullptr,
                                      nullptr, nLinks);
}
