#pragma once
#include "ControlUI.h"

// One text with colours, font, alignment and padding, drawn plainly or as tagged
// rich text. Base of the button, the text control, the edit and the progress bar.
class CLabelUI : public CControlUI
{
public:
    CLabelUI();

    LPCWSTR GetControlClass() const override;
    LPVOID GetInterface(LPCWSTR pstrName) override;
    void DoEvent(TEventRecUI& event) override;
    void SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue) override;
    SIZE EstimateSize(SIZE szAvailable) override;
    void PaintText(HDC hDC) override;

    UINT GetTextStyle() const;
    void SetTextStyle(UINT uStyle);
    DWORD GetTextColor() const;
    void SetTextColor(DWORD dwTextColor);
    DWORD GetDisabledTextColor() const;
    void SetDisabledTextColor(DWORD dwTextColor);
    int GetFont() const;
    void SetFont(int iFont);
    RECT GetTextPadding() const;
    void SetTextPadding(RECT rc);
    bool IsShowHtml() const;
    void SetShowHtml(bool bShowHtml = true);

protected:
    // Text colours left at 0 take the manager's defaults at the first paint.
    void FillDefaultColors();
    RECT GetTextRect() const;
    // Height of the manager's default font, or -1 without a manager.
    int DefaultFontHeight() const;
    // Through the text's paint cache: drawn again only when the text or the pixels under it changed.
    void DrawLabelText(HDC hDC, RECT rc, DWORD dwColor, UINT uStyle);
    void DrawLabelTextDirectly(HDC hDC, RECT rc, DWORD dwColor, UINT uStyle);
    HFONT FontHandle() const;

    DWORD m_dwTextColor;
    DWORD m_dwDisabledTextColor;
    int m_iFont;
    UINT m_uTextStyle;
    RECT m_rcTextPadding;
    bool m_bShowHtml;
    CPaintResultCacheUI m_textCache;

private:
    void SetAlign(LPCWSTR pstrValue);
};
