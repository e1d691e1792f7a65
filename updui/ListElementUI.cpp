#include "ListElementUI.h"

#include <cwchar>

namespace UpdUI {

LPCWSTR CListElementUI::GetControlClass() const
{
    return L"ListElementUI";
}

LPVOID CListElementUI::GetInterface(LPCWSTR pstrName)
{
    if (pstrName != nullptr && wcscmp(pstrName, L"ListElement") == 0) return this;
    return CListItemBaseUI<CControlUI>::GetInterface(pstrName);
}

} // namespace UpdUI
