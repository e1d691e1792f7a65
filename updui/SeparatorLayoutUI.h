#pragma once
#include <windows.h>

#include "ContainerUI.h"

namespace UpdUI {

// What the vertical and horizontal layouts share, written once for both axes (the
// layouts differ only where noted): the children stacked along the axis, those
// without an extent of their own sharing what the others leave; and the draggable
// separator, a strip along one edge of the layout (the far edge for a size > 0, the
// near edge for a size < 0) that the user drags to change the layout's height or width.
class CSeparatorLayoutUI : public CContainerUI
{
public:
    void SetPos(RECT rc) override;
    UINT GetControlFlags() const override;
    void DoEvent(TEventRecUI& event) override;
    void SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue) override;
    void DoPostPaint(HDC hDC, const RECT& rcPaint) override;

    bool IsSepImmediate() const;
    void SetSepImmediate(bool bImmediate);
    bool IsDragging() const;
    // The separator at the position, or at the position being dragged to.
    RECT GetThumbRect(bool bUseNew = false) const;

protected:
    // bVertical: the separator changes the height, along the top or bottom edge.
    explicit CSeparatorLayoutUI(bool bVertical);

    void OnSeparatorMove(POINT pt);
    void InvalidateSeparator(const RECT& rcOld);

    int m_iSepSize;
    UINT m_uButtonState;
    POINT m_ptLastMouse;
    RECT m_rcNewPos;
    bool m_bImmMode;

private:
    // The edges and limits along the axis the separator moves on.
    LONG& NearEdge(RECT& rc) const;
    LONG& FarEdge(RECT& rc) const;
    LONG Along(POINT pt) const;
    LONG& Along(SIZE& sz) const;
    LONG& Across(SIZE& sz) const;
    // A child's extent along or across the axis held to its limits.
    int ClampAlong(CControlUI* pControl, int n) const;
    int ClampAcross(CControlUI* pControl, int n) const;
    int MinExtent() const;
    int MaxExtent() const;
    void SetFixedExtent(int nExtent);
    bool ClampDragExtent(RECT& rc, int nOldExtent) const;

    const bool m_bVertical;
};

} // namespace UpdUI
