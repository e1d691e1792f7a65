#include "VerticalLayoutUI.h"

#include <cstdlib>
#include <cwchar>

#include "MarkupNumberUI.h"

namespace UpdUI {

CVerticalLayoutUI::CVerticalLayoutUI() : CSeparatorLayoutUI(true) { }

LPCWSTR CVerticalLayoutUI::GetControlClass() const
{
    return L"VerticalLayoutUI";
}

LPVOID CVerticalLayoutUI::GetInterface(LPCWSTR pstrName)
{
    if (pstrName != nullptr && wcscmp(pstrName, L"VerticalLayout") == 0) return this;
    return CContainerUI::GetInterface(pstrName);
}

int CVerticalLayoutUI::GetSepHeight() const
{
    return m_iSepSize;
}

void CVerticalLayoutUI::SetSepHeight(int iHeight)
{
    m_iSepSize = iHeight;
}

void CVerticalLayoutUI::SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue)
{
    if (pstrName == nullptr || pstrValue == nullptr) return;
    if (wcscmp(pstrName, L"sepheight") == 0)
        SetSepHeight(static_cast<int>(MarkupNumber::Coord(pstrValue)));
    else
        CSeparatorLayoutUI::SetAttribute(pstrName, pstrValue);
}

} // namespace UpdUI
