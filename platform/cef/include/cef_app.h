// Stand-in for the engine's process-level interface.
#pragma once
#include "cef_base.h"
#include "cef_browser_process_handler.h"
#include "cef_command_line.h"
#include "cef_render_process_handler.h"

class CefMainArgs
{
public:
    CefMainArgs() : instance(nullptr) { }
    explicit CefMainArgs(HINSTANCE inst) : instance(inst) { }
    HINSTANCE instance;
};

// The settings block handed to CefInitialize; its size is part of the ABI.
typedef struct _cef_settings_t
{
    size_t size;
    int single_process;
    int no_sandbox;
    cef_string_t browser_subprocess_path;
    int multi_threaded_message_loop;
    int windowless_rendering_enabled;
    int command_line_args_disabled;
    cef_string_t cache_path;
    int persist_session_cookies;
    cef_string_t user_agent;
    cef_string_t product_version;
    cef_string_t locale;
    cef_string_t log_file;
    int log_severity;
    cef_string_t javascript_flags;
    cef_string_t resources_dir_path;
    cef_string_t locales_dir_path;
    int pack_loading_disabled;
    int remote_debugging_port;
    int uncaught_exception_stack_size;
} cef_settings_t;
static_assert(sizeof(void*) != 4 || sizeof(cef_settings_t) == 152, "settings block size");

class CefSettings : public cef_settings_t
{
public:
    CefSettings()
    {
        ZeroMemory(static_cast<cef_settings_t*>(this), sizeof(cef_settings_t));
        size = sizeof(cef_settings_t);
    }
};

class CefApp : public virtual CefBaseRefCounted
{
public:
    virtual void OnBeforeCommandLineProcessing(const CefString& process_type, CefRefPtr<CefCommandLine> command_line) {
    }
    virtual CefRefPtr<CefBrowserProcessHandler> GetBrowserProcessHandler() { return nullptr; }
    virtual CefRefPtr<CefRenderProcessHandler> GetRenderProcessHandler() { return nullptr; }
};

// Returns -1 in the browser process; in a sub-process (a "--type=" switch on the
// command line) it runs that process and returns its exit code. A library whose
// API hash differs from the headers' refuses to run: it returns 1.
int CefExecuteProcess(const CefMainArgs& args, CefRefPtr<CefApp> application);
bool CefInitialize(const CefMainArgs& args, const CefSettings& settings, CefRefPtr<CefApp> application);
void CefRunMessageLoop();
void CefQuitMessageLoop();
void CefShutdown();
void CefAddWebPluginPath(const CefString& path);
void CefRefreshWebPlugins();
