#pragma once
#include "UILib.h"

// A read-only, multi-line text view hosted as a native edit window inside a
// skinned window: the licence text. The native window is created on the first
// placement or visibility change and follows the control's position.
class CMyEdit : public CControlUI
{
public:
    CMyEdit();
    ~CMyEdit() override;

    void SetText(LPCWSTR pstrText) override;
    void SetPos(RECT rc) override;
    void SetVisible(bool bVisible = true) override;
    void SetInternalVisible(bool bVisible = true) override;

    HWND GetEditWindowHandle() const;

private:
    // Superclasses the system edit class and paints itself on white.
    class CEditWindow : public CWindowWnd
    {
    public:
        void MoveWindowToRect(const RECT& rc, bool bRepaint);

    protected:
        LPCWSTR GetWindowClassName() const override;
        LPCWSTR GetSuperClassName() const override;
        LRESULT HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) override;
    };

    void CreateEditWindowOnce();

    CEditWindow m_window;
};
