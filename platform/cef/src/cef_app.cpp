// Process-level part of the engine stand-in: sub-process detection, start-up
// with the API hash check, the UI thread's message loop and shut down.
#include "cef_app.h"
#include "cef_version.h"

#include "BrowserImpl.h"
#include "EngineInternal.h"
#include "RendererThread.h"
#include "TaskWindow.h"

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

struct EngineState
{
    CefRefPtr<CefApp> app;
    bool initialized = false;
    cef_stand_in::TaskWindow uiTasks;
    cef_stand_in::RendererThread renderer;
    bool rendererStarted = false;
    std::wstring cachePath;
    std::vector<std::wstring> pluginPaths;
};

EngineState& Engine()
{
    static EngineState state;
    return state;
}

bool ApiHashMatches()
{
    return std::strcmp(cef_api_hash(0), CEF_API_HASH_PLATFORM) == 0;
}

bool IsSubProcessCommandLine(const wchar_t* commandLine)
{
    return commandLine && std::wcsstr(commandLine, L"--type=") != nullptr;
}

} // namespace

extern "C" const char* cef_api_hash(int entry)
{
    // A library from another release reports another hash. Tests emulate that
    // with LUMORA_CEF_LIBRARY_HASH, as a mismatched libcef beside the program would.
    static char overrideHash[64];
    DWORD n = GetEnvironmentVariableA("LUMORA_CEF_LIBRARY_HASH", overrideHash, sizeof(overrideHash));
    if (n > 0 && n < sizeof(overrideHash)) return overrideHash;
    return CEF_API_HASH_PLATFORM;
}

int CefExecuteProcess(const CefMainArgs& args, CefRefPtr<CefApp> application)
{
    if (!ApiHashMatches()) return 1;
    if (!IsSubProcessCommandLine(GetCommandLineW())) return -1;
    // A sub-process of this stand-in has no work of its own: the page side runs
    // inside the browser process. It ends at once with success.
    return 0;
}

bool CefInitialize(const CefMainArgs& args, const CefSettings& settings, CefRefPtr<CefApp> application)
{
    EngineState& engine = Engine();
    if (engine.initialized || !ApiHashMatches()) return false;
    if (settings.size != sizeof(cef_settings_t)) return false;
    if (settings.cache_path.str && settings.cache_path.length) {
        engine.cachePath.assign(settings.cache_path.str, settings.cache_path.length);
        CreateDirectoryW(engine.cachePath.c_str(), nullptr);
    }
    if (!engine.uiTasks.Create()) return false;
    engine.app = application;
    engine.initialized = true;
    if (application) {
        CefRefPtr<CefCommandLine> commandLine = CefCommandLine::CreateCommandLine();
        commandLine->InitFromString(GetCommandLineW());
        application->OnBeforeCommandLineProcessing(CefString(), commandLine);
        if (CefRefPtr<CefBrowserProcessHandler> handler = application->GetBrowserProcessHandler())
            handler->OnContextInitialized();
    }
    return true;
}

void CefRunMessageLoop()
{
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

void CefQuitMessageLoop()
{
    PostQuitMessage(0);
}

void CefShutdown()
{
    EngineState& engine = Engine();
    if (!engine.initialized) return;
    cef_stand_in::BrowserImpl::CloseAll();
    engine.renderer.Stop();
    engine.rendererStarted = false;
    cef_stand_in::ClearExtensions();
    engine.uiTasks.Destroy();
    engine.app = nullptr;
    engine.pluginPaths.clear();
    engine.initialized = false;
}

void CefAddWebPluginPath(const CefString& path)
{
    Engine().pluginPaths.push_back(path.ToWString());
}

void CefRefreshWebPlugins() { }

namespace cef_stand_in {

bool PostToUi(Task task)
{
    return Engine().uiTasks.Post(std::move(task));
}

bool PostToRenderer(Task task)
{
    return Engine().renderer.Post(std::move(task));
}

CefRefPtr<CefApp> Application()
{
    return Engine().app;
}

bool EnsureRenderer()
{
    EngineState& engine = Engine();
    if (engine.rendererStarted) return true;
    if (!engine.initialized) return false;
    CefRefPtr<CefRenderProcessHandler> renderHandler;
    CefRefPtr<CefListValue> extraInfo = CefListValue::Create();
    if (engine.app) {
        renderHandler = engine.app->GetRenderProcessHandler();
        if (CefRefPtr<CefBrowserProcessHandler> handler = engine.app->GetBrowserProcessHandler())
            handler->OnRenderProcessThreadCreated(extraInfo);
    }
    engine.rendererStarted = engine.renderer.Start(renderHandler, extraInfo->Copy());
    return engine.rendererStarted;
}

} // namespace cef_stand_in

bool CefBrowserHost::CreateBrowser(const CefWindowInfo& windowInfo, CefRefPtr<CefClient> client, const CefString& url,
                                   const CefBrowserSettings& settings)
{
    if (!Engine().initialized) return false;
    std::wstring address = url.ToWString();
    return cef_stand_in::PostToUi(
        [windowInfo, client, address] { cef_stand_in::BrowserImpl::Create(windowInfo, client, address, false); });
}
