#pragma once
#include "ControlUI.h"

// One column header of a list: a clickable caption whose separator edge can be
// dragged to resize the column.
class CListHeaderItemUI : public CControlUI
{
public:
    CListHeaderItemUI();

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
    UINT GetButtonState() const;
    // The separator's rectangle in window coordinates.
    RECT GetThumbRect() const;

private:
    bool OnButtonDown(const TEventRecUI& event);
    bool OnMouseMove(const TEventRecUI& event);
    bool OnButtonUp();
    bool OnSetCursor(const TEventRecUI& event);
    void SetAlign(LPCWSTR pstrValue);
    bool SetImageAttribute(LPCWSTR pstrName, LPCWSTR pstrValue);
    int DefaultFontHeight() const;

    POINT m_ptLastMouse;
    bool m_bDragable;
    UINT m_uButtonState;
    int m_iSepWidth;
    DWORD m_dwTextColor;
    int m_iFont;
    UINT m_uTextStyle;
    bool m_bShowHtml;
    CStringUI m_sNormalImage;
    CStringUI m_sHotImage;
    CStringUI m_sPushedImage;
    CStringUI m_sFocusedImage;
    CStringUI m_sSepImage;
    CStringUI m_sSepImageModify;
};
