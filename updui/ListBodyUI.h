#pragma once
#include <windows.h>

#include "VerticalLayoutUI.h"

namespace UpdUI {

class CListUI;

// The scrolling part of a list that holds the rows: rows are at least as wide as the
// header's columns, and horizontal scrolling moves the header along.
class CListBodyUI : public CVerticalLayoutUI
{
public:
    explicit CListBodyUI(CListUI* pOwner);

    void SetPos(RECT rc) override;
    void DoEvent(TEventRecUI& event) override;
    void SetScrollPos(SIZE szPos) override;

private:
    int NeededWidth(SIZE szAvailable, int cxWidest) const;
    void UpdateHorizontalBar(RECT& rc, int cxNeeded);

    CListUI* m_pOwner;
};

} // namespace UpdUI
