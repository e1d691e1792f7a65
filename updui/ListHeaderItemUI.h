#pragma once
#include <windows.h>

#include "ControlUI.h"

namespace UpdUI {

// One column of a list header: a pressable caption with a separator at one edge that
// the user drags to resize the column.
class CListHeaderItemUI : public CControlUI
{
public:
    enum { MIN_WIDTH = 16 };

    CListHeaderItemUI();
    ~CListHeaderItemUI() override;

    LPCWSTR GetControlClass() const override;
    LPVOID GetInterface(LPCWSTR pstrName) override;
    UINT GetControlFlags() const override;
    void SetEnabled(bool bEnable = true) override;
    void DoEvent(TEventRecUI& event) override;
    void SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue) override;
    SIZE EstimateSize(SIZE szAvailable) override;
    void PaintStatusImage(HDC hDC) override;
    void PaintText(HDC hDC) override;

    bool IsDragable() const;
    void SetDragable(bool bDragable);
    int GetSepWidth() const;
    void SetSepWidth(int iWidth);
    UINT GetState() const;
    // The separator, in window coordinates.
    RECT GetThumbRect() const;

private:
    RECT GetHitThumbRect() const;
    void OnPress(const TEventRecUI& event);
    void OnDrag(POINT pt);
    void NeedHeaderParentUpdate();

    UINT m_uButtonState;
    POINT m_ptLastMouse;
    bool m_bDragable;
    int m_iSepWidth;
    DWORD m_dwTextColor;
    int m_iFont;
    UINT m_uTextStyle;
    bool m_bShowHtml;
    RECT m_rcTextPadding;
    CStringUI m_sNormalImage;
    CStringUI m_sHotImage;
    CStringUI m_sPushedImage;
    CStringUI m_sFocusedImage;
    CStringUI m_sSepImage;
    CStringUI m_sSepImageModify;
};

} // namespace UpdUI
