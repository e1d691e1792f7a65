#pragma once
#include <windows.h>

#include "ContainerUI.h"

namespace UpdUI {

// Places its children top to bottom; children without a fixed height share what the
// fixed ones leave. An optional separator along its own bottom (size > 0) or top
// (size < 0) edge lets the user drag the layout's height.
class CVerticalLayoutUI : public CContainerUI
{
public:
    CVerticalLayoutUI();

    LPCWSTR GetControlClass() const override;
    LPVOID GetInterface(LPCWSTR pstrName) override;
    UINT GetControlFlags() const override;
    void SetPos(RECT rc) override;
    void DoEvent(TEventRecUI& event) override;
    void SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue) override;
    void DoPostPaint(HDC hDC, const RECT& rcPaint) override;

    int GetSepHeight() const;
    void SetSepHeight(int iHeight);
    bool IsSepImmediate() const;
    void SetSepImmediate(bool bImmediate);
    bool IsDragging() const;
    // The separator at the position, or at the position being dragged to.
    RECT GetThumbRect(bool bUseNew = false) const;

protected:
    void OnSeparatorMove(POINT pt);
    void InvalidateSeparator(const RECT& rcOld);

    int m_iSepHeight;
    UINT m_uButtonState;
    POINT m_ptLastMouse;
    RECT m_rcNewPos;
    bool m_bImmMode;
};

} // namespace UpdUI
