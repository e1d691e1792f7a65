#pragma once
#include <windows.h>

#include "TextFieldUI.h"

namespace UpdUI {

class CEditWnd;

// A single-line text field drawn like a label. While it has the focus a native edit
// window (CEditWnd) lies over its text area and does the typing; the control keeps the
// text and reports "textchanged" on every change and "return" on Enter.
class CEditUI : public CTextFieldUI
{
    friend class CEditWnd;

public:
    CEditUI();
    ~CEditUI() override;

    LPCWSTR GetControlClass() const override;
    LPVOID GetInterface(LPCWSTR pstrName) override;
    UINT GetControlFlags() const override;
    void SetText(LPCWSTR pstrText) override;
    void SetPos(RECT rc) override;
    void SetVisible(bool bVisible = true) override;
    void SetInternalVisible(bool bVisible = true) override;
    void SetEnabled(bool bEnable = true) override;
    void DoEvent(TEventRecUI& event) override;
    void SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue) override;
    SIZE EstimateSize(SIZE szAvailable) override;
    void PaintStatusImage(HDC hDC) override;
    void PaintText(HDC hDC) override;

    UINT GetMaxChar() const;
    void SetMaxChar(UINT uMax);
    bool IsReadOnly() const;
    void SetReadOnly(bool bReadOnly);
    bool IsNumberOnly() const;
    void SetNumberOnly(bool bNumberOnly);
    bool IsPasswordMode() const;
    void SetPasswordMode(bool bPasswordMode);
    wchar_t GetPasswordChar() const;
    void SetPasswordChar(wchar_t chPasswordChar);
    DWORD GetNativeEditBkColor() const;
    void SetNativeEditBkColor(DWORD dwBkColor);
    // Style bits the native window gets on top of its own (ES_NUMBER).
    LONG GetWindowStyles() const;

    LPCWSTR GetNormalImage() const;
    void SetNormalImage(LPCWSTR pStrImage);
    LPCWSTR GetHotImage() const;
    void SetHotImage(LPCWSTR pStrImage);
    LPCWSTR GetFocusedImage() const;
    void SetFocusedImage(LPCWSTR pStrImage);
    LPCWSTR GetDisabledImage() const;
    void SetDisabledImage(LPCWSTR pStrImage);

    // The text area the native window covers: the position less the text padding,
    // narrowed to one line of the font, centred, when the font is lower than that.
    RECT GetEditRect() const;

protected:
    void OpenWindow();
    void SelectAllInWindow();
    void RefreshStateBits();
    // The text as painted: the password character once per character in password mode.
    CStringUI GetShownText() const;

    CEditWnd* m_pWindow;
    UINT m_uMaxChar;
    bool m_bReadOnly;
    bool m_bPasswordMode;
    wchar_t m_cPasswordChar;
    UINT m_uButtonState;
    CStringUI m_sNormalImage;
    CStringUI m_sHotImage;
    CStringUI m_sFocusedImage;
    CStringUI m_sDisabledImage;
    DWORD m_dwEditBkColor;
    LONG m_lWindowStyles;
};

} // namespace UpdUI
