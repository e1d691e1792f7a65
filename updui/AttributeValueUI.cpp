#include "AttributeValueUI.h"

#include <cwchar>

#include "MarkupNumberUI.h"

namespace UpdUI {

bool CAttributeValueUI::IsTrue(LPCWSTR pstrValue)
{
    return wcscmp(pstrValue, L"true") == 0;
}

// The separator after a value is skipped only when text follows it, so a short list
// such as "1,2" never reads past its end.
void CAttributeValueUI::ParseCoords(LPCWSTR pstrValue, LONG* pValues, int nCount)
{
    for (int i = 0; i < nCount; ++i) {
        pValues[i] = 0;
    }
    LPCWSTR p = pstrValue;
    for (int i = 0; i < nCount && p != nullptr && *p != L'\0'; ++i) {
        LPWSTR pEnd = nullptr;
        pValues[i] = MarkupNumber::Coord(p, &pEnd);
        if (pEnd == nullptr || *pEnd == L'\0') break;
        p = pEnd + 1;
    }
}

RECT CAttributeValueUI::ParseRect(LPCWSTR pstrValue)
{
    LONG v[4];
    ParseCoords(pstrValue, v, 4);
    RECT rc = { v[0], v[1], v[2], v[3] };
    return rc;
}

SIZE CAttributeValueUI::ParseSize(LPCWSTR pstrValue)
{
    LONG v[2];
    ParseCoords(pstrValue, v, 2);
    SIZE sz = { v[0], v[1] };
    return sz;
}

DWORD CAttributeValueUI::ParseColor(LPCWSTR pstrValue)
{
    if (*pstrValue == L'#') ++pstrValue;
    return static_cast<DWORD>(wcstoul(pstrValue, nullptr, 16));
}

UINT CAttributeValueUI::ApplyAlign(UINT uStyle, LPCWSTR pstrValue)
{
    if (wcsstr(pstrValue, L"left") != nullptr) uStyle &= ~(DT_CENTER | DT_RIGHT);
    if (wcsstr(pstrValue, L"center") != nullptr) uStyle = (uStyle & ~DT_RIGHT) | DT_CENTER;
    if (wcsstr(pstrValue, L"right") != nullptr) uStyle = (uStyle & ~DT_CENTER) | DT_RIGHT;
    return uStyle;
}

} // namespace UpdUI
