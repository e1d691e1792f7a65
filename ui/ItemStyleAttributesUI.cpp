#include "ItemStyleAttributesUI.h"

#include <cwchar>

#include "AttributeValueUI.h"

namespace {

struct TItemColorUI
{
    LPCWSTR pstrName;
    DWORD TListInfoUI::*pColor;
};

const TItemColorUI kItemColors[] = {
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

struct TItemImageUI
{
    LPCWSTR pstrName;
    CStringUI TListInfoUI::*pImage;
};

const TItemImageUI kItemImages[] = {
    { L"itemimage", &TListInfoUI::sBkImage },
    { L"itemselectedimage", &TListInfoUI::sSelectedImage },
    { L"itemhotimage", &TListInfoUI::sHotImage },
    { L"itemdisabledimage", &TListInfoUI::sDisabledImage },
};

} // namespace

bool CItemStyleAttributesUI::SetColor(TListInfoUI& info, LPCWSTR pstrName, LPCWSTR pstrValue)
{
    for (const TItemColorUI& color : kItemColors) {
        if (wcscmp(pstrName, color.pstrName) != 0) continue;
        info.*color.pColor = CAttributeValueUI::ParseColor(pstrValue);
        return true;
    }
    return false;
}

CStringUI* CItemStyleAttributesUI::FindImage(TListInfoUI& info, LPCWSTR pstrName)
{
    for (const TItemImageUI& image : kItemImages) {
        if (wcscmp(pstrName, image.pstrName) == 0) return &(info.*image.pImage);
    }
    return nullptr;
}
