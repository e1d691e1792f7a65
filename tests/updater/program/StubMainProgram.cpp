// Stands in for lumora.exe in the updater's end-to-end tests: a window with
// the main program's "lumora" property that writes every system command it
// gets into "lumora_stub.log" beside itself. The quit request ends it; the
// tests end the stubs of their program folder. The time limit, far beyond any
// test's own, only keeps a stub left by a killed test run from staying for ever.
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

const UINT_PTR kLifetimeTimer = 1;
const UINT kLifetimeMs = 30 * 60 * 1000;
std::wstring g_logPath;

void AppendLog(const char* line)
{
    FILE* log = nullptr;
    if (_wfopen_s(&log, g_logPath.c_str(), L"ab") != 0 || !log) return;
    fprintf(log, "%s\n", line);
    fclose(log);
}

LRESULT CALLBACK StubWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_SYSCOMMAND) {
        char line[64];
        snprintf(line, sizeof(line), "syscommand %#x %#llx", static_cast<unsigned>(wParam & 0xFFF0),
                 static_cast<unsigned long long>(lParam));
        AppendLog(line);
        if ((wParam & 0xFFF0) == SC_CLOSE) {
            DestroyWindow(window);
            return 0;
        }
        return 0;
    }
    if (message == WM_TIMER && wParam == kLifetimeTimer) {
        DestroyWindow(window);
        return 0;
    }
    if (message == WM_DESTROY) {
        RemovePropW(window, L"lumora");
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int)
{
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    g_logPath = path;
    g_logPath = g_logPath.substr(0, g_logPath.rfind(L'\\') + 1) + L"lumora_stub.log";
    AppendLog("started");

    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = StubWindowProc;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = L"LumoraStubMain";
    RegisterClassW(&windowClass);
    HWND window = CreateWindowExW(0, windowClass.lpszClassName, L"Lumora stub", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100,
                                  nullptr, nullptr, instance, nullptr);
    if (!window) return 1;
    SetPropW(window, L"lumora", reinterpret_cast<HANDLE>(static_cast<INT_PTR>(1)));
    SetTimer(window, kLifetimeTimer, kLifetimeMs, nullptr);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    AppendLog("ended");
    return 0;
}
