// Stands in for the setup package in the updater's end-to-end tests. It
// writes its command line into "setup_stub.log" beside itself, then reports
// progress to the window named by " /updateDlg=" the way the real setup
// does: WM_COPYDATA carrying one 32-bit value. After each value it notes
// whether the wizard is still visible, so a test can see what each one did.
// With the argument /noreport it ends at once without reporting anything, as
// a setup that crashed would; with /hold it reports half way and then stays
// until the wizard is gone (at most 20 s), as a setup that stalls would.
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>

namespace {

std::wstring g_logPath;

void AppendLog(const std::string& line)
{
    FILE* log = nullptr;
    if (_wfopen_s(&log, g_logPath.c_str(), L"ab") != 0 || !log)
        return;
    fprintf(log, "%s\n", line.c_str());
    fclose(log);
}

std::string ToUtf8(const wchar_t* text)
{
    int size = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<size_t>(size > 0 ? size : 1), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, -1, &bytes[0], size, nullptr, nullptr);
    bytes.resize(bytes.size() - 1);
    return bytes;
}

HWND WizardFromArguments(const wchar_t* arguments)
{
    const wchar_t* at = wcsstr(arguments, L" /updateDlg=");
    if (!at)
        return nullptr;
    return reinterpret_cast<HWND>(static_cast<LONG_PTR>(_wcstoi64(at + wcslen(L" /updateDlg="), nullptr, 10)));
}

// The whole command line: wWinMain's view drops the blank the parameters
// may begin with.
const wchar_t* Parameters()
{
    const wchar_t* line = GetCommandLineW();
    if (*line == L'"') {
        const wchar_t* end = wcschr(line + 1, L'"');
        return end ? end + 1 : line;
    }
    const wchar_t* blank = wcschr(line, L' ');
    return blank ? blank : line + wcslen(line);
}

void Report(HWND wizard, DWORD value)
{
    COPYDATASTRUCT data = {};
    data.cbData = sizeof(value);
    data.lpData = &value;
    DWORD_PTR result = 0;
    SendMessageTimeoutW(wizard, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data), SMTO_NORMAL, 10000, &result);
    char line[64];
    snprintf(line, sizeof(line), "progress %lu visible %d", static_cast<unsigned long>(value),
             IsWindowVisible(wizard) ? 1 : 0);
    AppendLog(line);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int)
{
    const wchar_t* arguments = Parameters();
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    g_logPath = path;
    g_logPath = g_logPath.substr(0, g_logPath.rfind(L'\\') + 1) + L"setup_stub.log";
    AppendLog("arguments [" + ToUtf8(arguments) + "]");
    if (wcsstr(arguments, L"/noreport")) {
        AppendLog("ended without a report");
        return 3;
    }
    HWND wizard = WizardFromArguments(arguments);
    if (!wizard || !IsWindow(wizard)) {
        AppendLog("no wizard");
        return 0;
    }
    if (wcsstr(arguments, L"/hold")) {
        Report(wizard, 15000);
        for (int i = 0; i < 200 && IsWindow(wizard); ++i)
            Sleep(100);
        AppendLog("ended without completing");
        return 0;
    }
    for (DWORD value : {15000u, 30001u, 30000u})
        Report(wizard, value);
    AppendLog("ended");
    return 0;
}
