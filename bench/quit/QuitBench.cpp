// Quit benchmark: the time from the main menu's exit command to the process gone
// (and to the window gone from the screen), for lumora.exe alone and with its
// settings dialog open, beside the bare window program closed the same way as the
// reference. Prints medians and ratios; asserts nothing.
//   quit_bench.exe <rounds> <lumora.exe> <bare_window.exe>
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

const DWORD kLimitMs = 30000;
const WPARAM kExitCommand = 105;        // the main menu's "退出"
const WPARAM kSettingsCommand = 0x8009; // the main menu's settings
const wchar_t kSettingsTitle[] = L"软件设置";

struct TFind
{
    DWORD processId;
    const wchar_t* title; // null: the main window (a visible one at least 400 wide)
    HWND found;
};

BOOL CALLBACK FindWindowOf(HWND hWnd, LPARAM lParam)
{
    TFind* find = reinterpret_cast<TFind*>(lParam);
    DWORD processId = 0;
    GetWindowThreadProcessId(hWnd, &processId);
    if (processId != find->processId || !IsWindowVisible(hWnd)) return TRUE;
    if (find->title) {
        wchar_t title[32] = {};
        GetWindowTextW(hWnd, title, 32);
        if (wcscmp(title, find->title) != 0) return TRUE;
    } else {
        RECT rc = {};
        GetWindowRect(hWnd, &rc);
        if (rc.right - rc.left < 400 || GetUpdateRect(hWnd, nullptr, FALSE)) return TRUE;
    }
    find->found = hWnd;
    return FALSE;
}

HWND WaitForWindow(DWORD processId, const wchar_t* title)
{
    for (DWORD start = GetTickCount(); GetTickCount() - start < kLimitMs; Sleep(5)) {
        TFind find = { processId, title, nullptr };
        EnumWindows(FindWindowOf, reinterpret_cast<LPARAM>(&find));
        if (find.found) return find.found;
    }
    return nullptr;
}

std::wstring FolderOf(const std::wstring& path)
{
    const size_t n = path.find_last_of(L"\\/");
    return n == std::wstring::npos ? std::wstring(L".") : path.substr(0, n);
}

struct TQuit
{
    double windowGoneMs = -1;
    double processGoneMs = -1;
};

double Ms(const LARGE_INTEGER& from, const LARGE_INTEGER& to, const LARGE_INTEGER& frequency)
{
    return 1000.0 * static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// One run: start, wait for the painted window (and the dialog), quit, time it.
TQuit RunOnce(const std::wstring& program, bool lumora, bool withSettings)
{
    TQuit result;
    std::wstring commandLine = L"\"" + program + L"\"";
    STARTUPINFOW si = { sizeof(si) };
    PROCESS_INFORMATION pi = {};
    std::wstring folder = FolderOf(program);
    if (!CreateProcessW(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &si, &pi))
        return result;
    HWND main = WaitForWindow(pi.dwProcessId, nullptr);
    if (main && withSettings) {
        PostMessageW(main, WM_COMMAND, kSettingsCommand, 0);
        if (!WaitForWindow(pi.dwProcessId, kSettingsTitle)) main = nullptr;
    }
    if (main) {
        Sleep(500); // let start-up work (the browsers' pages) settle first
        LARGE_INTEGER frequency, start, now;
        QueryPerformanceFrequency(&frequency);
        QueryPerformanceCounter(&start);
        PostMessageW(main, lumora ? WM_COMMAND : WM_CLOSE, lumora ? kExitCommand : 0, 0);
        for (;;) {
            QueryPerformanceCounter(&now);
            if (result.windowGoneMs < 0 && (!IsWindow(main) || !IsWindowVisible(main)))
                result.windowGoneMs = Ms(start, now, frequency);
            if (WaitForSingleObject(pi.hProcess, 1) == WAIT_OBJECT_0) {
                QueryPerformanceCounter(&now);
                result.processGoneMs = Ms(start, now, frequency);
                if (result.windowGoneMs < 0) result.windowGoneMs = result.processGoneMs;
                break;
            }
            if (Ms(start, now, frequency) > kLimitMs) break;
        }
    }
    if (WaitForSingleObject(pi.hProcess, 0) != WAIT_OBJECT_0) TerminateProcess(pi.hProcess, 1);
    WaitForSingleObject(pi.hProcess, 5000);
    CloseHandle(pi.hProcess);
    CloseHandle(pi.hThread);
    return result;
}

double Median(std::vector<double> values)
{
    if (values.empty()) return -1;
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc < 4) {
        std::fprintf(stderr, "usage: quit_bench <rounds> <lumora.exe> <bare_window.exe>\n");
        return 2;
    }
    const int rounds = std::max(1, _wtoi(argv[1]));
    struct TCase
    {
        const char* name;
        const wchar_t* program;
        bool lumora;
        bool settings;
        std::vector<double> window, process;
    } cases[] = {
        { "bare window (reference)", argv[3], false, false, {}, {} },
        { "lumora.exe", argv[2], true, false, {}, {} },
        { "lumora.exe, settings open", argv[2], true, true, {}, {} },
    };
    for (int round = 0; round < rounds; ++round) {
        for (TCase& c : cases) {
            TQuit quit = RunOnce(c.program, c.lumora, c.settings);
            if (quit.processGoneMs < 0) {
                std::printf("%s: round %d did not quit\n", c.name, round + 1);
                continue;
            }
            c.window.push_back(quit.windowGoneMs);
            c.process.push_back(quit.processGoneMs);
        }
    }
    const double reference = Median(cases[0].process);
    for (const TCase& c : cases) {
        const double process = Median(c.process);
        std::printf("%-28s window gone %7.1f ms  process gone %7.1f ms  (%.1fx the reference)  [%zu runs]\n", c.name,
                    Median(c.window), process, reference > 0 ? process / reference : 0.0, c.process.size());
    }
    return 0;
}
