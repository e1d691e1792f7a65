#pragma once
#include <windows.h>

#include "ContainerUI.h"

namespace UpdUI {

// Places its children left to right; children without a fixed width share what the
// fixed ones leave. An optional separator along its own right (size > 0) or left
// (size < 0) edge lets the user drag the layout's width.
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
    bool IsSepImmediate() const;
    void SetSepImmediate(bool bImmediate);
    bool IsDragging() const;
    // The separator at the position, or at the position being dragged to.
    RECT GetThumbRect(bool bUseNew = false) const;

protected:
    void OnSeparatorMove(POINT pt);
    void InvalidateSeparator(const RECT& rcOld);

    int m_iSepWidth;
    UINT m_uButtonState;
    POINT m_ptLastMouse;
    RECT m_rcNewPos;
    bool m_bImmMode;
};

} // namespace UpdUI
