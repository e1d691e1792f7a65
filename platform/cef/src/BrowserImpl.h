// The browser process's side of one browser: its window, which shows the
// address and the page title, its main frame, and the loads and page events
// it reports to its client. UI thread only, unless a member says otherwise.
#pragma once
#include <map>
#include <string>

#include "PageLoader.h"
#include "cef_client.h"

namespace cef_stand_in {

class BrowserImpl : public CefBrowser, public CefBrowserHost
{
public:
    // Makes the window and starts loading url; null when the window cannot be
    // made (no valid parent).
    static CefRefPtr<BrowserImpl> Create(const CefWindowInfo& info, CefRefPtr<CefClient> client,
                                         const std::wstring& url, bool popup);
    static CefRefPtr<BrowserImpl> Find(int id);
    static void CloseAll();

    // CefBrowser
    CefRefPtr<CefBrowserHost> GetHost() override { return this; }
    int GetIdentifier() override { return id_; }
    bool IsSame(CefRefPtr<CefBrowser> that) override { return that && that->GetIdentifier() == id_; }
    bool IsPopup() override { return popup_; }
    CefRefPtr<CefFrame> GetMainFrame() override;
    void Reload() override { Navigate(url_); }
    bool SendProcessMessage(CefProcessId target_process, CefRefPtr<CefProcessMessage> message) override;

    // CefBrowserHost
    CefRefPtr<CefBrowser> GetBrowser() override { return this; }
    CefRefPtr<CefClient> GetClient() override { return client_; }
    cef_window_handle_t GetWindowHandle() override { return window_; }
    void ParentWindowWillClose() override { }
    void CloseBrowser(bool force_close) override;

    void Navigate(const std::wstring& url);
    void OnPageRead(int navigation, const PageResult& result);
    void DeliverMessage(CefRefPtr<CefProcessMessage> message);
    void OpenPopup(const std::wstring& url, const std::wstring& target);
    void SetFullscreen(bool on);
    // A script dialog; true when the user accepted it.
    bool RunDialog(cef_jsdialog_type_t type, const std::wstring& text);
    void RendererCrashed();
    std::wstring Url() const { return url_; }

private:
    enum class PageState { Loading, Loaded, Failed, Crashed };

    BrowserImpl(int id, CefRefPtr<CefClient> client, bool popup) : id_(id), client_(client), popup_(popup) { }
    static LRESULT CALLBACK WindowProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    void Paint();
    std::wstring StatusText() const;
    void ShowContextMenu(LPARAM screenPoint);
    void OnWindowDestroyed();
    void FinishExternalScheme();

    int id_;
    CefRefPtr<CefClient> client_;
    bool popup_;
    bool closed_ = false;
    HWND window_ = nullptr;
    int navigation_ = 0;
    std::wstring url_;
    std::wstring title_;
    PageState state_ = PageState::Loading;
    std::wstring errorText_;
    IMPLEMENT_REFCOUNTING(BrowserImpl);
};

} // namespace cef_stand_in
