// Stands in for a running main program: a top-level window marked "lumora" that
// writes down the quit request it receives and then keeps running, so only a
// termination ends it. Given "hung " before the log's path, its window never
// answers at all.
#include <windows.h>

#include <cstdio>
#include <cwchar>

namespace {

const wchar_t* g_logPath = nullptr;

LRESULT CALLBACK StubProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    if (uMsg == WM_SYSCOMMAND && (wParam & 0xFFF0) == SC_CLOSE) {
        FILE* f = _wfopen(g_logPath, L"a");
        if (f != nullptr) {
            fprintf(f, "%X %llX\n", static_cast<unsigned>(wParam), static_cast<unsigned long long>(lParam));
            fclose(f);
        }
        return 0;
    }
    return ::DefWindowProcW(hWnd, uMsg, wParam, lParam);
}

} // namespace

int WINAPI wWinMain(HINSTANCE hInstance, HINSTANCE, LPWSTR pstrCmdLine, int)
{
    const bool bHung = wcsncmp(pstrCmdLine, L"hung ", 5) == 0;
    g_logPath = bHung ? pstrCmdLine + 5 : pstrCmdLine;
    WNDCLASSW wc = {};
    wc.lpfnWndProc = StubProc;
    wc.hInstance = hInstance;
    wc.lpszClassName = L"LumoraStubMain";
    ::RegisterClassW(&wc);
    HWND hWnd = ::CreateWindowExW(0, wc.lpszClassName, L"Lumora", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr,
                                  hInstance, nullptr);
    ::SetPropW(hWnd, L"lumora", reinterpret_cast<HANDLE>(1));
    if (bHung) ::Sleep(INFINITE);
    MSG msg = {};
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) ::DispatchMessageW(&msg);
    return 0;
}
