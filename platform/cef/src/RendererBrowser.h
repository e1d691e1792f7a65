// The renderer's side of one browser: its current document and script
// context; messages it sends reach the browser process as copies.
#pragma once
#include <string>

#include "RendererDocument.h"
#include "cef_browser.h"
#include "cef_frame.h"
#include "cef_v8.h"

namespace cef_stand_in {

class RendererBrowser : public CefBrowser
{
public:
    RendererBrowser(int id, bool popup) : id_(id), popup_(popup) { }

    CefRefPtr<CefBrowserHost> GetHost() override { return nullptr; }
    int GetIdentifier() override { return id_; }
    bool IsSame(CefRefPtr<CefBrowser> that) override { return that && that->GetIdentifier() == id_; }
    bool IsPopup() override { return popup_; }
    CefRefPtr<CefFrame> GetMainFrame() override;
    void Reload() override;
    bool SendProcessMessage(CefProcessId target_process, CefRefPtr<CefProcessMessage> message) override;

    // A navigation replaces the document; the old one's listeners go with it.
    void BeginDocument(const std::wstring& url, int navigation);
    void DocumentParsed(int navigation);
    void DropDocument();
    CefRefPtr<RendererDocument> Document() const { return document_; }
    std::wstring Url() const { return url_; }
    // The script context of the current document; null without one.
    CefRefPtr<CefV8Context> Context();
    // The script context of a frame inside the current document whose
    // document has this address; null without a document.
    CefRefPtr<CefV8Context> SubFrameContext(const std::wstring& frameUrl);

private:
    int id_;
    bool popup_;
    std::wstring url_;
    CefRefPtr<RendererDocument> document_;
    IMPLEMENT_REFCOUNTING(RendererBrowser);
};

} // namespace cef_stand_in
