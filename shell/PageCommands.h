#pragma once
#include <windows.h>

#include <cstddef>
#include <string>

#include "cef_process_message.h"

class CLumoraWnd;

// One command a portal page may send with app.sendMessage: the message name
// (compared exactly), the command, and the number and engine value types
// (VTYPE_BOOL, VTYPE_INT, VTYPE_STRING) of the arguments it requires.
struct ProcessMessageHandlerEntry
{
    static const int kMaxArguments = 8;

    const char* name;
    void (*handler)(CLumoraWnd& window);
    int argumentCount;
    int argumentTypes[kMaxArguments];
};

const size_t kPageCommandCount = 7;
// The commands pages may send, in the order they are looked up.
extern const ProcessMessageHandlerEntry ProcessMessageHandlerTable[kPageCommandCount];

// The page commands, run on the main window. Each reads its arguments from
// PendingCommandArguments, which the dispatcher has checked against the
// command's row before it runs.
class PageCommands
{
public:
    static const int kMiniWidth = 476;
    static const int kMiniHeight = 270;

    static void ShowPlayerWindow(CLumoraWnd& window);
    static void SetFullscreen(CLumoraWnd& window);
    static void SetMini(CLumoraWnd& window);
    static void SetWindowFront(CLumoraWnd& window);
    static void MovePlayerWindow(CLumoraWnd& window);
    static void HidePlayerWindow(CLumoraWnd& window);
    static void Notice(CLumoraWnd& window);

    // Runs the first row whose name, argument count and argument types match
    // PendingCommandArguments, then releases the list. Returns 0 when a command
    // ran; 2 when none did (the list is then kept until the next message).
    static int Dispatch(CLumoraWnd& window, const std::string& name, const ProcessMessageHandlerEntry* table,
                        size_t rows);

private:
    static bool Matches(const ProcessMessageHandlerEntry& row, const std::string& name);
    static bool WindowReady(const CLumoraWnd& window);
    static void SelectPlaying(CLumoraWnd& window);
    static void EnterFullScreen(CLumoraWnd& window);
    static void LeaveFullScreen(CLumoraWnd& window);
    static void EnterMini(CLumoraWnd& window);
    static void LeaveMini(CLumoraWnd& window);
    static void SaveState(HWND window, LONG_PTR& style, LONG_PTR& exStyle, RECT& rect);
    static void RestoreState(HWND window, LONG_PTR style, LONG_PTR exStyle, const RECT& rect, bool topMost);
    static bool LeftButtonDown();
};

// Takes a page's process message on the main window: keeps its argument list
// in PendingCommandArguments (dropping the one kept before) and runs the
// matching command of the table. Returns 0 when a command ran, 2 when none
// matched.
int DispatchPageCommand(CLumoraWnd& window, CefRefPtr<CefProcessMessage> message,
                        const ProcessMessageHandlerEntry* table = ProcessMessageHandlerTable,
                        size_t rows = kPageCommandCount);
