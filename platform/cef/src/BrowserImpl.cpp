#include "BrowserImpl.h"

#include <shellapi.h>

#include <vector>

#include "EngineInternal.h"
#include "RendererThread.h"

namespace cef_stand_in {

namespace {

const wchar_t kBrowserWindowClass[] = L"LumoraCefBrowserWindow";
const int kAddressBarHeight = 26;

std::map<int, CefRefPtr<BrowserImpl>>& Registry()
{
    static std::map<int, CefRefPtr<BrowserImpl>> browsers;
    return browsers;
}

int NextBrowserId()
{
    static int lastId = 0;
    return ++lastId;
}

class BrowserFrame : public CefFrame
{
public:
    explicit BrowserFrame(CefRefPtr<BrowserImpl> browser) : browser_(browser) { }
    bool IsValid() override { return true; }
    bool IsMain() override { return true; }
    int64_t GetIdentifier() override { return browser_->GetIdentifier(); }
    CefString GetName() override { return CefString(); }
    CefString GetURL() override { return browser_->Url(); }
    CefRefPtr<CefBrowser> GetBrowser() override { return browser_.get(); }
    // Asynchronous, as the engine's own.
    void LoadURL(const CefString& url) override
    {
        CefRefPtr<BrowserImpl> browser = browser_;
        std::wstring address = url.ToWString();
        PostToUi([browser, address] { browser->Navigate(address); });
    }
    void VisitDOM(CefRefPtr<CefDOMVisitor> visitor) override { } // the document lives in the renderer
    CefRefPtr<CefV8Context> GetV8Context() override { return nullptr; }

private:
    CefRefPtr<BrowserImpl> browser_;
    IMPLEMENT_REFCOUNTING(BrowserFrame);
};

class MenuModel : public CefMenuModel
{
public:
    bool Clear() override
    {
        items_.clear();
        return true;
    }
    int GetCount() override { return static_cast<int>(items_.size()); }
    bool AddItem(int command_id, const CefString& label) override
    {
        items_.push_back({ command_id, label.ToWString() });
        return true;
    }
    int GetCommandIdAt(int index) override { return InRange(index) ? items_[static_cast<size_t>(index)].first : -1; }
    CefString GetLabelAt(int index) override
    {
        return InRange(index) ? CefString(items_[static_cast<size_t>(index)].second) : CefString();
    }

private:
    bool InRange(int index) const { return index >= 0 && static_cast<size_t>(index) < items_.size(); }
    std::vector<std::pair<int, std::wstring>> items_;
    IMPLEMENT_REFCOUNTING(MenuModel);
};

class MenuParams : public CefContextMenuParams
{
public:
    MenuParams(int flags, const std::wstring& pageUrl) : flags_(flags), pageUrl_(pageUrl) { }
    int GetTypeFlags() override { return flags_; }
    CefString GetPageUrl() override { return pageUrl_; }
    CefString GetLinkUrl() override { return CefString(); }

private:
    int flags_;
    std::wstring pageUrl_;
    IMPLEMENT_REFCOUNTING(MenuParams);
};

class DialogCallback : public CefJSDialogCallback
{
public:
    void Continue(bool success, const CefString& user_input) override
    {
        continued = true;
        accepted = success;
    }
    bool continued = false;
    bool accepted = false;

private:
    IMPLEMENT_REFCOUNTING(DialogCallback);
};

bool RegisterBrowserClass(WNDPROC proc)
{
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof(wc);
    wc.style = CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = kBrowserWindowClass;
    return RegisterClassExW(&wc) || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

} // namespace

CefRefPtr<BrowserImpl> BrowserImpl::Create(const CefWindowInfo& info, CefRefPtr<CefClient> client,
                                           const std::wstring& url, bool popup)
{
    if (info.parent_window && !IsWindow(info.parent_window)) return nullptr;
    if ((info.style & WS_CHILD) && !info.parent_window) return nullptr;
    if (!RegisterBrowserClass(WindowProc)) return nullptr;
    CefRefPtr<BrowserImpl> browser = new BrowserImpl(NextBrowserId(), client, popup);
    // The window's instance is the program's: a popup's icon comes from there.
    HWND wnd = CreateWindowExW(info.ex_style, kBrowserWindowClass, info.window_name.c_str(), info.style, info.x, info.y,
                               info.width, info.height, info.parent_window, info.menu, GetModuleHandleW(nullptr),
                               browser.get());
    if (!wnd) return nullptr;
    Registry()[browser->id_] = browser;
    int id = browser->id_;
    if (EnsureRenderer()) {
        PostToRenderer([id, popup] { RendererThread::Current()->AddBrowser(id, popup); });
    }
    if (client) {
        if (CefRefPtr<CefLifeSpanHandler> lifeSpan = client->GetLifeSpanHandler())
            lifeSpan->OnAfterCreated(browser.get());
    }
    browser->Navigate(url);
    return browser;
}

CefRefPtr<BrowserImpl> BrowserImpl::Find(int id)
{
    auto it = Registry().find(id);
    return it == Registry().end() ? nullptr : it->second;
}

void BrowserImpl::CloseAll()
{
    std::vector<CefRefPtr<BrowserImpl>> open;
    for (auto& entry : Registry()) open.push_back(entry.second);
    for (CefRefPtr<BrowserImpl>& browser : open) {
        if (IsWindow(browser->window_)) DestroyWindow(browser->window_);
    }
    Registry().clear();
}

CefRefPtr<CefFrame> BrowserImpl::GetMainFrame()
{
    return new BrowserFrame(this);
}

bool BrowserImpl::SendProcessMessage(CefProcessId target_process, CefRefPtr<CefProcessMessage> message)
{
    if (target_process != PID_RENDERER || !message || closed_) return false;
    int id = id_;
    CefRefPtr<CefProcessMessage> copy = message->Copy();
    return PostToRenderer([id, copy] {
        RendererThread* renderer = RendererThread::Current();
        CefRefPtr<RendererBrowser> browser = renderer->FindBrowser(id);
        CefRefPtr<CefRenderProcessHandler> handler = renderer->Handler();
        if (browser && handler) handler->OnProcessMessageReceived(browser.get(), PID_BROWSER, copy);
    });
}

void BrowserImpl::CloseBrowser(bool force_close)
{
    if (closed_) return;
    if (!force_close && client_) {
        CefRefPtr<CefLifeSpanHandler> lifeSpan = client_->GetLifeSpanHandler();
        if (lifeSpan && lifeSpan->DoClose(this)) return;
    }
    if (IsWindow(window_)) DestroyWindow(window_);
}

void BrowserImpl::Navigate(const std::wstring& url)
{
    if (closed_) return;
    int navigation = ++navigation_;
    int id = id_;
    url_ = url;
    title_.clear();
    errorText_.clear();
    state_ = PageState::Loading;
    InvalidateRect(window_, nullptr, TRUE);
    PostToRenderer([id, url, navigation] {
        if (CefRefPtr<RendererBrowser> b = RendererThread::Current()->FindBrowser(id))
            b->BeginDocument(url, navigation);
    });
    CefRefPtr<CefFrame> frame = GetMainFrame();
    if (CefRefPtr<CefDisplayHandler> display = client_ ? client_->GetDisplayHandler() : nullptr)
        display->OnAddressChange(this, frame, url);
    if (CefRefPtr<CefLoadHandler> load = client_ ? client_->GetLoadHandler() : nullptr) {
        load->OnLoadingStateChange(this, true, false, false);
        load->OnLoadStart(this, frame);
    }
    PageLoader::Start(id_, navigation, url);
}

void BrowserImpl::OnPageRead(int navigation, const PageResult& result)
{
    if (closed_ || navigation != navigation_) return; // a later navigation replaced this one
    if (result.externalScheme) return FinishExternalScheme();
    CefRefPtr<CefFrame> frame = GetMainFrame();
    CefRefPtr<CefLoadHandler> load = client_ ? client_->GetLoadHandler() : nullptr;
    if (result.ok) {
        state_ = PageState::Loaded;
        title_ = result.title;
        int id = id_;
        PostToRenderer([id, navigation] {
            if (CefRefPtr<RendererBrowser> b = RendererThread::Current()->FindBrowser(id))
                b->DocumentParsed(navigation);
        });
        if (CefRefPtr<CefDisplayHandler> display = client_ ? client_->GetDisplayHandler() : nullptr)
            display->OnTitleChange(this, title_.empty() ? url_ : title_);
        if (load) load->OnLoadEnd(this, frame, result.httpStatus);
    } else {
        state_ = PageState::Failed;
        errorText_ = result.errorText;
        if (load)
            load->OnLoadError(this, frame, static_cast<cef_errorcode_t>(result.errorCode), result.errorText, url_);
    }
    if (load) load->OnLoadingStateChange(this, false, false, false);
    InvalidateRect(window_, nullptr, TRUE);
}

// An address for another program: the request handler decides whether the
// system gets it; the browser's own navigation ends aborted either way.
void BrowserImpl::FinishExternalScheme()
{
    bool allow = false;
    if (CefRefPtr<CefRequestHandler> request = client_ ? client_->GetRequestHandler() : nullptr)
        request->OnProtocolExecution(this, url_, allow);
    if (allow) ShellExecuteW(nullptr, L"open", url_.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    state_ = PageState::Failed;
    errorText_ = L"net::ERR_ABORTED";
    if (CefRefPtr<CefLoadHandler> load = client_ ? client_->GetLoadHandler() : nullptr) {
        load->OnLoadError(this, GetMainFrame(), ERR_ABORTED, errorText_, url_);
        load->OnLoadingStateChange(this, false, false, false);
    }
    InvalidateRect(window_, nullptr, TRUE);
}

void BrowserImpl::DeliverMessage(CefRefPtr<CefProcessMessage> message)
{
    if (!closed_ && client_) client_->OnProcessMessageReceived(this, PID_RENDERER, message);
}

void BrowserImpl::OpenPopup(const std::wstring& url, const std::wstring& target)
{
    if (closed_) return;
    CefWindowInfo info;
    info.SetAsPopup(nullptr, target);
    CefRefPtr<CefClient> client = client_;
    CefBrowserSettings settings;
    bool noScriptAccess = false;
    CefRefPtr<CefLifeSpanHandler> lifeSpan = client_ ? client_->GetLifeSpanHandler() : nullptr;
    if (lifeSpan &&
        lifeSpan->OnBeforePopup(this, GetMainFrame(), url, target, CefPopupFeatures(), info, client, settings,
                                &noScriptAccess))
        return;
    Create(info, client, url, true);
}

void BrowserImpl::SetFullscreen(bool on)
{
    if (closed_) return;
    if (CefRefPtr<CefDisplayHandler> display = client_ ? client_->GetDisplayHandler() : nullptr)
        display->OnFullscreenModeChange(this, on);
}

bool BrowserImpl::RunDialog(cef_jsdialog_type_t type, const std::wstring& text)
{
    if (closed_) return false;
    CefRefPtr<DialogCallback> callback = new DialogCallback();
    bool suppress = false;
    CefRefPtr<CefJSDialogHandler> handler = client_ ? client_->GetJSDialogHandler() : nullptr;
    if (handler && handler->OnJSDialog(this, url_, L"zh-CN", type, text, L"", callback.get(), suppress))
        return callback->continued && callback->accepted;
    if (suppress) return false;
    UINT buttons = type == JSDIALOGTYPE_ALERT ? MB_OK : MB_OKCANCEL;
    return MessageBoxW(window_, text.c_str(), L"JavaScript", buttons) == IDOK;
}

void BrowserImpl::RendererCrashed()
{
    if (closed_) return;
    ++navigation_; // a load still running belongs to the dead renderer
    state_ = PageState::Crashed;
    InvalidateRect(window_, nullptr, TRUE);
    if (CefRefPtr<CefRequestHandler> request = client_ ? client_->GetRequestHandler() : nullptr)
        request->OnRenderProcessTerminated(this, TS_PROCESS_CRASHED);
}

LRESULT CALLBACK BrowserImpl::WindowProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_NCCREATE) {
        auto* browser = static_cast<BrowserImpl*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        browser->window_ = wnd;
        SetWindowLongPtrW(wnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(browser));
    }
    auto* browser = reinterpret_cast<BrowserImpl*>(GetWindowLongPtrW(wnd, GWLP_USERDATA));
    if (!browser) return DefWindowProcW(wnd, msg, wParam, lParam);
    if (msg == WM_NCDESTROY) SetWindowLongPtrW(wnd, GWLP_USERDATA, 0);
    return browser->HandleMessage(msg, wParam, lParam);
}

LRESULT BrowserImpl::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_PAINT: Paint(); return 0;
    case WM_ERASEBKGND: return 1;
    case WM_CONTEXTMENU: ShowContextMenu(lParam); return 0;
    case WM_CLOSE: CloseBrowser(false); return 0;
    case WM_DESTROY: OnWindowDestroyed(); return 0;
    }
    return DefWindowProcW(window_, msg, wParam, lParam);
}

