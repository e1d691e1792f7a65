#include "CefClientHandler.h"

#include <shellapi.h>
#include <shlobj.h>

#include <algorithm>
#include <cwctype>

#include "ShellMessages.h"

namespace {

const char kDomCompleteMessage[] = "DomComplete";
const char kCreateDomListenerMessage[] = "CreateDomListener";
const wchar_t kPopupFrameName[] = L"lumora";
const wchar_t kConfirmTitle[] = L"提示";
const wchar_t kExternalSchemeAllowed[] = L"spotify:";
const int kProgramIconId = 107;
const LONG_PTR kFullScreenStyleMask = ~static_cast<LONG_PTR>(WS_CAPTION | WS_THICKFRAME);
const LONG_PTR kFullScreenExStyleMask =
    ~static_cast<LONG_PTR>(WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE | WS_EX_CLIENTEDGE | WS_EX_STATICEDGE);

bool IsWebAddress(const std::wstring& url)
{
    std::wstring lower(url.substr(0, 8));
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](wchar_t c) { return static_cast<wchar_t>(std::towlower(c)); });
    return lower.compare(0, 7, L"http://") == 0 || lower.compare(0, 8, L"https://") == 0;
}

// The window's rectangle in its parent's client coordinates, or on the
// screen when it has no parent.
RECT RectInParent(HWND window, HWND parent)
{
    RECT rc;
    GetWindowRect(window, &rc);
    if (parent) MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rc), 2);
    return rc;
}

} // namespace

CefClientHandler::CefClientHandler(CefRefPtr<ProcessMessageDelegate> delegate) : m_delegate(delegate) { }

CefRefPtr<CefBrowser> CefClientHandler::GetBrowser() const
{
    CefAutoLock hold(m_lock);
    return m_mainBrowser;
}

std::wstring CefClientHandler::GetLastDownloadPath() const
{
    CefAutoLock hold(m_lock);
    return m_lastDownloadPath;
}

bool CefClientHandler::IsMainBrowser(CefRefPtr<CefBrowser> browser) const
{
    return browser && m_mainBrowserId != 0 && browser->GetIdentifier() == m_mainBrowserId;
}

HWND CefClientHandler::RootWindowOf(CefRefPtr<CefBrowser> browser)
{
    CefRefPtr<CefBrowserHost> host = browser ? browser->GetHost() : nullptr;
    HWND window = host ? host->GetWindowHandle() : nullptr;
    return window ? GetAncestor(window, GA_ROOT) : nullptr;
}

void CefClientHandler::NotifyRoot(CefRefPtr<CefBrowser> browser, UINT message, int browserId) const
{
    if (HWND root = RootWindowOf(browser)) SendMessageW(root, message, 0, static_cast<LPARAM>(browserId));
}

bool CefClientHandler::OnProcessMessageReceived(CefRefPtr<CefBrowser> browser, CefProcessId source_process,
                                                CefRefPtr<CefProcessMessage> message)
{
    if (!IsMainBrowser(browser) || !message) return false;
    if (message->GetName().ToString() == kDomCompleteMessage) {
        NotifyRoot(browser, WM_LUMORA_PAGE_READY, browser->GetIdentifier());
        return true;
    }
    return m_delegate ? m_delegate->OnProcessMessageReceived(this, browser, source_process, message) : false;
}

// Page and frame menus lose the engine's items (so no menu shows); menus for
// links, selections and editable fields keep them.
void CefClientHandler::OnBeforeContextMenu(CefRefPtr<CefBrowser> browser, CefRefPtr<CefFrame> frame,
                                           CefRefPtr<CefContextMenuParams> params, CefRefPtr<CefMenuModel> model)
{
    if (!params || !model) return;
    int flags = params->GetTypeFlags();
    bool pageOrFrame = (flags & (CM_TYPEFLAG_PAGE | CM_TYPEFLAG_FRAME)) != 0;
    bool hasTarget = (flags & (CM_TYPEFLAG_LINK | CM_TYPEFLAG_SELECTION | CM_TYPEFLAG_EDITABLE)) != 0;
    if (pageOrFrame && !hasTarget && model->GetCount() > 0) model->Clear();
}

