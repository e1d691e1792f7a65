// Entry of lumora.exe: the same executable is the browser process and every
// engine sub-process, so the engine gets control first.
#include <windows.h>
#include <objbase.h>
#include <ole2.h>

#include "AppPaths.h"
#include "CefClientApp.h"
#include "LumoraWnd.h"
#include "ProgramGlobals.h"
#include "SettingsStore.h"
#include "WindowManagerUI.h"
#include "atlbase.h"
#include "cef_app.h"

namespace {

const wchar_t kMainInstanceMutex[] = L"lumora";
const wchar_t kMainWindowProperty[] = L"lumora";
const wchar_t kCacheFolder[] = L"lumora_cookies_and_storge";
const wchar_t kFlashPlugin[] = L"plugins\\NPSWF32_12_0_0_77.dll";
const int kMainWidth = 1132;
const int kMainHeight = 750;
const int kExitEngineFailed = 1;
const int kExitNoCom = 2;

CComModule AtlModule;

void RegisterFlashPlugin()
{
    std::wstring dir = GetAppDirectory();
    if (dir.empty()) return;
    CefAddWebPluginPath(CefString(dir + kFlashPlugin));
    CefRefreshWebPlugins();
}

bool InitializeEngine(const CefMainArgs& args, CefRefPtr<CefApp> app)
{
    CefSettings settings;
    CefString(&settings.cache_path) = GetAppDirectory() + kCacheFolder;
    settings.persist_session_cookies = 1;
    bool ok = CefInitialize(args, settings, app);
    cef_string_clear(&settings.cache_path);
    return ok;
}

HWND FindRunningMainWindow()
{
    for (HWND wnd = GetWindow(GetDesktopWindow(), GW_CHILD); IsWindow(wnd); wnd = GetWindow(wnd, GW_HWNDNEXT)) {
        if (GetPropW(wnd, kMainWindowProperty)) return wnd;
    }
    return nullptr;
}

void BringBackRunningInstance()
{
    HWND wnd = FindRunningMainWindow();
    if (!wnd) return;
    if (IsIconic(wnd)) {
        SendMessageW(wnd, WM_SYSCOMMAND, SC_RESTORE, 0);
        SwitchToThisWindow(wnd, FALSE);
    } else {
        ShowWindow(wnd, SW_SHOW);
    }
}

// True when another instance already holds the mutex; ours then stays closed.
bool AnotherInstanceRuns()
{
    HANDLE mutex = CreateMutexW(nullptr, FALSE, kMainInstanceMutex);
    if (GetLastError() == ERROR_ALREADY_EXISTS) {
        if (mutex) CloseHandle(mutex);
        return true;
    }
    return false; // the handle stays open for the life of the process
}

void LoadSettings()
{
    GlobalSettings = new SettingsStore(SiblingPath(ModulePath, L"cfg.db"));
    GlobalSettings->Load();
    GlobalSettings->skincolor = 1; // every start shows the first scheme
}

// The engine closes its pages and stores what it keeps; then the process ends
// with the program's windows still up, and the system takes them away with it.
// Destroyed one by one they cost time the user waits for (under Wine without
// a window manager about two seconds for every window on the screen: the main
// window, each notice); their objects are never freed here, so no late
// message can reach one.
void EndAfterQuit()
{
    CefShutdown();
    ExitProcess(0);
}

// Returns only when the window could not be made; a quit ends the process.
void RunMainWindow(CLumoraWnd& mainWnd)
{
    HWND wnd = mainWnd.Create(nullptr, L"Lumora", 0x10CF0000, 0, 0, 0, kMainWidth, kMainHeight);
    if (!wnd) {
        CefShutdown();
        return;
    }
    mainWnd.CenterWindow();
    mainWnd.Show(true, true);
    CefRunMessageLoop();
    EndAfterQuit();
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int)
{
    CefMainArgs mainArgs(instance);
    CefRefPtr<CefApp> app(new CefClientApp);
    int exitCode = CefExecuteProcess(mainArgs, app);
    if (exitCode >= 0) return exitCode;

    bool engineReady = InitializeEngine(mainArgs, app);
    if (!engineReady) return kExitEngineFailed;
    RegisterFlashPlugin();
    app = nullptr;

    if (AnotherInstanceRuns()) {
        BringBackRunningInstance();
        CefShutdown();
        return 0;
    }

    OleInitialize(nullptr);
    AtlModule.Init(instance);
    CLumoraWnd mainWnd;
    CWindowManagerUI::SetInstance(instance);
    if (FAILED(CoInitialize(nullptr))) {
        CefShutdown();
        return kExitNoCom;
    }

    ModulePath = new wchar_t[MAX_PATH]();
    GetModuleFileNameW(nullptr, ModulePath, MAX_PATH);
    LoadSettings();
    RunMainWindow(mainWnd);
    CoUninitialize();
    AtlModule.Term();
    return 0;
}
