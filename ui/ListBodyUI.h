#pragma once
#include "VerticalLayoutUI.h"

class CListUI;

// The scrolling part of a list that holds its items. Items are at least as wide as
// the columns; when the columns are wider than the body, it scrolls sideways and
// takes the header along.
class CListBodyUI : public CVerticalLayoutUI
{
public:
    explicit CListBodyUI(CListUI* pOwner);

    LPCWSTR GetControlClass() const override;
    void SetPos(RECT rc) override;
    void SetScrollPos(SIZE szPos) override;

private:
    // Width the items need: the columns' total when there are columns, else the widest item.
    int NeededWidth(SIZE szAvailable, int cxWidest) const;
    void UpdateHorizontalBar(RECT& rc, int cxNeeded);

    CListUI* m_pOwner;
};