void CefClientHandler::OnTitleChange(CefRefPtr<CefBrowser> browser, const CefString& title)
{
    if (!browser || !browser->IsPopup()) return;
    CefRefPtr<CefBrowserHost> host = browser->GetHost();
    if (host && host->GetWindowHandle()) SetWindowTextW(host->GetWindowHandle(), title.c_str());
}

void CefClientHandler::OnFullscreenModeChange(CefRefPtr<CefBrowser> browser, bool fullscreen)
{
    CefRefPtr<CefBrowserHost> host = browser ? browser->GetHost() : nullptr;
    HWND window = host ? host->GetWindowHandle() : nullptr;
    if (!IsWindow(window)) return;
    if (fullscreen)
        EnterBrowserFullScreen(window);
    else
        LeaveBrowserFullScreen(window);
}

// The browser window leaves its parent and covers its monitor.
void CefClientHandler::EnterBrowserFullScreen(HWND window)
{
    MONITORINFO monitor = { sizeof(monitor) };
    GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor);
    if (!m_browserFullScreen) {
        m_savedBrowserStyle = GetWindowLongPtrW(window, GWL_STYLE);
        m_savedBrowserExStyle = GetWindowLongPtrW(window, GWL_EXSTYLE);
        m_savedBrowserParent = GetParent(window);
        m_savedBrowserRect = RectInParent(window, m_savedBrowserParent);
    }
    // A window without a parent must not keep WS_CHILD: it becomes a popup.
    SetParent(window, nullptr);
    SetWindowLongPtrW(window, GWL_STYLE,
                      (m_savedBrowserStyle & kFullScreenStyleMask & ~static_cast<LONG_PTR>(WS_CHILD)) | WS_POPUP);
    SetWindowLongPtrW(window, GWL_EXSTYLE, m_savedBrowserExStyle & kFullScreenExStyleMask);
    const RECT& rc = monitor.rcMonitor;
    SetWindowPos(window, nullptr, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top,
                 SWP_FRAMECHANGED | SWP_NOACTIVATE | SWP_NOZORDER);
    m_browserFullScreen = true;
}

// The browser window goes back into the window it came from, where it was.
void CefClientHandler::LeaveBrowserFullScreen(HWND window)
{
    if (!m_browserFullScreen) return;
    m_browserFullScreen = false;
    // The child style goes back before the parent does.
    SetWindowLongPtrW(window, GWL_STYLE, m_savedBrowserStyle);
    SetWindowLongPtrW(window, GWL_EXSTYLE, m_savedBrowserExStyle);
    if (m_savedBrowserParent && IsWindow(m_savedBrowserParent)) SetParent(window, m_savedBrowserParent);
    const RECT& rc = m_savedBrowserRect;
    SetWindowPos(window, nullptr, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top,
                 SWP_FRAMECHANGED | SWP_NOACTIVATE | SWP_NOZORDER);
}

std::wstring CefClientHandler::SafeDownloadName(const std::wstring& suggested)
{
    size_t slash = suggested.find_last_of(L"\\/");
    std::wstring name = slash == std::wstring::npos ? suggested : suggested.substr(slash + 1);
    for (wchar_t& c : name) {
        if (c < 0x20 || std::wcschr(L"<>:\"|?*", c)) c = L'_';
    }
    size_t first = name.find_first_not_of(L" .");
    size_t last = name.find_last_not_of(L" .");
    name = first == std::wstring::npos ? std::wstring() : name.substr(first, last - first + 1);
    return name.empty() ? L"download" : name;
}

void CefClientHandler::OnBeforeDownload(CefRefPtr<CefBrowser> browser, CefRefPtr<CefDownloadItem> download_item,
                                        const CefString& suggested_name, CefRefPtr<CefBeforeDownloadCallback> callback)
{
    if (!callback) return;
    wchar_t documents[MAX_PATH] = {};
    std::wstring path;
    if (SUCCEEDED(SHGetFolderPathW(nullptr, CSIDL_PERSONAL | CSIDL_FLAG_CREATE, nullptr, 0, documents)))
        path = std::wstring(documents) + L"\\" + SafeDownloadName(suggested_name.ToWString());
    callback->Continue(path, true);
}

