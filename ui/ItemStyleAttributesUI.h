#pragma once
#include <windows.h>

#include "ListOwnerUI.h"

// The "item…" colour and image attributes that a list and a combo box both read
// into their item style. Each owner repaints or relays out in its own way.
class CItemStyleAttributesUI
{
public:
    // Sets the colour when pstrName is one of "itemtextcolor" … "itemlinecolor".
    static bool SetColor(TListInfoUI& info, LPCWSTR pstrName, LPCWSTR pstrValue);
    // The image slot behind "itemimage", "itemselectedimage", "itemhotimage" or
    // "itemdisabledimage", or null.
    static CStringUI* FindImage(TListInfoUI& info, LPCWSTR pstrName);
};
