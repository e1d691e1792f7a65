#include "PageCommands.h"

#include "HelpWnd.h"
#include "LumoraWnd.h"
#include "OptionUI.h"
#include "ProgramGlobals.h"

const ProcessMessageHandlerEntry ProcessMessageHandlerTable[kPageCommandCount] = {
    { "showPlayerWindow", &PageCommands::ShowPlayerWindow, 0, {} },
    { "setFullscreen", &PageCommands::SetFullscreen, 1, { VTYPE_BOOL } },
    { "setMini", &PageCommands::SetMini, 1, { VTYPE_BOOL } },
    { "setWindowFront", &PageCommands::SetWindowFront, 1, { VTYPE_BOOL } },
    { "movePlayerWindow", &PageCommands::MovePlayerWindow, 2, { VTYPE_INT, VTYPE_INT } },
    { "hidePlayerWindow", &PageCommands::HidePlayerWindow, 0, {} },
    { "notice", &PageCommands::Notice, 2, { VTYPE_STRING, VTYPE_STRING } },
};

namespace {

// The monitor the window is on (the primary one when it is on none), whole
// or without the taskbar and other bars.
RECT MonitorAreaOf(HWND window, bool workArea)
{
    MONITORINFO info = {};
    info.cbSize = sizeof(info);
    if (!GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY), &info)) {
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &info.rcWork, 0);
        info.rcMonitor = info.rcWork;
    }
    return workArea ? info.rcWork : info.rcMonitor;
}

// The dispatcher checked the types, so a missing list only happens when a
// command is run on its own.
bool BoolArgument(size_t index)
{
    return PendingCommandArguments && PendingCommandArguments->GetBool(index);
}

std::wstring StringArgument(size_t index)
{
    return PendingCommandArguments ? PendingCommandArguments->GetString(index).ToWString() : std::wstring();
}

} // namespace

// ---------------------------------------------------------------------------
// Dispatch

int DispatchPageCommand(CLumoraWnd& window, CefRefPtr<CefProcessMessage> message,
                        const ProcessMessageHandlerEntry* table, size_t rows)
{
    if (!message) return 2;
    PendingCommandArguments = message->GetArgumentList();
    return PageCommands::Dispatch(window, message->GetName().ToString(), table, rows);
}

int PageCommands::Dispatch(CLumoraWnd& window, const std::string& name, const ProcessMessageHandlerEntry* table,
                           size_t rows)
{
    for (size_t i = 0; i < rows; ++i) {
        if (!Matches(table[i], name)) continue;
        table[i].handler(window);
        PendingCommandArguments = nullptr;
        return 0;
    }
    return 2;
}

bool PageCommands::Matches(const ProcessMessageHandlerEntry& row, const std::string& name)
{
    if (name != row.name) return false;
    if (row.argumentCount < 0 || row.argumentCount > ProcessMessageHandlerEntry::kMaxArguments) return false;
    size_t count = static_cast<size_t>(row.argumentCount);
    size_t size = PendingCommandArguments ? PendingCommandArguments->GetSize() : 0;
    if (size != count) return false;
    for (size_t i = 0; i < count; ++i) {
        if (PendingCommandArguments->GetType(i) != row.argumentTypes[i]) return false;
    }
    return true;
}

// ---------------------------------------------------------------------------
// Commands

bool PageCommands::WindowReady(const CLumoraWnd& window)
{
    return window.m_initialized && IsWindow(window.m_hWnd);
}

void PageCommands::ShowPlayerWindow(CLumoraWnd& window)
{
    if (WindowReady(window)) SelectPlaying(window);
}

void PageCommands::SelectPlaying(CLumoraWnd& window)
{
    window.m_controls.playing->Select(true);
}

void PageCommands::SetFullscreen(CLumoraWnd& window)
{
    if (!WindowReady(window)) return;
    if (BoolArgument(0))
        EnterFullScreen(window);
    else
        LeaveFullScreen(window);
}

// The geometry to come back to is saved only when full screen starts, so a
// repeated "on" cannot replace it with the full-screen one.
void PageCommands::EnterFullScreen(CLumoraWnd& window)
{
    HWND hwnd = window.m_hWnd;
    if (!window.m_fullScreen) SaveState(hwnd, window.m_savedStyle, window.m_savedExStyle, window.m_savedRect);
    window.m_fullScreen = true;
    RECT monitor = MonitorAreaOf(hwnd, false);
    // The window's frame goes with the bars (UpdateBars), so the page alone
    // covers the monitor, edge to edge.
    window.UpdateBars();
    SetWindowPos(hwnd, HWND_TOPMOST, monitor.left, monitor.top, monitor.right - monitor.left,
                 monitor.bottom - monitor.top, SWP_NOACTIVATE);
}

