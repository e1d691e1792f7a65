#pragma once
#include <windows.h>

// Readers for markup attribute values: ARGB colours ("#" optional), integer lists
// with one separator character between values, and the "true" boolean.
class CAttributeValueUI
{
public:
    static DWORD ParseColor(LPCWSTR pstrValue);
    static bool ParseBool(LPCWSTR pstrValue);
    static int ParseInt(LPCWSTR pstrValue);
    // Reads up to nCount integers; missing trailing values stay 0. Returns how many were read.
    static int ParseInts(LPCWSTR pstrValue, int* pValues, int nCount);
    static RECT ParseRect(LPCWSTR pstrValue);
};
