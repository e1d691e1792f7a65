#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "NsisPluginApi.h"

// The installer's string stack as the installer itself lays it out.
class CFakeNsisStack
{
public:
    static constexpr int kStringSize = 1024;

    CFakeNsisStack() = default;
    ~CFakeNsisStack();
    CFakeNsisStack(const CFakeNsisStack&) = delete;
    CFakeNsisStack& operator=(const CFakeNsisStack&) = delete;

    void Push(const std::wstring& text);
    // The top text; an empty stack gives "<empty>".
    std::wstring Pop();
    size_t Size() const;
    void Clear();
    TNsisStackEntry** Top();

private:
    TNsisStackEntry* m_top = nullptr;
};

// What the installer's extra parameters saw.
struct TFakeInstallerCalls
{
    std::vector<int> executedAddresses;
    // The stack's top text at the moment each script function ran.
    std::vector<std::wstring> stackTopAtExecute;
    HMODULE registeredModule = nullptr;
    NsisPluginCallback registeredCallback = nullptr;
    int registrations = 0;
};

// An installer's extra parameters whose services record their calls; the
// script function it "runs" reads the stack the way a script's Pop would.
class CFakeExtraParameters
{
public:
    explicit CFakeExtraParameters(CFakeNsisStack& stack);
    ~CFakeExtraParameters();

    TNsisExtraParameters* Get();
    TFakeInstallerCalls& Calls();

private:
    static int WINAPI ExecuteCodeSegment(int address, HWND hwndProgress);
    static int WINAPI RegisterPluginCallback(HMODULE hModule, NsisPluginCallback callback);

    TNsisExtraParameters m_extra;
    TFakeInstallerCalls m_calls;
    CFakeNsisStack& m_stack;
    static CFakeExtraParameters* s_current;
};

// The installer's window as the plug-in meets it: Next (1) and Cancel (2)
// buttons, both disabled, and an inner page dialog with the progress bar
// (0..30000) and the detail list. It records the commands it receives.
class CFakeInstallerWindow
{
public:
    CFakeInstallerWindow();
    ~CFakeInstallerWindow();

    HWND Handle() const { return m_hWnd; }
    HWND Page() const { return m_hPage; }
    HWND ProgressBar() const { return m_hProgress; }
    HWND DetailList() const { return m_hList; }
    HWND Button(int id) const { return ::GetDlgItem(m_hWnd, id); }
    // The WM_COMMAND ids received, in order.
    const std::vector<int>& Commands() const { return m_commands; }
    int CountCommand(int id) const;

private:
    static LRESULT CALLBACK WindowProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);

    HWND m_hWnd = nullptr;
    HWND m_hPage = nullptr;
    HWND m_hProgress = nullptr;
    HWND m_hList = nullptr;
    std::vector<int> m_commands;
};

// Posts a left click at the client point to the window.
void PostClick(HWND hWnd, POINT pt);
// Dispatches what is queued for this thread without waiting.
void PumpMessages();
// Centre of a control's rectangle.
POINT CenterOf(const RECT& rc);
