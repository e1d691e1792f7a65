#pragma once
#include <windows.h>

// Readers for markup attribute values: ARGB colours ("#" optional), integer lists
// with one separator character between values, and the "true" boolean.
//
// Numbers that reach GDI as coordinates, sizes, pen widths or font heights are held
// to ranges GDI handles at once: an overflowing value saturates to 2^31, and such a
// rectangle faults inside AlphaBlend; a pen millions of pixels wide makes one paint
// take seconds.
class CAttributeValueUI
{
public:
    enum : int {
        MaxCoordinate = 32767, // positions, sizes, paddings and radii: -Max..Max
        MaxBorderSize = 100,   // pen widths: 0..Max
        MaxFontSize = 500,     // font heights: -Max..Max
    };

    static DWORD ParseColor(LPCWSTR pstrValue);
    static bool ParseBool(LPCWSTR pstrValue);
    static int ParseInt(LPCWSTR pstrValue);
    // Every list in markup is geometry: up to nCount integers, each held to
    // -MaxCoordinate..MaxCoordinate; missing trailing values stay 0. Returns how
    // many were read.
    static int ParseInts(LPCWSTR pstrValue, int* pValues, int nCount);
    static RECT ParseRect(LPCWSTR pstrValue);
    static int ParseCoordinate(LPCWSTR pstrValue);
    static int ParseBorderSize(LPCWSTR pstrValue);
    static int ParseFontSize(LPCWSTR pstrValue);
    static int Clamp(int nValue, int nMin, int nMax);
};
