// The reference for the start-to-paint benchmark: the least a Win32 program does to
// show a painted window of the main window's size, built and started the way
// lumora.exe is. It paints one colour and waits to be ended.
#include <windows.h>

namespace {

const int kWidth = 1132;
const int kHeight = 750;

LRESULT CALLBACK BareWndProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    switch (uMsg) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC hDC = BeginPaint(hWnd, &ps);
        SetBkColor(hDC, RGB(0x2B, 0x57, 0x97));
        ExtTextOutW(hDC, 0, 0, ETO_OPAQUE, &ps.rcPaint, nullptr, 0, nullptr);
        EndPaint(hWnd, &ps);
        return 0;
    }
    case WM_DESTROY: PostQuitMessage(0); return 0;
    default: return DefWindowProcW(hWnd, uMsg, wParam, lParam);
    }
}

} // namespace

int WINAPI wWinMain(HINSTANCE hInstance, HINSTANCE, LPWSTR, int)
{
    WNDCLASSW wc = {};
    wc.lpfnWndProc = BareWndProc;
    wc.hInstance = hInstance;
    wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));
    wc.lpszClassName = L"LumoraBareWnd";
    if (!RegisterClassW(&wc)) return 1;
    const int x = (GetSystemMetrics(SM_CXSCREEN) - kWidth) / 2;
    const int y = (GetSystemMetrics(SM_CYSCREEN) - kHeight) / 2;
    HWND hWnd = CreateWindowExW(0, wc.lpszClassName, L"Bare", WS_POPUP | WS_CLIPCHILDREN, x, y, kWidth, kHeight,
                                nullptr, nullptr, hInstance, nullptr);
    if (hWnd == nullptr) return 2;
    ShowWindow(hWnd, SW_SHOW);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}