void PageCommands::LeaveFullScreen(CLumoraWnd& window)
{
    if (!window.m_fullScreen) return; // nothing saved to go back to
    window.m_fullScreen = false;
    // A pin from before full screen still holds.
    RestoreState(window.m_hWnd, window.m_savedStyle, window.m_savedExStyle, window.m_savedRect, window.KeepsOnTop());
    window.ShowPinButtons();
    window.UpdateBars();
}

void PageCommands::SetMini(CLumoraWnd& window)
{
    if (!WindowReady(window)) return;
    if (BoolArgument(0))
        EnterMini(window);
    else
        LeaveMini(window);
}

void PageCommands::EnterMini(CLumoraWnd& window)
{
    HWND hwnd = window.m_hWnd;
    if (!window.m_mini) SaveState(hwnd, window.m_savedMiniStyle, window.m_savedMiniExStyle, window.m_savedMiniRect);
    // Set first: the smaller minimum track size must hold when the window shrinks.
    window.m_mini = true;
    SelectPlaying(window);
    RECT work = MonitorAreaOf(hwnd, true);
    int x = work.left + (work.right - work.left - kMiniWidth) / 2;
    int y = work.top + (work.bottom - work.top - kMiniHeight) / 2;
    if (x < work.left) x = work.left;
    if (y < work.top) y = work.top;
    MoveWindow(hwnd, x, y, kMiniWidth, kMiniHeight, FALSE);
    window.UpdateBars();
}

void PageCommands::LeaveMini(CLumoraWnd& window)
{
    if (!window.m_mini) return; // nothing saved to go back to
    window.m_mini = false;
    RestoreState(window.m_hWnd, window.m_savedMiniStyle, window.m_savedMiniExStyle, window.m_savedMiniRect,
                 window.KeepsOnTop());
    window.ShowPinButtons();
    window.UpdateBars();
}

void PageCommands::SaveState(HWND window, LONG_PTR& style, LONG_PTR& exStyle, RECT& rect)
{
    style = GetWindowLongPtrW(window, GWL_STYLE);
    exStyle = GetWindowLongPtrW(window, GWL_EXSTYLE);
    GetWindowRect(window, &rect);
}

// Stay-on-top is a place in the z-order, which only SetWindowPos changes:
// written into the extended style it would leave the flag and the z-order
// disagreeing, and later SetWindowPos calls would not take.
void PageCommands::RestoreState(HWND window, LONG_PTR style, LONG_PTR exStyle, const RECT& rect, bool topMost)
{
    SetWindowLongPtrW(window, GWL_STYLE, style);
    LONG_PTR topMostNow = GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TOPMOST;
    SetWindowLongPtrW(window, GWL_EXSTYLE, (exStyle & ~static_cast<LONG_PTR>(WS_EX_TOPMOST)) | topMostNow);
    SetWindowPos(window, topMost ? HWND_TOPMOST : HWND_NOTOPMOST, rect.left, rect.top, rect.right - rect.left,
                 rect.bottom - rect.top, SWP_SHOWWINDOW);
}

void PageCommands::SetWindowFront(CLumoraWnd& window)
{
    if (!WindowReady(window)) return;
    bool on = BoolArgument(0);
    window.SetStayOnTop(on, on ? 0 : SWP_SHOWWINDOW);
}

// The page asks from its mouse-down handler. The drag only starts while the
// button is still held, so a late or scripted call cannot leave the window
// glued to the pointer; the two numbers are not used.
void PageCommands::MovePlayerWindow(CLumoraWnd& window)
{
    if (!WindowReady(window) || window.m_fullScreen || !LeftButtonDown()) return;
    SetCapture(window.m_hWnd);
    window.m_dragging = true;
    window.m_dragFirstMove = true;
    GetWindowRect(window.m_hWnd, &window.m_dragRect);
}

// The button as this thread's messages have seen it: the page's mouse-down
// came through a window of this thread, and the drag ends on the matching
// WM_LBUTTONUP. Swapped buttons are already taken into account.
bool PageCommands::LeftButtonDown()
{
    return GetKeyState(VK_LBUTTON) < 0;
}

void PageCommands::HidePlayerWindow(CLumoraWnd& window)
{
    if (WindowReady(window)) SendMessageW(window.m_hWnd, WM_SYSCOMMAND, SC_MINIMIZE, 0);
}

void PageCommands::Notice(CLumoraWnd& window)
{
    if (!WindowReady(window)) return;
    window.m_notices.Show(StringArgument(0), StringArgument(1));
}
