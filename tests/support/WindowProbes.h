#pragma once
#include <windows.h>

#include <vector>

// Looks at another process's windows from outside, as any program could, and
// gives it real mouse input.

RECT WindowRect(HWND wnd);
bool TopMost(HWND wnd);
// The work area (or the whole monitor) of the monitor the window is on.
RECT MonitorArea(HWND wnd, bool workArea);
// The window that holds the mouse capture on the window's thread, or null.
HWND CaptureOf(HWND wnd);

// The visible top-level windows of this class that the process shows.
std::vector<HWND> VisibleWindowsOf(DWORD processId, const wchar_t* className);
// The notice popups ("helpwnd") that the process shows.
std::vector<HWND> NoticePopups(DWORD processId);
// Whether the main window's tray icon (id 107) is there.
bool TrayIconPresent(HWND main);

// A real mouse event at a screen point (or only a button change there).
void MouseInput(DWORD flags, POINT screen);
// A real click of the left button at a screen point.
void ClickAt(POINT screen);
