// Start-to-paint benchmark: the time from CreateProcess to the first painted main
// window, for lumora.exe and for the bare window program beside it, started in turns
// the same way under the same Wine. A window counts as painted once it is visible,
// at least main-window sized, and has no update region left (its WM_PAINT ran).
// Prints medians and their ratio; asserts nothing.
//   startpaint_bench.exe <rounds> <lumora.exe> <bare_window.exe>
// With STARTPAINT_TRACE set, each run's times to the shown and to the painted window.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <string>

#include "../skin/BenchSamples.h"

namespace {

const DWORD kStartLimitMs = 30000;
const int kMinSide = 400;
// lumora.exe quits (not to the tray) on SC_CLOSE with this; the bare window closes on any.
const LPARAM kQuitRequest = 0x800;
// Under Wine a program started within about two seconds of lumora.exe's quit waits that
// long for its window, whichever program it is; it matches the two seconds the shell takes
// to hide its stand-alone notification area once the tray icon is gone. Each
// start is preceded by this pause so one program's quit is not charged to the other's
// start; the wait itself is measured on its own line.
const DWORD kSettleMs = 3000;

struct TFindWindow
{
    DWORD dwProcessId;
    HWND hWnd;   // the painted main window
    HWND hShown; // a visible main-window-sized one, painted or not
};

BOOL CALLBACK FindPaintedWindow(HWND hWnd, LPARAM lParam)
{
    TFindWindow* pFind = reinterpret_cast<TFindWindow*>(lParam);
    DWORD dwProcessId = 0;
    GetWindowThreadProcessId(hWnd, &dwProcessId);
    if (dwProcessId != pFind->dwProcessId || !IsWindowVisible(hWnd)) return TRUE;
    RECT rc = {};
    GetWindowRect(hWnd, &rc);
    if (rc.right - rc.left < kMinSide || rc.bottom - rc.top < kMinSide) return TRUE;
    pFind->hShown = hWnd;
    if (GetUpdateRect(hWnd, nullptr, FALSE)) return TRUE;
    pFind->hWnd = hWnd;
    return FALSE;
}

std::wstring FolderOf(const std::wstring& path)
{
    const size_t n = path.find_last_of(L"\\/");
    return n == std::wstring::npos ? std::wstring(L".") : path.substr(0, n);
}

// Ends every process of the job (the program and whatever it started) and waits until
// they are gone, so nothing of one run is left to slow the next one down.
void EndJob(HANDLE hJob)
{
    TerminateJobObject(hJob, 0);
    const double start = CBenchSamples::Now();
    JOBOBJECT_BASIC_ACCOUNTING_INFORMATION info = {};
    while (CBenchSamples::Now() - start < kStartLimitMs / 1000.0 &&
           QueryInformationJobObject(hJob, JobObjectBasicAccountingInformation, &info, sizeof(info), nullptr) &&
           info.ActiveProcesses > 0)
        SwitchToThread();
}

// Seconds from CreateProcess to the painted main window; negative when it never came.
// The program runs in a job of its own, so the processes it starts end with it.
double TimeStartToPaint(const std::wstring& exe)
{
    std::wstring commandLine = L"\"" + exe + L"\"";
    std::wstring folder = FolderOf(exe);
    STARTUPINFOW si = { sizeof(si) };
    PROCESS_INFORMATION pi = {};
    HANDLE hJob = CreateJobObjectW(nullptr, nullptr);
    if (hJob == nullptr) return -1.0;
    const double start = CBenchSamples::Now();
    if (!CreateProcessW(exe.c_str(), &commandLine[0], nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr,
                        folder.c_str(), &si, &pi)) {
        CloseHandle(hJob);
        return -1.0;
    }
    AssignProcessToJobObject(hJob, pi.hProcess);
    ResumeThread(pi.hThread);
    double seconds = -1.0;
    TFindWindow find = { pi.dwProcessId, nullptr, nullptr };
    double shown = -1.0;
    while (CBenchSamples::Now() - start < kStartLimitMs / 1000.0) {
        EnumWindows(FindPaintedWindow, reinterpret_cast<LPARAM>(&find));
        if (find.hShown != nullptr && shown < 0.0) shown = CBenchSamples::Now() - start;
        if (find.hWnd != nullptr) {
            seconds = CBenchSamples::Now() - start;
            break;
        }
        if (WaitForSingleObject(pi.hProcess, 0) == WAIT_OBJECT_0) break; // ended before it showed a window
        SwitchToThread();
    }
    if (getenv("STARTPAINT_TRACE"))
        printf("  %ls: shown %.1f ms, painted %.1f ms\n", exe.c_str(), shown * 1000.0, seconds * 1000.0);
    // Closed the way a user quits, since a killed program leaves its windows and tray
    // icon for Wine to clean up while the next program starts; then nothing may be left.
    if (find.hWnd != nullptr) PostMessageW(find.hWnd, WM_SYSCOMMAND, SC_CLOSE, kQuitRequest);
    WaitForSingleObject(pi.hProcess, kStartLimitMs);
    EndJob(hJob);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    CloseHandle(hJob);
    return seconds;
}

bool Measure(const std::wstring& exe, CBenchSamples& samples, bool bSettle = true)
{
    if (bSettle) Sleep(kSettleMs);
    const double seconds = TimeStartToPaint(exe);
    if (seconds < 0.0) {
        printf("%ls showed no painted window within %lu ms\n", exe.c_str(), kStartLimitMs);
        return false;
    }
    samples.Add(seconds);
    return true;
}

void PrintLine(const char* pstrWhat, const CBenchSamples& samples)
{
    printf("%s: median %.1f ms (min %.1f ms, %d runs)\n", pstrWhat, samples.Median() * 1000.0, samples.Min() * 1000.0,
           samples.Count());
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc != 4) {
        printf("usage: startpaint_bench.exe <rounds> <lumora.exe> <bare_window.exe>\n");
        return 2;
    }
    const int nRounds = _wtoi(argv[1]);
    CBenchSamples lumora, bare;
    // Both are started once before timing, so neither pays for a cold file cache.
    if (!Measure(argv[2], lumora) || !Measure(argv[3], bare)) return 1;
    lumora = CBenchSamples();
    bare = CBenchSamples();
    for (int i = 0; i < nRounds; i++) {
        if (!Measure(argv[2], lumora) || !Measure(argv[3], bare)) return 1;
    }
    CBenchSamples first, againUnsettled;
    if (!Measure(argv[2], first) || !Measure(argv[2], againUnsettled, false)) return 1;
    PrintLine("lumora.exe, start to painted main window", lumora);
    PrintLine("bare window program, start to painted window", bare);
    PrintLine("lumora.exe started again at once after it quit", againUnsettled);
    if (bare.Median() > 0.0)
        printf("ratio lumora.exe start to paint / bare window: %.2f (goal 1.5)\n", lumora.Median() / bare.Median());
    return 0;
}
