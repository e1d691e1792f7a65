// Stand-in for the engine's browser-process callbacks.
#pragma once
#include "cef_command_line.h"
#include "cef_values.h"

class CefBrowserProcessHandler : public virtual CefBaseRefCounted
{
public:
    // On the thread that initialised the engine, once the engine is up.
    virtual void OnContextInitialized() { }
    virtual void OnBeforeChildProcessLaunch(CefRefPtr<CefCommandLine> command_line) { }
    // Before a renderer starts; extra_info reaches its OnRenderThreadCreated.
    virtual void OnRenderProcessThreadCreated(CefRefPtr<CefListValue> extra_info) { }
};