std::wstring BrowserImpl::StatusText() const
{
    switch (state_) {
    case PageState::Loading: return L"正在加载…";
    case PageState::Loaded: return title_.empty() ? url_ : title_;
    case PageState::Failed: return L"无法访问此网页\n" + errorText_;
    case PageState::Crashed: return L"页面已崩溃";
    }
    return std::wstring();
}

void BrowserImpl::Paint()
{
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(window_, &ps);
    RECT client;
    GetClientRect(window_, &client);
    FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    RECT bar = client;
    bar.bottom = bar.top + kAddressBarHeight;
    HBRUSH barBrush = CreateSolidBrush(RGB(0xEE, 0xEE, 0xEE));
    FillRect(dc, &bar, barBrush);
    DeleteObject(barBrush);
    SetBkMode(dc, TRANSPARENT);
    HGDIOBJ oldFont = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    SetTextColor(dc, RGB(0x55, 0x55, 0x55));
    RECT address = bar;
    InflateRect(&address, -8, 0);
    DrawTextW(dc, url_.c_str(), -1, &address, DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_END_ELLIPSIS | DT_NOPREFIX);
    HFONT large = CreateFontW(-22, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                              CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, L"Microsoft YaHei");
    SelectObject(dc, large);
    SetTextColor(dc, RGB(0x22, 0x22, 0x22));
    RECT body = client;
    body.top = bar.bottom;
    InflateRect(&body, -16, -16);
    std::wstring text = StatusText();
    RECT measure = body;
    DrawTextW(dc, text.c_str(), -1, &measure, DT_CALCRECT | DT_CENTER | DT_WORDBREAK | DT_NOPREFIX);
    int offset = ((body.bottom - body.top) - (measure.bottom - measure.top)) / 2;
    if (offset > 0) body.top += offset;
    DrawTextW(dc, text.c_str(), -1, &body, DT_CENTER | DT_WORDBREAK | DT_NOPREFIX);
    SelectObject(dc, oldFont);
    DeleteObject(large);
    EndPaint(window_, &ps);
}