void CefClientHandler::OnDownloadUpdated(CefRefPtr<CefBrowser> browser, CefRefPtr<CefDownloadItem> download_item,
                                         CefRefPtr<CefDownloadItemCallback> callback)
{
    if (!download_item || !download_item->IsComplete()) return;
    CefAutoLock hold(m_lock);
    m_lastDownloadPath = download_item->GetFullPath().ToWString();
}

bool CefClientHandler::OnDragEnter(CefRefPtr<CefBrowser> browser, CefRefPtr<CefDragData> dragData,
                                   cef_drag_operations_mask_t mask)
{
    return dragData && dragData->IsLink();
}

void CefClientHandler::OnRequestGeolocationPermission(CefRefPtr<CefBrowser> browser, const CefString& requesting_url,
                                                      int request_id, CefRefPtr<CefGeolocationCallback> callback)
{
    if (callback) callback->Continue(true);
}

// Windows named "lumora" open as the engine's popups; web addresses for any
// other target go to the system's browser; anything else is dropped.
bool CefClientHandler::OnBeforePopup(CefRefPtr<CefBrowser> browser, CefRefPtr<CefFrame> frame,
                                     const CefString& target_url, const CefString& target_frame_name,
                                     const CefPopupFeatures& popupFeatures, CefWindowInfo& windowInfo,
                                     CefRefPtr<CefClient>& client, CefBrowserSettings& settings,
                                     bool* no_javascript_access)
{
    if (target_frame_name.ToWString() == kPopupFrameName) return false;
    if (IsWebAddress(target_url.ToWString())) OpenInSystemBrowser(target_url.ToWString());
    return true;
}

