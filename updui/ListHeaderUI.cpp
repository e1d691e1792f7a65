#include "ListHeaderUI.h"

#include <cwchar>

namespace UpdUI {

namespace {

const int kHeaderMargin = 6;

} // namespace

LPCWSTR CListHeaderUI::GetControlClass() const
{
    return L"ListHeaderUI";
}

LPVOID CListHeaderUI::GetInterface(LPCWSTR pstrName)
{
    if (pstrName != nullptr && wcscmp(pstrName, L"ListHeader") == 0) return this;
    return CHorizontalLayoutUI::GetInterface(pstrName);
}

SIZE CListHeaderUI::EstimateSize(SIZE szAvailable)
{
    SIZE sz = { 0, m_cxyFixed.cy };
    for (int i = 0; i < m_items.GetCount(); ++i) {
        SIZE szItem = static_cast<CControlUI*>(m_items[i])->EstimateSize(szAvailable);
        sz.cx += szItem.cx;
        if (m_cxyFixed.cy == 0 && szItem.cy > sz.cy) sz.cy = szItem.cy;
    }
    if (m_cxyFixed.cy == 0 && m_pManager != nullptr) {
        TFontInfoUI* pFont = m_pManager->GetDefaultFontInfo();
        int cyMin = (pFont != nullptr ? pFont->tm.tmHeight : 0) + kHeaderMargin;
        if (sz.cy < cyMin) sz.cy = cyMin;
    }
    return sz;
}

} // namespace UpdUI
