#include "HorizontalLayoutUI.h"

#include <cstdlib>
#include <cwchar>

#include "MarkupNumberUI.h"

namespace UpdUI {

CHorizontalLayoutUI::CHorizontalLayoutUI() : CSeparatorLayoutUI(false) { }

LPCWSTR CHorizontalLayoutUI::GetControlClass() const
{
    return L"HorizontalLayoutUI";
}

LPVOID CHorizontalLayoutUI::GetInterface(LPCWSTR pstrName)
{
    if (pstrName != nullptr && wcscmp(pstrName, L"HorizontalLayout") == 0) return this;
    return CContainerUI::GetInterface(pstrName);
}

int CHorizontalLayoutUI::GetSepWidth() const
{
    return m_iSepSize;
}

void CHorizontalLayoutUI::SetSepWidth(int iWidth)
{
    m_iSepSize = iWidth;
}

void CHorizontalLayoutUI::SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue)
{
    if (pstrName == nullptr || pstrValue == nullptr) return;
    if (wcscmp(pstrName, L"sepwidth") == 0)
        SetSepWidth(static_cast<int>(MarkupNumber::Coord(pstrValue)));
    else
        CSeparatorLayoutUI::SetAttribute(pstrName, pstrValue);
}

} // namespace UpdUI
