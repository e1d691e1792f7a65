#include "RendererThread.h"

namespace cef_stand_in {

namespace {
RendererThread* runningRenderer = nullptr;
}

RendererThread* RendererThread::Current()
{
    return runningRenderer;
}

bool RendererThread::Start(CefRefPtr<CefRenderProcessHandler> handler, CefRefPtr<CefListValue> extraInfo)
{
    if (started_) return true;
    handler_ = handler;
    ready_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    if (!ready_) return false;
    runningRenderer = this;
    thread_ = std::thread(&RendererThread::Run, this, extraInfo);
    WaitForSingleObject(ready_, INFINITE);
    started_ = true;
    return true;
}

void RendererThread::Stop()
{
    if (thread_.joinable()) {
        if (!tasks_.Post([] { PostQuitMessage(0); })) {
            // The thread could not make its task window; it has already ended.
        }
        thread_.join();
    }
    if (ready_) CloseHandle(ready_);
    ready_ = nullptr;
    started_ = false;
    threadId_ = 0;
    if (runningRenderer == this) runningRenderer = nullptr;
    handler_ = nullptr;
}

void RendererThread::Run(CefRefPtr<CefListValue> extraInfo)
{
    threadId_ = GetCurrentThreadId();
    bool ok = tasks_.Create();
    channel_.Create();
    if (ok && handler_) {
        handler_->OnRenderThreadCreated(extraInfo);
        handler_->OnWebKitInitialized();
    }
    SetEvent(ready_);
    if (!ok) return;
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    enteredContexts_.clear();
    for (auto& entry : browsers_) entry.second->DropDocument();
    browsers_.clear();
    channel_.Destroy();
    tasks_.Destroy();
}

void RendererThread::AddBrowser(int id, bool popup)
{
    CefRefPtr<RendererBrowser> browser = new RendererBrowser(id, popup);
    browsers_[id] = browser;
    if (handler_) handler_->OnBrowserCreated(browser.get());
}

void RendererThread::RemoveBrowser(int id)
{
    auto it = browsers_.find(id);
    if (it == browsers_.end()) return;
    CefRefPtr<RendererBrowser> browser = it->second;
    browsers_.erase(it);
    browser->DropDocument();
    if (handler_) handler_->OnBrowserDestroyed(browser.get());
}

CefRefPtr<RendererBrowser> RendererThread::FindBrowser(int id) const
{
    if (id == 0) return browsers_.empty() ? nullptr : browsers_.begin()->second;
    auto it = browsers_.find(id);
    return it == browsers_.end() ? nullptr : it->second;
}

std::vector<CefRefPtr<RendererBrowser>> RendererThread::Browsers() const
{
    std::vector<CefRefPtr<RendererBrowser>> all;
    for (const auto& entry : browsers_) all.push_back(entry.second);
    return all;
}

bool RendererThread::ExitContext(CefRefPtr<CefV8Context> context)
{
    if (enteredContexts_.empty() || !enteredContexts_.back()->IsSame(context)) return false;
    enteredContexts_.pop_back();
    return true;
}

CefRefPtr<CefV8Context> RendererThread::CurrentContext() const
{
    return enteredContexts_.empty() ? nullptr : enteredContexts_.back();
}

} // namespace cef_stand_in
