#pragma once
#include <windows.h>

// Base of every native window of the UI library: registers its class (or a superclass
// of a system class), routes the window's messages to HandleMessage and calls
// OnFinalMessage once the window is gone. The object never owns the window's lifetime.
class CWindowWnd
{
public:
    CWindowWnd();
    virtual ~CWindowWnd() = default;

    HWND GetWindowHandle() const;

    HWND Create(HWND hwndParent, LPCWSTR pstrName, DWORD dwStyle, DWORD dwExStyle, int x = CW_USEDEFAULT,
                int y = CW_USEDEFAULT, int cx = CW_USEDEFAULT, int cy = CW_USEDEFAULT, HMENU hMenu = nullptr);
    HWND CreateInRect(HWND hwndParent, LPCWSTR pstrName, DWORD dwStyle, DWORD dwExStyle, RECT rc,
                      HMENU hMenu = nullptr);
    void Show(bool bShow = true, bool bTakeFocus = true);
    bool RunModalLoop();
    void CenterWindow();
    LRESULT SendWindowMessage(UINT uMsg, WPARAM wParam = 0, LPARAM lParam = 0);
    bool PostWindowMessage(UINT uMsg, WPARAM wParam = 0, LPARAM lParam = 0);
    void MoveWindow(int x, int y, int cx, int cy, bool bRepaint = true);
    void Close();

protected:
    virtual LPCWSTR GetWindowClassName() const = 0;
    virtual LPCWSTR GetSuperClassName() const;
    virtual UINT GetClassStyle() const;
    virtual LRESULT HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam);
    virtual void OnFinalMessage(HWND hWnd);

    bool RegisterWindowClass();
    bool RegisterSuperclass();

    static LRESULT CALLBACK StaticWindowProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK StaticSubclassProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);

    HWND m_hWnd;
    WNDPROC m_OldWndProc;

private:
    static bool IsDroppedOwnerMessage(const MSG& msg, HWND hWndOwner);
    static LRESULT FinishWindow(CWindowWnd* pThis, HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);
};
