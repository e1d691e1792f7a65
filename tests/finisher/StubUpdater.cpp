// Stand-in for the updater's temporary copy: a hidden top-level window that
// carries the updater's window property.
//   (no argument)   WM_CLOSE ends the program with kClosedExitCode
//   ignore-close    WM_CLOSE is ignored; only termination ends it
#include <windows.h>

#include <cwchar>

namespace {

const int kClosedExitCode = 7;
bool g_ignoreClose = false;

LRESULT CALLBACK StubWndProc(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CLOSE:
        if (!g_ignoreClose) DestroyWindow(wnd);
        return 0;
    case WM_DESTROY:
        RemovePropW(wnd, L"lumoravid_UpdateDlg");
        PostQuitMessage(kClosedExitCode);
        return 0;
    }
    return DefWindowProcW(wnd, message, wParam, lParam);
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int)
{
    g_ignoreClose = wcsstr(commandLine, L"ignore-close") != nullptr;
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = StubWndProc;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = L"LumoraStubUpdater";
    if (!RegisterClassW(&windowClass)) return 1;
    HWND wnd = CreateWindowExW(0, windowClass.lpszClassName, L"Lumora升级程序", WS_POPUP, 0, 0, 100, 100, nullptr,
                               nullptr, instance, nullptr);
    if (!wnd) return 1;
    SetPropW(wnd, L"lumoravid_UpdateDlg", wnd);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}
