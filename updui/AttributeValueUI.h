#pragma once
#include <windows.h>

namespace UpdUI {

// Readers for the value forms of the skin language, used wherever markup attributes
// are applied. Numbers in lists are geometry and are held by MarkupNumber::Coord.
class CAttributeValueUI
{
public:
    // Only the exact text "true" is true.
    static bool IsTrue(LPCWSTR pstrValue);
    // Up to four decimal numbers, one separator character skipped between them;
    // missing trailing values are 0.
    static RECT ParseRect(LPCWSTR pstrValue);
    // "cx,cy" read the same way.
    static SIZE ParseSize(LPCWSTR pstrValue);
    // Hexadecimal, with an optional leading '#'.
    static DWORD ParseColor(LPCWSTR pstrValue);
    // The horizontal text alignment words ("left", "center", "right") found anywhere
    // in the value, applied to a DT_ style in that order.
    static UINT ApplyAlign(UINT uStyle, LPCWSTR pstrValue);

private:
    static void ParseCoords(LPCWSTR pstrValue, LONG* pValues, int nCount);
};

} // namespace UpdUI
