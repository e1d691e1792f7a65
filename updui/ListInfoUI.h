#pragma once
#include <windows.h>

#include "StringUI.h"

namespace UpdUI {

enum { UILIST_MAX_COLUMNS = 32 };

// The style every row of one owner (a list or a combo box) is drawn in: the columns,
// the font, text style and padding, and a colour and image per row state.
struct TListInfoUI
{
    TListInfoUI();

    int nColumns;
    RECT rcColumn[UILIST_MAX_COLUMNS];
    int nFont;
    UINT uTextStyle;
    RECT rcTextPadding;
    DWORD dwTextColor;
    DWORD dwBkColor;
    CStringUI sBkImage;
    bool bAlternateBk;
    DWORD dwSelectedTextColor;
    DWORD dwSelectedBkColor;
    CStringUI sSelectedImage;
    DWORD dwHotTextColor;
    DWORD dwHotBkColor;
    CStringUI sHotImage;
    DWORD dwDisabledTextColor;
    DWORD dwDisabledBkColor;
    CStringUI sDisabledImage;
    DWORD dwLineColor;
    bool bShowHtml;
    bool bMultiExpandable;

    // The item attributes lists and combo boxes share ("itemfont", "itemalign", ...);
    // false for any other name. *pbLayout is set when the rows must be measured again.
    bool SetItemAttribute(LPCWSTR pstrName, LPCWSTR pstrValue, bool* pbLayout);
};

} // namespace UpdUI
