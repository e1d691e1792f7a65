#include <gtest/gtest.h>

#include "ComboUI.h"
#include "ListUI.h"
#include "MenuUI.h"

namespace {

// The "itemalign" attribute as the list, the combo box and the menu read it: each word
// found moves the item text's horizontal alignment, the last one named winning, and
// every other style bit is kept.
struct ItemAlignCase
{
    UINT uBefore;
    const wchar_t* pstrValue;
    UINT uAfter;
};

const ItemAlignCase kItemAlignCases[] = {
    { DT_VCENTER, L"center", DT_VCENTER | DT_CENTER },
    { DT_VCENTER | DT_CENTER, L"right", DT_VCENTER | DT_RIGHT },
    { DT_VCENTER | DT_RIGHT, L"left", DT_VCENTER },
    { DT_VCENTER | DT_CENTER | DT_RIGHT, L"left", DT_VCENTER },
    { DT_SINGLELINE | DT_RIGHT, L"leftcenter", DT_SINGLELINE | DT_CENTER },
    { DT_VCENTER, L"center right", DT_VCENTER | DT_RIGHT },
    { DT_VCENTER | DT_RIGHT, L"middle", DT_VCENTER | DT_RIGHT },
};

template <class TOwner, class TInfo>
void ExpectItemAlign(TOwner& owner, TInfo* (TOwner::*pfnInfo)(), const char* pszOwner)
{
    for (const ItemAlignCase& c : kItemAlignCases) {
        (owner.*pfnInfo)()->uTextStyle = c.uBefore;
        owner.SetAttribute(L"itemalign", c.pstrValue);
        EXPECT_EQ((owner.*pfnInfo)()->uTextStyle, c.uAfter) << pszOwner << " itemalign=\"" << c.pstrValue << "\"";
    }
}

TEST(ItemAlign, ListComboAndMenuReadTheAttributeAlike)
{
    CListUI list;
    ExpectItemAlign<CListUI, TListInfoUI>(list, &CListUI::GetListInfo, "list");
    CComboUI combo;
    ExpectItemAlign<CComboUI, TListInfoUI>(combo, &CComboUI::GetListInfo, "combo");
    CMenuUI menu;
    ExpectItemAlign<CMenuUI, TMenuInfoUI>(menu, &CMenuUI::GetMenuInfo, "menu");
}

} // namespace
