#pragma once
#include <windows.h>

// The "itemalign" attribute of lists, combo boxes and menus: the words "left", "center"
// and "right" found in the value set the horizontal alignment of the item text, in
// that order, so the last one named wins.
class CItemAlignUI
{
public:
    static UINT Apply(UINT uTextStyle, LPCWSTR pstrValue);
};
