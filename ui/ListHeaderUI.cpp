#include "ListHeaderUI.h"

#include <cwchar>

LPCWSTR CListHeaderUI::GetControlClass() const
{
    return L"ListHeaderUI";
}

LPVOID CListHeaderUI::GetInterface(LPCWSTR pstrName)
{
    if (pstrName != nullptr && wcscmp(pstrName, L"ListHeader") == 0) return this;
    return CHorizontalLayoutUI::GetInterface(pstrName);
}

// As wide as all columns together, so the list's body knows how far it must scroll.
SIZE CListHeaderUI::EstimateSize(SIZE szAvailable)
{
    SIZE sz = { 0, m_cxyFixed.cy };
    if (sz.cy == 0 && m_pManager != nullptr) sz.cy = m_pManager->GetDefaultFontInfo().tmHeight + 6;
    for (int i = 0; i < m_items.GetSize(); i++)
        sz.cx += static_cast<CControlUI*>(m_items.GetAt(i))->EstimateSize(szAvailable).cx;
    return sz;
}
