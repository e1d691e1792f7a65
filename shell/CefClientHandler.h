#pragma once
#include <map>
#include <string>
#include <vector>

#include "cef_client.h"

// The browser-process client of one browser view. It tracks the view's main
// browser and the popups opened from it, decides what happens to popups,
// downloads, drags, permission requests, confirm dialogs and context menus,
// reloads a crashed page, and tells the view's top-level window about page
// events by the messages of ShellMessages.h. UI thread only.
class CefClientHandler : public CefClient,
                         public CefContextMenuHandler,
                         public CefDisplayHandler,
                         public CefDownloadHandler,
                         public CefDragHandler,
                         public CefGeolocationHandler,
                         public CefKeyboardHandler,
                         public CefLifeSpanHandler,
                         public CefLoadHandler,
                         public CefRequestHandler,
                         public CefJSDialogHandler
{
public:
    // Receives the page commands of the main browser (every process message
    // the handler does not consume itself).
    class ProcessMessageDelegate : public virtual CefBaseRefCounted
    {
    public:
        virtual bool OnProcessMessageReceived(CefRefPtr<CefClientHandler> handler, CefRefPtr<CefBrowser> browser,
                                              CefProcessId source_process, CefRefPtr<CefProcessMessage> message) = 0;
    };

    // A renderer that keeps crashing on the same address is reloaded this often.
    static const int kMaxCrashReloads = 3;
    // Largest storage a page is granted: 20 MiB.
    static const int64_t kMaxQuotaBytes = 0x1400000;

    explicit CefClientHandler(CefRefPtr<ProcessMessageDelegate> delegate);

    CefRefPtr<CefBrowser> GetBrowser() const;
    int GetBrowserId() const { return m_mainBrowserId; }
    bool IsClosing() const { return m_closing; }
    std::wstring GetLastDownloadPath() const;

    // CefClient
    CefRefPtr<CefContextMenuHandler> GetContextMenuHandler() override { return this; }
    CefRefPtr<CefDisplayHandler> GetDisplayHandler() override { return this; }
    CefRefPtr<CefDownloadHandler> GetDownloadHandler() override { return this; }
    CefRefPtr<CefDragHandler> GetDragHandler() override { return this; }
    CefRefPtr<CefGeolocationHandler> GetGeolocationHandler() override { return this; }
    CefRefPtr<CefJSDialogHandler> GetJSDialogHandler() override { return this; }
    CefRefPtr<CefKeyboardHandler> GetKeyboardHandler() override { return this; }
    CefRefPtr<CefLifeSpanHandler> GetLifeSpanHandler() override { return this; }
    CefRefPtr<CefLoadHandler> GetLoadHandler() override { return this; }
    CefRefPtr<CefRequestHandler> GetRequestHandler() override { return this; }
    bool OnProcessMessageReceived(CefRefPtr<CefBrowser> browser, CefProcessId source_process,
                                  CefRefPtr<CefProcessMessage> message) override;

    // CefContextMenuHandler
    void OnBeforeContextMenu(CefRefPtr<CefBrowser> browser, CefRefPtr<CefFrame> frame,
                             CefRefPtr<CefContextMenuParams> params, CefRefPtr<CefMenuModel> model) override;

    // CefDisplayHandler
    void OnTitleChange(CefRefPtr<CefBrowser> browser, const CefString& title) override;
    void OnFullscreenModeChange(CefRefPtr<CefBrowser> browser, bool fullscreen) override;

    // CefDownloadHandler
    void OnBeforeDownload(CefRefPtr<CefBrowser> browser, CefRefPtr<CefDownloadItem> download_item,
                          const CefString& suggested_name, CefRefPtr<CefBeforeDownloadCallback> callback) override;
    void OnDownloadUpdated(CefRefPtr<CefBrowser> browser, CefRefPtr<CefDownloadItem> download_item,
                           CefRefPtr<CefDownloadItemCallback> callback) override;

    // CefDragHandler
    bool OnDragEnter(CefRefPtr<CefBrowser> browser, CefRefPtr<CefDragData> dragData,
                     cef_drag_operations_mask_t mask) override;

    // CefGeolocationHandler
    void OnRequestGeolocationPermission(CefRefPtr<CefBrowser> browser, const CefString& requesting_url, int request_id,
                                        CefRefPtr<CefGeolocationCallback> callback) override;

    // CefLifeSpanHandler
    bool OnBeforePopup(CefRefPtr<CefBrowser> browser, CefRefPtr<CefFrame> frame, const CefString& target_url,
                       const CefString& target_frame_name, const CefPopupFeatures& popupFeatures,
                       CefWindowInfo& windowInfo, CefRefPtr<CefClient>& client, CefBrowserSettings& settings,
                       bool* no_javascript_access) override;
    void OnAfterCreated(CefRefPtr<CefBrowser> browser) override;
    bool DoClose(CefRefPtr<CefBrowser> browser) override;
    void OnBeforeClose(CefRefPtr<CefBrowser> browser) override;

    // CefLoadHandler
    void OnLoadStart(CefRefPtr<CefBrowser> browser, CefRefPtr<CefFrame> frame) override;
    void OnLoadEnd(CefRefPtr<CefBrowser> browser, CefRefPtr<CefFrame> frame, int httpStatusCode) override;
    void OnLoadError(CefRefPtr<CefBrowser> browser, CefRefPtr<CefFrame> frame, cef_errorcode_t errorCode,
                     const CefString& errorText, const CefString& failedUrl) override;

    // CefRequestHandler
    bool OnQuotaRequest(CefRefPtr<CefBrowser> browser, const CefString& origin_url, int64_t new_size,
                        CefRefPtr<CefQuotaCallback> callback) override;
    void OnProtocolExecution(CefRefPtr<CefBrowser> browser, const CefString& url, bool& allow_os_execution) override;
    void OnRenderProcessTerminated(CefRefPtr<CefBrowser> browser, cef_termination_status_t status) override;

    // CefJSDialogHandler
    bool OnJSDialog(CefRefPtr<CefBrowser> browser, const CefString& origin_url, const CefString& accept_lang,
                    cef_jsdialog_type_t dialog_type, const CefString& message_text,
                    const CefString& default_prompt_text, CefRefPtr<CefJSDialogCallback> callback,
                    bool& suppress_message) override;

    // The file name part of a name a server suggests, with characters that
    // are not allowed in file names replaced; never a path.
    static std::wstring SafeDownloadName(const std::wstring& suggested);

protected:
    // Opens a web address in the system's browser.
    virtual void OpenInSystemBrowser(const std::wstring& url);

private:
    struct CrashRecord
    {
        std::wstring url;
        int reloads = 0;
    };

    bool IsMainBrowser(CefRefPtr<CefBrowser> browser) const;
    static HWND RootWindowOf(CefRefPtr<CefBrowser> browser);
    void NotifyRoot(CefRefPtr<CefBrowser> browser, UINT message, int browserId) const;
    static void SetProgramIcon(HWND window);
    void EnterBrowserFullScreen(HWND window);
    void LeaveBrowserFullScreen(HWND window);

    CefRefPtr<ProcessMessageDelegate> m_delegate;
    CefRefPtr<CefBrowser> m_mainBrowser;
    std::vector<CefRefPtr<CefBrowser>> m_popupBrowsers;
    std::vector<CefRefPtr<CefBrowser>> m_strayBrowsers; // closing: a second page browser for the view
    int m_mainBrowserId = 0;
    bool m_closing = false;
    std::wstring m_lastDownloadPath;
    bool m_browserFullScreen = false;
    LONG_PTR m_savedBrowserStyle = 0;
    LONG_PTR m_savedBrowserExStyle = 0;
    RECT m_savedBrowserRect = {}; // in the parent's client coordinates (screen ones without a parent)
    HWND m_savedBrowserParent = nullptr;
    std::map<int, CrashRecord> m_crashes;
    mutable CefCriticalSection m_lock;
    IMPLEMENT_REFCOUNTING(CefClientHandler);
};
