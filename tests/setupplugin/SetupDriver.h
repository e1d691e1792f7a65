#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

// Drives the real installer and uninstaller as a user does: starts them, finds
// their skinned windows, clicks at points of the window with real mouse input
// and reads back what the screen shows there.
class CSetupDriver
{
public:
    static constexpr DWORD kWindowWaitMs = 20000;
    static constexpr DWORD kStateWaitMs = 20000;

    CSetupDriver() = default;
    ~CSetupDriver();
    CSetupDriver(const CSetupDriver&) = delete;
    CSetupDriver& operator=(const CSetupDriver&) = delete;

    // Starts the command line; false when it cannot start.
    bool Start(const std::wstring& commandLine);
    // Waits for the started process (or the one owning the window found last)
    // to end; its exit code, or -1 on timeout.
    DWORD WaitForExit(DWORD timeoutMs);
    bool HasExited() const;
    DWORD ProcessId() const;

    // Waits for a visible top-level skinned window with this title; null on timeout.
    // The window's process becomes the one waited for (the uninstaller runs
    // from a copy of itself).
    HWND WaitForWindow(LPCWSTR pstrTitle, DWORD timeoutMs = kWindowWaitMs);
    HWND Window() const { return m_hWnd; }

    // A real click at a point of the window's client area.
    void Click(int x, int y) const;
    void PressKey(WORD vk) const;
    // The pixels the screen shows over a rectangle of the window's client area, row by row.
    std::vector<COLORREF> Capture(const RECT& rcClient) const;
    // The colour the screen shows at a point of the window.
    COLORREF PixelAt(int x, int y) const;
    bool WaitForColor(int x, int y, COLORREF color, DWORD timeoutMs = kStateWaitMs) const;

    // The close prompt the window owns, waited for; then a click on its button.
    HWND WaitForPrompt(DWORD timeoutMs = kWindowWaitMs) const;
    void AnswerPrompt(HWND hPrompt, int buttonId) const;

    // With LUMORA_SETUP_SHOTS set, the screen is saved there as <name>.bmp.
    void Shot(LPCWSTR pstrName) const;

    static bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs);
    static bool ColorNear(COLORREF a, COLORREF b);

private:
    void ClickScreen(POINT pt) const;
    void Release();

    HANDLE m_hProcess = nullptr;
    HWND m_hWnd = nullptr;
};
