#include "PageCallClient.h"

#include "cef_stand_in.h"

namespace {
const wchar_t kReplyWindowClass[] = L"LumoraPageCallReply";
const UINT kCallTimeoutMs = 30000;
} // namespace

PageCallClient::~PageCallClient()
{
    if (replyWindow_) DestroyWindow(replyWindow_);
}

bool PageCallClient::Connect(DWORD processId)
{
    for (HWND wnd = FindWindowExW(nullptr, nullptr, CEF_PAGE_CHANNEL_CLASS, nullptr); wnd;
         wnd = FindWindowExW(nullptr, wnd, CEF_PAGE_CHANNEL_CLASS, nullptr)) {
        DWORD owner = 0;
        GetWindowThreadProcessId(wnd, &owner);
        if (processId == 0 || owner == processId) {
            channel_ = wnd;
            break;
        }
    }
    if (!channel_) return false;
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = ReplyWindowProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = kReplyWindowClass;
    RegisterClassExW(&wc);
    replyWindow_ = CreateWindowExW(0, kReplyWindowClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                   GetModuleHandleW(nullptr), this);
    return replyWindow_ != nullptr;
}

bool PageCallClient::Call(const std::string& request, std::string& reply)
{
    if (!channel_ || !replyWindow_) return false;
    COPYDATASTRUCT data = {};
    data.dwData = kCefPageCallRequest;
    data.cbData = static_cast<DWORD>(request.size());
    data.lpData = const_cast<char*>(request.data());
    answered_ = false;
    DWORD_PTR result = 0;
    // The answer comes back as a WM_COPYDATA sent to the reply window while
    // this thread waits here.
    if (!SendMessageTimeoutW(channel_, WM_COPYDATA, reinterpret_cast<WPARAM>(replyWindow_),
                             reinterpret_cast<LPARAM>(&data), SMTO_ABORTIFHUNG, kCallTimeoutMs, &result) ||
        !result || !answered_)
        return false;
    reply = reply_;
    return true;
}

LRESULT CALLBACK PageCallClient::ReplyWindowProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(wnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* client = reinterpret_cast<PageCallClient*>(GetWindowLongPtrW(wnd, GWLP_USERDATA));
    if (msg == WM_COPYDATA && client) {
        auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
        if (!data || data->dwData != kCefPageCallReply) return FALSE;
        client->reply_.assign(static_cast<const char*>(data->lpData), data->lpData ? data->cbData : 0);
        client->answered_ = true;
        return TRUE;
    }
    return DefWindowProcW(wnd, msg, wParam, lParam);
}
