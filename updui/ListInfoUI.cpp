#include "ListInfoUI.h"

#include <cstdlib>
#include <cwchar>

#include "AttributeValueUI.h"

namespace UpdUI {

namespace {

struct TColorAttrUI
{
    LPCWSTR pstrName;
    DWORD TListInfoUI::*pColor;
};

const TColorAttrUI kColorAttrs[] = {
    { L"itemtextcolor", &TListInfoUI::dwTextColor },
    { L"itembkcolor", &TListInfoUI::dwBkColor },
    { L"itemselectedtextcolor", &TListInfoUI::dwSelectedTextColor },
    { L"itemselectedbkcolor", &TListInfoUI::dwSelectedBkColor },
    { L"itemhottextcolor", &TListInfoUI::dwHotTextColor },
    { L"itemhotbkcolor", &TListInfoUI::dwHotBkColor },
    { L"itemdisabledtextcolor", &TListInfoUI::dwDisabledTextColor },
    { L"itemdisabledbkcolor", &TListInfoUI::dwDisabledBkColor },
    { L"itemlinecolor", &TListInfoUI::dwLineColor },
};

struct TImageAttrUI
{
    LPCWSTR pstrName;
    CStringUI TListInfoUI::*pImage;
};

const TImageAttrUI kImageAttrs[] = {
    { L"itembkimage", &TListInfoUI::sBkImage },
    { L"itemselectedimage", &TListInfoUI::sSelectedImage },
    { L"itemhotimage", &TListInfoUI::sHotImage },
    { L"itemdisabledimage", &TListInfoUI::sDisabledImage },
};

} // namespace

TListInfoUI::TListInfoUI()
    : nColumns(0), rcColumn(), nFont(-1), uTextStyle(DT_VCENTER), rcTextPadding(), dwTextColor(0xFF000000),
      dwBkColor(0), bAlternateBk(false), dwSelectedTextColor(0xFF000000), dwSelectedBkColor(0xFFC1E3FF),
      dwHotTextColor(0xFF000000), dwHotBkColor(0xFFE9F5FF), dwDisabledTextColor(0xFFCCCCCC),
      dwDisabledBkColor(0xFFFFFFFF), dwLineColor(0), bShowHtml(false), bMultiExpandable(false)
{ }

bool TListInfoUI::SetItemAttribute(LPCWSTR pstrName, LPCWSTR pstrValue, bool* pbLayout)
{
    *pbLayout = false;
    for (const TColorAttrUI& attr : kColorAttrs) {
        if (wcscmp(pstrName, attr.pstrName) != 0) continue;
        this->*attr.pColor = CAttributeValueUI::ParseColor(pstrValue);
        return true;
    }
    for (const TImageAttrUI& attr : kImageAttrs) {
        if (wcscmp(pstrName, attr.pstrName) != 0) continue;
        this->*attr.pImage = pstrValue;
        return true;
    }
    if (wcscmp(pstrName, L"itemfont") == 0) {
        nFont = static_cast<int>(wcstol(pstrValue, nullptr, 10));
    } else if (wcscmp(pstrName, L"itemalign") == 0) {
        uTextStyle = CAttributeValueUI::ApplyAlign(uTextStyle, pstrValue);
    } else if (wcscmp(pstrName, L"itemendellipsis") == 0) {
        if (CAttributeValueUI::IsTrue(pstrValue))
            uTextStyle |= DT_END_ELLIPSIS;
        else
            uTextStyle &= ~static_cast<UINT>(DT_END_ELLIPSIS);
    } else if (wcscmp(pstrName, L"itemtextpadding") == 0) {
        rcTextPadding = CAttributeValueUI::ParseRect(pstrValue);
        *pbLayout = true;
    } else if (wcscmp(pstrName, L"itemaltbk") == 0) {
        bAlternateBk = CAttributeValueUI::IsTrue(pstrValue);
    } else if (wcscmp(pstrName, L"itemshowhtml") == 0) {
        bool bShow = CAttributeValueUI::IsTrue(pstrValue);
        *pbLayout = bShow != bShowHtml;
        bShowHtml = bShow;
    } else {
        return false;
    }
    return true;
}

} // namespace UpdUI
