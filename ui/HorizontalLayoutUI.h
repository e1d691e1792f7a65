#pragma once
#include "ContainerUI.h"

// Places its visible children left to right; children of width 0 share what the fixed
// ones leave. An optional separator at the left or right edge ("sepwidth", negative
// for the left) lets the user drag the layout's own width, either live ("sepimm") or
// with a shaded preview that is applied on release.
class CHorizontalLayoutUI : public CContainerUI
{
public:
    CHorizontalLayoutUI();

    LPCWSTR GetControlClass() const override;
    LPVOID GetInterface(LPCWSTR pstrName) override;
    UINT GetControlFlags() const override;
    void SetPos(RECT rc) override;
    void DoEvent(TEventRecUI& event) override;
    void SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue) override;
    void DoPostPaint(HDC hDC, const RECT& rcPaint) override;

    int GetSepWidth() const;
    void SetSepWidth(int iWidth);
    bool IsSepImmMode() const;
    void SetSepImmMode(bool bImmediately);
    bool IsDragging() const;
    RECT GetThumbRect(bool bUseNew = false) const;

private:
    bool OnSeparatorButtonDown(const TEventRecUI& event);
    bool OnSeparatorButtonUp();
    bool OnSeparatorMouseMove(const TEventRecUI& event);
    bool OnSeparatorSetCursor(const TEventRecUI& event);
    bool MoveSeparatorEdge(RECT& rc, int dx, int x) const;
    bool ApplyWidthLimits(RECT& rc) const;

    int m_iSepWidth;
    UINT m_uButtonState;
    POINT m_ptLastMouse;
    RECT m_rcNewPos;
    bool m_bImmMode;
};
