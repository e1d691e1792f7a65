#pragma once
#include "LabelUI.h"

class CEditWnd;

// A single-line text field. Unfocused it paints like a label inside state images or a
// thin frame; focused it opens a native edit window (CEditWnd) over its text area,
// which copies every change back and closes when it loses the keyboard focus.
class CEditUI : public CLabelUI
{
    friend class CEditWnd;

public:
    enum { DEFAULT_MAX_CHAR = 255 };

    CEditUI();
    ~CEditUI() override;

    LPCWSTR GetControlClass() const override;
    LPVOID GetInterface(LPCWSTR pstrName) override;
    UINT GetControlFlags() const override;
    void SetText(LPCWSTR pstrText) override;
    void SetVisible(bool bVisible = true) override;
    void SetInternalVisible(bool bVisible = true) override;
    void SetEnabled(bool bEnable = true) override;
    void DoEvent(TEventRecUI& event) override;
    void SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue) override;
    SIZE EstimateSize(SIZE szAvailable) override;
    void PaintStatusImage(HDC hDC) override;
    void PaintText(HDC hDC) override;

    bool IsNumberOnly() const;
    void SetNumberOnly(bool bNumberOnly);
    bool IsReadOnly() const;
    void SetReadOnly(bool bReadOnly);
    bool IsPasswordMode() const;
    void SetPasswordMode(bool bPasswordMode);
    int GetMaxChar() const;
    wchar_t GetPasswordChar() const;
    UINT GetEditState() const;

    LPCWSTR GetNormalImage() const;
    void SetNormalImage(LPCWSTR pStrImage);
    LPCWSTR GetHotImage() const;
    void SetHotImage(LPCWSTR pStrImage);
    LPCWSTR GetFocusedImage() const;
    void SetFocusedImage(LPCWSTR pStrImage);
    LPCWSTR GetDisabledImage() const;
    void SetDisabledImage(LPCWSTR pStrImage);

private:
    HWND GetEditWindowHandle() const;
    void OpenEditWindow();
    // Taking the manager's focus away moves the keyboard focus off the native window,
    // which then closes itself.
    void CloseEditWindowByFocus();
    bool HandleMouseEvent(TEventRecUI& event);
    void SendButtonDownToWindow(const TEventRecUI& event);
    CStringUI* CurrentStateImage();
    CStringUI ShownText() const;

    CEditWnd* m_pWindow;
    bool m_bNumberOnly;
    int m_iMaxChar;
    bool m_bReadOnly;
    bool m_bPasswordMode;
    wchar_t m_cPasswordChar;
    UINT m_uEditState;
    CStringUI m_sNormalImage;
    CStringUI m_sHotImage;
    CStringUI m_sFocusedImage;
    CStringUI m_sDisabledImage;
};
