#pragma once
#include <windows.h>

namespace UpdUI {

// Ties one object to one native window: registers the window class (or a superclass of
// a system class), routes every message to HandleMessage, runs a modal loop and calls
// OnFinalMessage once the window is gone. The object may create another window later.
class CWindowWnd
{
public:
    CWindowWnd();
    virtual ~CWindowWnd() = default;
    CWindowWnd(const CWindowWnd&) = delete;
    CWindowWnd& operator=(const CWindowWnd&) = delete;

    HWND GetWindowHandle() const;
    operator HWND() const { return m_hWnd; }

    HWND Create(HWND hwndParent, LPCWSTR pstrName, DWORD dwStyle, DWORD dwExStyle, int x = CW_USEDEFAULT,
                int y = CW_USEDEFAULT, int cx = CW_USEDEFAULT, int cy = CW_USEDEFAULT, HMENU hMenu = nullptr);
    HWND CreateInRect(HWND hwndParent, LPCWSTR pstrName, DWORD dwStyle, DWORD dwExStyle, const RECT& rc,
                      HMENU hMenu = nullptr);
    void Unsubclass();
    void Show(bool bShow = true, bool bTakeFocus = true);
    UINT RunModalLoop();
    void CenterWindow();
    LRESULT SendWindowMessage(UINT uMsg, WPARAM wParam = 0, LPARAM lParam = 0);
    LRESULT PostWindowMessage(UINT uMsg, WPARAM wParam = 0, LPARAM lParam = 0);
    void Close(UINT nRet = IDOK);

protected:
    virtual LPCWSTR GetWindowClassName() const = 0;
    virtual LPCWSTR GetSuperClassName() const;
    virtual UINT GetClassStyle() const;
    virtual LRESULT HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam);
    virtual void OnFinalMessage(HWND hWnd);

    bool RegisterWindowClass();
    bool RegisterSuperclass();

    static LRESULT CALLBACK WindowProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK SuperclassProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);

    HWND m_hWnd;
    WNDPROC m_OldWndProc;
    bool m_bSubclassed;

private:
    static CWindowWnd* AttachOnCreate(HWND hWnd, LPARAM lParam);
    LRESULT FinishWindow(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam, bool bUsesProp);
};

} // namespace UpdUI
