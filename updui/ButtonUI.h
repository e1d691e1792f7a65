#pragma once
#include <windows.h>

#include "LabelUI.h"

namespace UpdUI {

// A label with state images and state text colours that sends "click" when pressed
// and released inside, on space or Enter, or by its shortcut.
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
    void RefreshStateBits();
    DWORD StateTextColor() const;
    void HandleMouseEvent(TEventRecUI& event);

    UINT m_uButtonState;
    CStringUI m_sNormalImage;
    CStringUI m_sHotImage;
    CStringUI m_sPushedImage;
    CStringUI m_sFocusedImage;
    CStringUI m_sDisabledImage;
    DWORD m_dwHotTextColor;
    DWORD m_dwPushedTextColor;
    DWORD m_dwFocusedTextColor;
};

} // namespace UpdUI