void BrowserImpl::ShowContextMenu(LPARAM screenPoint)
{
    CefRefPtr<MenuModel> model = new MenuModel();
    model->AddItem(MENU_ID_RELOAD, L"重新加载");
    CefRefPtr<MenuParams> params = new MenuParams(CM_TYPEFLAG_PAGE, url_);
    CefRefPtr<CefFrame> frame = GetMainFrame();
    CefRefPtr<CefContextMenuHandler> handler = client_ ? client_->GetContextMenuHandler() : nullptr;
    if (handler) handler->OnBeforeContextMenu(this, frame, params.get(), model.get());
    if (model->GetCount() == 0) return;
    HMENU menu = CreatePopupMenu();
    if (!menu) return;
    for (int i = 0; i < model->GetCount(); ++i)
        AppendMenuW(menu, MF_STRING, static_cast<UINT_PTR>(model->GetCommandIdAt(i)), model->GetLabelAt(i).c_str());
    POINT pt = { static_cast<short>(LOWORD(screenPoint)), static_cast<short>(HIWORD(screenPoint)) };
    if (screenPoint == -1) GetCursorPos(&pt);
    int command = TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON, pt.x, pt.y, 0, window_, nullptr);
    DestroyMenu(menu);
    if (command == 0) return;
    if (handler && handler->OnContextMenuCommand(this, frame, params.get(), command, 0)) return;
    if (command == MENU_ID_RELOAD) Reload();
}

void BrowserImpl::OnWindowDestroyed()
{
    if (closed_) return;
    closed_ = true;
    CefRefPtr<BrowserImpl> self = this; // the registry may hold the last reference
    if (CefRefPtr<CefLifeSpanHandler> lifeSpan = client_ ? client_->GetLifeSpanHandler() : nullptr)
        lifeSpan->OnBeforeClose(this);
    Registry().erase(id_);
    int id = id_;
    PostToRenderer([id] { RendererThread::Current()->RemoveBrowser(id); });
}

} // namespace cef_stand_in
