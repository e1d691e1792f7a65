#include "ListLabelElementUI.h"

#include <algorithm>
#include <cwchar>

#include "PainterUI.h"

namespace UpdUI {

namespace {

const int kRowMargin = 8;
const int kMeasureWidth = 9999;

} // namespace

LPCWSTR CListLabelElementUI::GetControlClass() const
{
    return L"ListLabelElementUI";
}

LPVOID CListLabelElementUI::GetInterface(LPCWSTR pstrName)
{
    if (pstrName != nullptr && wcscmp(pstrName, L"ListLabelElement") == 0) return this;
    return CListElementUI::GetInterface(pstrName);
}

void CListLabelElementUI::DoEvent(TEventRecUI& event)
{
    DoRowEvent(event);
}

int CListLabelElementUI::ItemHeight(const TListInfoUI& info) const
{
    if (m_pManager == nullptr) return -1;
    TFontInfoUI* pFont = m_pManager->GetFontInfo(info.nFont);
    int cyFont = pFont != nullptr ? pFont->tm.tmHeight : 0;
    return cyFont + info.rcTextPadding.top + info.rcTextPadding.bottom + kRowMargin;
}

SIZE CListLabelElementUI::EstimateSize(SIZE /*szAvailable*/)
{
    SIZE sz = { 0, 0 };
    TListInfoUI* pInfo = m_pOwner != nullptr ? m_pOwner->GetListInfo() : nullptr;
    if (pInfo == nullptr) return sz;
    sz.cy = m_cxyFixed.cy != 0 ? m_cxyFixed.cy : (std::max)(ItemHeight(*pInfo), 0);
    sz.cx = m_cxyFixed.cx;
    HDC hDC = m_pManager != nullptr ? m_pManager->GetPaintDC() : nullptr;
    if (sz.cx == 0 && hDC != nullptr) {
        RECT rcText = { 0, 0, kMeasureWidth, sz.cy };
        UINT uStyle = (pInfo->uTextStyle & ~static_cast<UINT>(DT_CENTER | DT_RIGHT)) | DT_CALCRECT | DT_SINGLELINE;
        HGDIOBJ hOld = ::SelectObject(hDC, m_pManager->GetFont(pInfo->nFont));
        ::DrawTextW(hDC, m_sText.GetData(), -1, &rcText, uStyle);
        ::SelectObject(hDC, hOld);
        sz.cx = rcText.right - rcText.left + pInfo->rcTextPadding.left + pInfo->rcTextPadding.right;
    }
    return sz;
}

void CListLabelElementUI::DoPaint(HDC hDC, const RECT& rcPaint)
{
    if (!::IntersectRect(&m_rcPaint, &rcPaint, &m_rcItem)) return;
    DrawItemBk(hDC, m_rcItem);
    DrawItemText(hDC, m_rcItem);
}

void CListLabelElementUI::DrawItemText(HDC hDC, const RECT& rcItem)
{
    if (m_sText.IsEmpty() || m_pOwner == nullptr) return;
    TListInfoUI* pInfo = m_pOwner->GetListInfo();
    DWORD dwColor = CListRowUI::TextColor(*pInfo, m_uButtonState, m_bSelected, IsEnabled());
    RECT rc = { rcItem.left + pInfo->rcTextPadding.left, rcItem.top + pInfo->rcTextPadding.top,
                rcItem.right - pInfo->rcTextPadding.right, rcItem.bottom - pInfo->rcTextPadding.bottom };
    UINT uStyle = pInfo->uTextStyle | DT_SINGLELINE;
    if (pInfo->bShowHtml) {
        int nLinks = 0;
        CPainterUI::DrawMarkupText(hDC, m_pManager, rc, m_sText.GetData(), dwColor, nullptr, nullptr, nLinks, uStyle);
    } else {
        CPainterUI::DrawPlainText(hDC, m_pManager, rc, m_sText.GetData(), dwColor, pInfo->nFont, uStyle);
    }
}

} // namespace UpdUI
