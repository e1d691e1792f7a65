#include "RendererBrowser.h"

#include "BrowserImpl.h"
#include "EngineInternal.h"
#include "RendererThread.h"

namespace cef_stand_in {

namespace {

class RendererFrame : public CefFrame
{
public:
    explicit RendererFrame(CefRefPtr<RendererBrowser> browser) : browser_(browser) { }
    bool IsValid() override { return true; }
    bool IsMain() override { return true; }
    int64_t GetIdentifier() override { return browser_->GetIdentifier(); }
    CefString GetName() override { return CefString(); }
    CefString GetURL() override { return browser_->Url(); }
    CefRefPtr<CefBrowser> GetBrowser() override { return browser_.get(); }
    void LoadURL(const CefString& url) override
    {
        int id = browser_->GetIdentifier();
        std::wstring address = url.ToWString();
        PostToUi([id, address] {
            if (CefRefPtr<BrowserImpl> b = BrowserImpl::Find(id)) b->Navigate(address);
        });
    }
    void VisitDOM(CefRefPtr<CefDOMVisitor> visitor) override
    {
        CefRefPtr<RendererDocument> document = browser_->Document();
        if (visitor && document) visitor->Visit(document.get());
    }
    CefRefPtr<CefV8Context> GetV8Context() override { return browser_->Context(); }

private:
    CefRefPtr<RendererBrowser> browser_;
    IMPLEMENT_REFCOUNTING(RendererFrame);
};

// A frame inside the page (an advertisement, another site): it has its own
// address and no document of its own in the stand-in.
class RendererSubFrame : public CefFrame
{
public:
    RendererSubFrame(CefRefPtr<RendererBrowser> browser, const std::wstring& url) : browser_(browser), url_(url) { }
    bool IsValid() override { return true; }
    bool IsMain() override { return false; }
    int64_t GetIdentifier() override { return -static_cast<int64_t>(browser_->GetIdentifier()); }
    CefString GetName() override { return CefString(); }
    CefString GetURL() override { return url_; }
    CefRefPtr<CefBrowser> GetBrowser() override { return browser_.get(); }
    void LoadURL(const CefString& url) override { url_ = url.ToWString(); }
    void VisitDOM(CefRefPtr<CefDOMVisitor>) override { }
    CefRefPtr<CefV8Context> GetV8Context() override { return browser_->SubFrameContext(url_); }

private:
    CefRefPtr<RendererBrowser> browser_;
    std::wstring url_;
    IMPLEMENT_REFCOUNTING(RendererSubFrame);
};

class DocumentContext : public CefV8Context
{
public:
    DocumentContext(CefRefPtr<RendererBrowser> browser, CefRefPtr<RendererDocument> document,
                    CefRefPtr<CefFrame> subFrame = nullptr)
        : browser_(browser), document_(document), subFrame_(subFrame)
    { }
    bool IsValid() override { return browser_->Document().get() == document_.get(); }
    CefRefPtr<CefBrowser> GetBrowser() override { return browser_.get(); }
    CefRefPtr<CefFrame> GetFrame() override { return subFrame_ ? subFrame_ : browser_->GetMainFrame(); }
    bool Enter() override
    {
        RendererThread* renderer = RendererThread::Current();
        if (!renderer || !renderer->OnThread()) return false;
        renderer->EnterContext(this);
        return true;
    }
    bool Exit() override
    {
        RendererThread* renderer = RendererThread::Current();
        return renderer && renderer->OnThread() && renderer->ExitContext(this);
    }
    bool IsSame(CefRefPtr<CefV8Context> that) override
    {
        auto* other = dynamic_cast<DocumentContext*>(that.get());
        return other && other->document_.get() == document_.get() && !other->subFrame_ == !subFrame_;
    }

private:
    CefRefPtr<RendererBrowser> browser_;
    CefRefPtr<RendererDocument> document_;
    CefRefPtr<CefFrame> subFrame_;
    IMPLEMENT_REFCOUNTING(DocumentContext);
};

} // namespace

CefRefPtr<CefFrame> RendererBrowser::GetMainFrame()
{
    return new RendererFrame(this);
}

void RendererBrowser::Reload()
{
    int id = id_;
    PostToUi([id] {
        if (CefRefPtr<BrowserImpl> b = BrowserImpl::Find(id)) b->Reload();
    });
}

bool RendererBrowser::SendProcessMessage(CefProcessId target_process, CefRefPtr<CefProcessMessage> message)
{
    if (target_process != PID_BROWSER || !message) return false;
    int id = id_;
    CefRefPtr<CefProcessMessage> copy = message->Copy();
    return PostToUi([id, copy] {
        if (CefRefPtr<BrowserImpl> b = BrowserImpl::Find(id)) b->DeliverMessage(copy);
    });
}

CefRefPtr<CefV8Context> RendererBrowser::Context()
{
    if (!document_) return nullptr;
    return new DocumentContext(this, document_);
}

CefRefPtr<CefV8Context> RendererBrowser::SubFrameContext(const std::wstring& frameUrl)
{
    if (!document_) return nullptr;
    return new DocumentContext(this, document_, new RendererSubFrame(this, frameUrl));
}

void RendererBrowser::BeginDocument(const std::wstring& url, int navigation)
{
    CefRefPtr<CefRenderProcessHandler> handler = RendererThread::Current()->Handler();
    if (document_ && handler) handler->OnContextReleased(this, GetMainFrame(), Context());
    DropDocument();
    url_ = url;
    document_ = new RendererDocument(url, navigation);
    if (handler) handler->OnContextCreated(this, GetMainFrame(), Context());
}

void RendererBrowser::DocumentParsed(int navigation)
{
    if (document_ && document_->Navigation() == navigation) document_->FireContentLoaded();
}

void RendererBrowser::DropDocument()
{
    if (document_) document_->DropListeners();
    document_ = nullptr;
}

} // namespace cef_stand_in

CefRefPtr<CefV8Context> CefV8Context::GetCurrentContext()
{
    cef_stand_in::RendererThread* renderer = cef_stand_in::RendererThread::Current();
    return renderer && renderer->OnThread() ? renderer->CurrentContext() : nullptr;
}
