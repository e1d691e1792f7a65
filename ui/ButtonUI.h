#pragma once
#include "LabelUI.h"

// A label that reacts to the mouse: hot, pushed, focused and disabled looks from
// state images and text colours, and a click notification when released over itself.
class CButtonUI : public CLabelUI
{
public:
    CButtonUI();
    ~CButtonUI() override;

    LPCWSTR GetControlClass() const override;
    LPVOID GetInterface(LPCWSTR pstrName) override;
    UINT GetControlFlags() const override;
    bool Activate() override;
    void SetEnabled(bool bEnable = true) override;
    void DoEvent(TEventRecUI& event) override;
    void SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue) override;
    SIZE EstimateSize(SIZE szAvailable) override;
    void PaintStatusImage(HDC hDC) override;
    void PaintText(HDC hDC) override;

    UINT GetButtonState() const;
    LPCWSTR GetNormalImage() const;
    void SetNormalImage(LPCWSTR pStrImage);
    LPCWSTR GetHotImage() const;
    void SetHotImage(LPCWSTR pStrImage);
    LPCWSTR GetPushedImage() const;
    void SetPushedImage(LPCWSTR pStrImage);
    LPCWSTR GetFocusedImage() const;
    void SetFocusedImage(LPCWSTR pStrImage);
    LPCWSTR GetDisabledImage() const;
    void SetDisabledImage(LPCWSTR pStrImage);
    DWORD GetHotTextColor() const;
    void SetHotTextColor(DWORD dwColor);
    DWORD GetPushedTextColor() const;
    void SetPushedTextColor(DWORD dwColor);
    DWORD GetFocusedTextColor() const;
    void SetFocusedTextColor(DWORD dwColor);

protected:
    // Keeps the focused and disabled bits in step with the control's flags.
    void SyncPaintState();
    // Draws a non-empty description; one that fails is emptied and not tried again.
    CStringUI* CurrentStateImage();
    DWORD CurrentTextColor() const;

    UINT m_uButtonState;
    DWORD m_dwHotTextColor;
    DWORD m_dwPushedTextColor;
    DWORD m_dwFocusedTextColor;
    CStringUI m_sNormalImage;
    CStringUI m_sHotImage;
    CStringUI m_sPushedImage;
    CStringUI m_sFocusedImage;
    CStringUI m_sDisabledImage;
    CStringUI m_sForeStateImage; // drawn over the state images by options

private:
    bool HandleMouseEvent(TEventRecUI& event);
};
