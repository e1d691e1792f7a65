// The stand-in's renderer: one thread, as a renderer process's render thread,
// that owns the renderer side of every browser and the page channel.
#pragma once
#include <windows.h>

#include <map>
#include <thread>
#include <vector>

#include "PageChannel.h"
#include "RendererBrowser.h"
#include "TaskWindow.h"
#include "cef_render_process_handler.h"

namespace cef_stand_in {

class RendererThread
{
public:
    RendererThread() = default;
    RendererThread(const RendererThread&) = delete;
    RendererThread& operator=(const RendererThread&) = delete;
    ~RendererThread() { Stop(); }

    // Starts the thread and waits until it runs the handler's start-up
    // callbacks and takes tasks.
    bool Start(CefRefPtr<CefRenderProcessHandler> handler, CefRefPtr<CefListValue> extraInfo);
    void Stop();
    bool Post(Task task) { return tasks_.Post(std::move(task)); }

    // Renderer thread only.
    static RendererThread* Current();
    CefRefPtr<CefRenderProcessHandler> Handler() const { return handler_; }
    void AddBrowser(int id, bool popup);
    void RemoveBrowser(int id);
    // id 0: the browser with the lowest identifier.
    CefRefPtr<RendererBrowser> FindBrowser(int id) const;
    std::vector<CefRefPtr<RendererBrowser>> Browsers() const;
    // True on the renderer thread itself.
    bool OnThread() const { return threadId_ == GetCurrentThreadId(); }
    // The script contexts entered on this thread, innermost last. They belong
    // to the renderer, not to the thread's storage: the renderer lets go of
    // them before its browsers and documents go, so nothing the engine made
    // outlives the engine.
    void EnterContext(CefRefPtr<CefV8Context> context) { enteredContexts_.push_back(context); }
    // False when the context is not the innermost one.
    bool ExitContext(CefRefPtr<CefV8Context> context);
    CefRefPtr<CefV8Context> CurrentContext() const;

private:
    void Run(CefRefPtr<CefListValue> extraInfo);

    std::thread thread_;
    HANDLE ready_ = nullptr;
    bool started_ = false;
    TaskWindow tasks_;
    PageChannel channel_;
    CefRefPtr<CefRenderProcessHandler> handler_;
    std::map<int, CefRefPtr<RendererBrowser>> browsers_;
    DWORD threadId_ = 0;
    std::vector<CefRefPtr<CefV8Context>> enteredContexts_;
};

} // namespace cef_stand_in
