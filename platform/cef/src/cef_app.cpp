// Process-level part of the engine stand-in: sub-process detection, start-up
// with the API hash check, the UI thread's message loop and shut down.
#include "cef_app.h"
#include "cef_version.h"

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

struct EngineState {
  CefRefPtr<CefApp> app;
  bool initialized = false;
  std::wstring cachePath;
  std::vector<std::wstring> pluginPaths;
};

EngineState& Engine() {
  static EngineState state;
  return state;
}

bool ApiHashMatches() {
  return std::strcmp(cef_api_hash(0), CEF_API_HASH_PLATFORM) == 0;
}

bool IsSubProcessCommandLine(const wchar_t* commandLine) {
  return commandLine && std::wcsstr(commandLine, L"--type=") != nullptr;
}

}  // namespace

extern "C" const char* cef_api_hash(int entry) {
  // A library from another release reports another hash. Tests emulate that
  // with LUMORA_CEF_LIBRARY_HASH, as a mismatched libcef beside the program would.
  static char overrideHash[64];
  DWORD n = GetEnvironmentVariableA("LUMORA_CEF_LIBRARY_HASH", overrideHash, sizeof(overrideHash));
  if (n > 0 && n < sizeof(overrideHash)) return overrideHash;
  return CEF_API_HASH_PLATFORM;
}

int CefExecuteProcess(const CefMainArgs& args, CefRefPtr<CefApp> application) {
  if (!ApiHashMatches()) return 1;
  if (!IsSubProcessCommandLine(GetCommandLineW())) return -1;
  // A sub-process of this stand-in has no work of its own: the page side runs
  // inside the browser process. It ends at once with success.
  return 0;
}

bool CefInitialize(const CefMainArgs& args, const CefSettings& settings, CefRefPtr<CefApp> application) {
  EngineState& engine = Engine();
  if (engine.initialized || !ApiHashMatches()) return false;
  if (settings.size != sizeof(cef_settings_t)) return false;
  if (settings.cache_path.str && settings.cache_path.length) {
    engine.cachePath.assign(settings.cache_path.str, settings.cache_path.length);
    CreateDirectoryW(engine.cachePath.c_str(), nullptr);
  }
  engine.app = application;
  engine.initialized = true;
  return true;
}

void CefRunMessageLoop() {
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

void CefQuitMessageLoop() { PostQuitMessage(0); }

void CefShutdown() {
  EngineState& engine = Engine();
  engine.app = nullptr;
  engine.pluginPaths.clear();
  engine.initialized = false;
}

void CefAddWebPluginPath(const CefString& path) { Engine().pluginPaths.push_back(path.ToWString()); }

void CefRefreshWebPlugins() {}
