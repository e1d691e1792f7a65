#include "ItemAlignUI.h"

#include <cwchar>

UINT CItemAlignUI::Apply(UINT uTextStyle, LPCWSTR pstrValue)
{
    if (wcsstr(pstrValue, L"left") != nullptr) uTextStyle &= ~(DT_CENTER | DT_RIGHT);
    if (wcsstr(pstrValue, L"center") != nullptr) uTextStyle = (uTextStyle & ~DT_RIGHT) | DT_CENTER;
    if (wcsstr(pstrValue, L"right") != nullptr) uTextStyle = (uTextStyle & ~DT_CENTER) | DT_RIGHT;
    return uTextStyle;
}
