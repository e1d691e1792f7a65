#include "AttributeValueUI.h"

#include <cwchar>

DWORD CAttributeValueUI::ParseColor(LPCWSTR pstrValue)
{
    if (pstrValue == nullptr) return 0;
    if (*pstrValue == L'#') pstrValue++;
    return static_cast<DWORD>(wcstoul(pstrValue, nullptr, 16));
}

bool CAttributeValueUI::ParseBool(LPCWSTR pstrValue)
{
    return pstrValue != nullptr && wcscmp(pstrValue, L"true") == 0;
}

int CAttributeValueUI::ParseInt(LPCWSTR pstrValue)
{
    if (pstrValue == nullptr) return 0;
    return static_cast<int>(wcstol(pstrValue, nullptr, 10));
}

// One separator character is skipped after each value, but never the terminator:
// a short list such as "1,2" must not read past the end of the text.
int CAttributeValueUI::ParseInts(LPCWSTR pstrValue, int* pValues, int nCount)
{
    for (int i = 0; i < nCount; i++) pValues[i] = 0;
    if (pstrValue == nullptr) return 0;
    LPCWSTR p = pstrValue;
    for (int i = 0; i < nCount; i++) {
        if (*p == L'\0') return i;
        LPWSTR pEnd = nullptr;
        pValues[i] = Clamp(static_cast<int>(wcstol(p, &pEnd, 10)), -MaxCoordinate, MaxCoordinate);
        p = pEnd;
        if (*p != L'\0') p++;
    }
    return nCount;
}

RECT CAttributeValueUI::ParseRect(LPCWSTR pstrValue)
{
    int v[4];
    ParseInts(pstrValue, v, 4);
    RECT rc = { v[0], v[1], v[2], v[3] };
    return rc;
}

int CAttributeValueUI::ParseCoordinate(LPCWSTR pstrValue)
{
    return Clamp(ParseInt(pstrValue), -MaxCoordinate, MaxCoordinate);
}

int CAttributeValueUI::ParseBorderSize(LPCWSTR pstrValue)
{
    return Clamp(ParseInt(pstrValue), 0, MaxBorderSize);
}

int CAttributeValueUI::ParseFontSize(LPCWSTR pstrValue)
{
    return Clamp(ParseInt(pstrValue), -MaxFontSize, MaxFontSize);
}

int CAttributeValueUI::Clamp(int nValue, int nMin, int nMax)
{
    return nValue < nMin ? nMin : (nValue > nMax ? nMax : nValue);
}