void CefClientHandler::OpenInSystemBrowser(const std::wstring& url)
{
    ShellExecuteW(nullptr, L"open", url.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void CefClientHandler::SetProgramIcon(HWND window)
{
    auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(window, GWLP_HINSTANCE));
    HICON icon = LoadIconW(instance, MAKEINTRESOURCEW(kProgramIconId));
    if (!icon) return;
    SendMessageW(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
    SendMessageW(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
}

// A view has one page browser. A second one made for the same view while the
// first lives (WM_USER+2 comes from any process) would run unseen and never be
// closed: it is kept on a list until it is gone, and closed at once.
void CefClientHandler::OnAfterCreated(CefRefPtr<CefBrowser> browser)
{
    if (!browser) return;
    HWND root = RootWindowOf(browser);
    bool newPopup = false;
    bool stray = false;
    {
        CefAutoLock hold(m_lock);
        if (!m_mainBrowser) {
            m_mainBrowser = browser;
            m_mainBrowserId = browser->GetIdentifier();
        } else if (browser->IsPopup()) {
            m_popupBrowsers.push_back(browser);
            newPopup = true;
        } else {
            m_strayBrowsers.push_back(browser);
            stray = true;
        }
    }
    if (stray) {
        if (CefRefPtr<CefBrowserHost> host = browser->GetHost()) host->CloseBrowser(true);
        return;
    }
    if (!root) return;
    if (newPopup) SetProgramIcon(root);
    SendMessageW(root, WM_LUMORA_BROWSER_CREATED, 0, static_cast<LPARAM>(m_mainBrowserId));
}

bool CefClientHandler::DoClose(CefRefPtr<CefBrowser> browser)
{
    if (IsMainBrowser(browser)) {
        if (CefRefPtr<CefBrowserHost> host = browser->GetHost()) host->ParentWindowWillClose();
        m_closing = true;
    }
    return false;
}

void CefClientHandler::OnBeforeClose(CefRefPtr<CefBrowser> browser)
{
    if (!browser) return;
    CefAutoLock hold(m_lock);
    if (m_mainBrowser && m_mainBrowser->IsSame(browser)) {
        m_mainBrowser = nullptr;
    } else {
        auto same = [&](const CefRefPtr<CefBrowser>& b) { return b->IsSame(browser); };
        m_popupBrowsers.erase(std::remove_if(m_popupBrowsers.begin(), m_popupBrowsers.end(), same),
                              m_popupBrowsers.end());
        m_strayBrowsers.erase(std::remove_if(m_strayBrowsers.begin(), m_strayBrowsers.end(), same),
                              m_strayBrowsers.end());
    }
    m_crashes.erase(browser->GetIdentifier());
}

void CefClientHandler::OnLoadStart(CefRefPtr<CefBrowser> browser, CefRefPtr<CefFrame> frame)
{
    if (!IsMainBrowser(browser) || !frame || !frame->IsMain()) return;
    browser->SendProcessMessage(PID_RENDERER, CefProcessMessage::Create(kCreateDomListenerMessage));
}

void CefClientHandler::OnLoadEnd(CefRefPtr<CefBrowser> browser, CefRefPtr<CefFrame> frame, int httpStatusCode)
{
    if (!IsMainBrowser(browser) || !frame || !frame->IsMain()) return;
    NotifyRoot(browser, WM_LUMORA_PAGE_READY, m_mainBrowserId);
}

// Only a failed main page replaces the portal with the error page: a broken
// frame inside a page, a popup, or a navigation that was cancelled does not.
void CefClientHandler::OnLoadError(CefRefPtr<CefBrowser> browser, CefRefPtr<CefFrame> frame, cef_errorcode_t errorCode,
                                   const CefString& errorText, const CefString& failedUrl)
{
    if (!IsMainBrowser(browser) || !frame || !frame->IsMain() || errorCode == ERR_ABORTED) return;
    NotifyRoot(browser, WM_LUMORA_LOAD_ERROR, m_mainBrowserId);
}

bool CefClientHandler::OnQuotaRequest(CefRefPtr<CefBrowser> browser, const CefString& origin_url, int64_t new_size,
                                      CefRefPtr<CefQuotaCallback> callback)
{
    if (callback) callback->Continue(new_size <= kMaxQuotaBytes);
    return true;
}

void CefClientHandler::OnProtocolExecution(CefRefPtr<CefBrowser> browser, const CefString& url,
                                           bool& allow_os_execution)
{
    allow_os_execution = url.ToWString().compare(0, std::wcslen(kExternalSchemeAllowed), kExternalSchemeAllowed) == 0;
}

// The page that was showing comes back at its own address; a page that
// crashes its renderer again and again is left alone after a few tries.
void CefClientHandler::OnRenderProcessTerminated(CefRefPtr<CefBrowser> browser, cef_termination_status_t status)
{
    CefRefPtr<CefFrame> frame = browser ? browser->GetMainFrame() : nullptr;
    if (!frame) return;
    std::wstring url = frame->GetURL().ToWString();
    {
        CefAutoLock hold(m_lock);
        CrashRecord& record = m_crashes[browser->GetIdentifier()];
        if (record.url != url) record = CrashRecord{ url, 0 };
        if (record.reloads >= kMaxCrashReloads) return;
        ++record.reloads;
    }
    frame->LoadURL(url);
}

bool CefClientHandler::OnJSDialog(CefRefPtr<CefBrowser> browser, const CefString& origin_url,
                                  const CefString& accept_lang, cef_jsdialog_type_t dialog_type,
                                  const CefString& message_text, const CefString& default_prompt_text,
                                  CefRefPtr<CefJSDialogCallback> callback, bool& suppress_message)
{
    CefRefPtr<CefBrowserHost> host = browser ? browser->GetHost() : nullptr;
    HWND window = host ? host->GetWindowHandle() : nullptr;
    if (dialog_type != JSDIALOGTYPE_CONFIRM || !window || !callback) return false;
    int answer = MessageBoxW(window, message_text.c_str(), kConfirmTitle, MB_YESNO);
    callback->Continue(answer == IDYES, CefString());
    suppress_message = false;
    return true;
}
