#pragma once
#include <windows.h>

// The horizontal part of an alignment value: "itemalign" of lists, combo boxes and
// menus, "align" of labels and list header items. The words "left", "center" and
// "right" found in the value set the horizontal alignment of the text, in that
// order, so the last one named wins.
class CItemAlignUI
{
public:
    static UINT Apply(UINT uTextStyle, LPCWSTR pstrValue);
};
