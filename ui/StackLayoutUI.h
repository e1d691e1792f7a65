#pragma once
#include <windows.h>

#include <functional>

#include "ContainerUI.h"

// The two passes every stacking layout makes over its children, along either axis:
// first what the fixed children need and how many stretch to share the rest, then
// each child placed after the one before it. What a child gets across the axis is
// the layout's own rule.
class CStackLayoutUI
{
public:
    struct TPlanUI
    {
        int nAdjustables;  // children that stretch along the axis
        int nFixed;        // what the others need along the axis, paddings and gaps included
        int nGaps;         // the gaps between the counted children
        int nExpand;       // each stretching child's share
        int nWidestAcross; // the largest estimate across the axis, within the child's limits
    };
    // The extent across the axis a child is given, from its padding.
    typedef std::function<int(CControlUI* pControl, const RECT& rcPadding)> AcrossRule;

    CStackLayoutUI(CContainerUI* pOwner, const CPtrArrayUI& items, bool bVertical, int iChildPadding);

    TPlanUI Plan(SIZE szAvailable) const;
    // Places the children from ptOrigin on; returns what they take along the axis,
    // paddings included and gaps not.
    int Place(const TPlanUI& plan, SIZE szAvailable, POINT ptOrigin, const AcrossRule& across) const;

private:
    int Along(SIZE sz) const;
    int Across(SIZE sz) const;
    int ClampAlong(const CControlUI* pControl, int n) const;
    int ClampAcross(const CControlUI* pControl, int n) const;

    CContainerUI* m_pOwner;
    const CPtrArrayUI& m_items;
    bool m_bVertical;
    int m_iChildPadding;
};
