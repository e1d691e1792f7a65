#include "WindowProbes.h"

#include <shellapi.h>

#include <cwchar>

RECT WindowRect(HWND wnd)
{
    RECT rc = {};
    GetWindowRect(wnd, &rc);
    return rc;
}

bool TopMost(HWND wnd)
{
    return (GetWindowLongPtrW(wnd, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
}

RECT MonitorArea(HWND wnd, bool workArea)
{
    MONITORINFO info = {};
    info.cbSize = sizeof(info);
    GetMonitorInfoW(MonitorFromWindow(wnd, MONITOR_DEFAULTTOPRIMARY), &info);
    return workArea ? info.rcWork : info.rcMonitor;
}

HWND CaptureOf(HWND wnd)
{
    GUITHREADINFO info = {};
    info.cbSize = sizeof(info);
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(wnd, nullptr), &info)) return nullptr;
    return info.hwndCapture;
}

std::vector<HWND> VisibleWindowsOf(DWORD processId, const wchar_t* className)
{
    std::vector<HWND> windows;
    for (HWND wnd = GetWindow(GetDesktopWindow(), GW_CHILD); IsWindow(wnd); wnd = GetWindow(wnd, GW_HWNDNEXT)) {
        DWORD owner = 0;
        GetWindowThreadProcessId(wnd, &owner);
        wchar_t name[32] = {};
        GetClassNameW(wnd, name, 32);
        if (owner == processId && wcscmp(name, className) == 0 && IsWindowVisible(wnd)) windows.push_back(wnd);
    }
    return windows;
}

std::vector<HWND> NoticePopups(DWORD processId)
{
    return VisibleWindowsOf(processId, L"helpwnd");
}

bool TrayIconPresent(HWND main)
{
    NOTIFYICONDATAW data = {};
    data.cbSize = sizeof(data);
    data.hWnd = main;
    data.uID = 107;
    return Shell_NotifyIconW(NIM_MODIFY, &data) != FALSE;
}

namespace {

INPUT MouseAt(DWORD flags, POINT screen)
{
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dx = MulDiv(screen.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
    input.mi.dy = MulDiv(screen.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
    input.mi.dwFlags = flags | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    return input;
}

} // namespace

void MouseInput(DWORD flags, POINT screen)
{
    INPUT input = MouseAt(flags, screen);
    SendInput(1, &input, sizeof(input));
}

void ClickAt(POINT screen)
{
    INPUT input[2] = { MouseAt(MOUSEEVENTF_LEFTDOWN, screen), MouseAt(MOUSEEVENTF_LEFTUP, screen) };
    SendInput(2, input, sizeof(INPUT));
}
