#include "RendererDocument.h"

namespace cef_stand_in {

namespace {

const wchar_t kContentLoadedEvent[] = L"DOMContentLoaded";

class DocumentNode : public CefDOMNode
{
public:
    explicit DocumentNode(CefRefPtr<RendererDocument> document) : document_(document) { }
    bool IsSame(CefRefPtr<CefDOMNode> that) override
    {
        return that && that->GetName() == GetName() && that->GetDocument().get() == document_.get();
    }
    CefString GetName() override { return L"#document"; }
    CefRefPtr<CefDOMDocument> GetDocument() override { return document_.get(); }
    void AddEventListener(const CefString& eventType, CefRefPtr<CefDOMEventListener> listener, bool useCapture) override
    {
        document_->AddListener(eventType.ToWString(), listener, useCapture);
    }

private:
    CefRefPtr<RendererDocument> document_;
    IMPLEMENT_REFCOUNTING(DocumentNode);
};

class DocumentEvent : public CefDOMEvent
{
public:
    DocumentEvent(const std::wstring& type, CefRefPtr<RendererDocument> document) : type_(type), document_(document) { }
    CefString GetType() override { return type_; }
    CefRefPtr<CefDOMDocument> GetDocument() override { return document_.get(); }
    CefRefPtr<CefDOMNode> GetTarget() override { return document_->GetDocument(); }

private:
    std::wstring type_;
    CefRefPtr<RendererDocument> document_;
    IMPLEMENT_REFCOUNTING(DocumentEvent);
};

} // namespace

CefRefPtr<CefDOMNode> RendererDocument::GetDocument()
{
    return new DocumentNode(this);
}

void RendererDocument::AddListener(const std::wstring& type, CefRefPtr<CefDOMEventListener> listener, bool useCapture)
{
    if (!listener) return;
    for (const Listener& l : listeners_) {
        // The same listener for the same event and phase is added once, as in a page.
        if (l.type == type && l.listener.get() == listener.get() && l.useCapture == useCapture) return;
    }
    listeners_.push_back({ type, listener, useCapture });
}

void RendererDocument::FireContentLoaded()
{
    if (contentLoaded_) return;
    contentLoaded_ = true;
    CefRefPtr<CefDOMEvent> event = new DocumentEvent(kContentLoadedEvent, this);
    // A listener may add listeners or navigate; it sees the list as it was.
    std::vector<Listener> listeners = listeners_;
    for (const Listener& l : listeners) {
        if (l.type == kContentLoadedEvent) l.listener->HandleEvent(event);
    }
}

} // namespace cef_stand_in
