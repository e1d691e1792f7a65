#include "MessageRecorder.h"

#include <algorithm>

namespace {

const wchar_t kRecorderClass[] = L"LumoraTestMessageRecorder";

} // namespace

MessageRecorder::MessageRecorder(DWORD pollMs) : pollMs_(pollMs)
{
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = kRecorderClass;
    RegisterClassW(&windowClass);
    window_ =
        CreateWindowExW(0, kRecorderClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, windowClass.hInstance, this);
}

MessageRecorder::~MessageRecorder()
{
    // Free what is still queued, as the wizard would.
    Drain();
    DestroyWindow(window_);
}

LRESULT CALLBACK MessageRecorder::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto self = reinterpret_cast<MessageRecorder*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self && message >= WM_USER + 1001 && message <= WM_USER + 1011) {
        self->Record(message, wParam, lParam);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

void MessageRecorder::Record(UINT message, WPARAM wParam, LPARAM lParam)
{
    PostedMessage posted;
    posted.message = message;
    posted.wParam = wParam;
    posted.lParam = lParam;
    if (message == WM_DOWNLOAD_PROBED) {
        posted.url = reinterpret_cast<const char*>(wParam);
        FreePostedUrl(wParam);
        posted.wParam = 0;
    } else if (message == WM_DOWNLOAD_COMPLETED) {
        auto record = reinterpret_cast<CompletedDownloadRecord*>(wParam);
        posted.completed = *record;
        delete record;
        posted.wParam = 0;
    }
    messages_.push_back(posted);
}

bool MessageRecorder::PumpUntil(const std::function<bool()>& done, DWORD limitMs)
{
    return PumpUntil(done, limitMs, pollMs_);
}

bool MessageRecorder::PumpUntil(const std::function<bool()>& done, DWORD limitMs, DWORD pollMs)
{
    const DWORD started = GetTickCount();
    while (!done()) {
        DWORD elapsed = GetTickCount() - started;
        if (elapsed >= limitMs) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, std::min<DWORD>(limitMs - elapsed, pollMs), QS_ALLINPUT);
        Drain();
    }
    return true;
}

PostedMessage MessageRecorder::WaitFrom(size_t* seen, std::initializer_list<UINT> wanted, DWORD limitMs)
{
    PostedMessage found;
    PumpUntil(
        [&]() {
            for (; *seen < messages_.size(); ++*seen) {
                if (std::find(wanted.begin(), wanted.end(), messages_[*seen].message) != wanted.end()) {
                    found = messages_[*seen];
                    return true;
                }
            }
            return false;
        },
        // Only a message ends this wait, and a message wakes it: no need to
        // wake every few milliseconds and load Wine's server meanwhile.
        limitMs, kMessageWaitPollMs);
    return found;
}

PostedMessage MessageRecorder::WaitForAny(std::initializer_list<UINT> wanted, DWORD limitMs)
{
    size_t seen = 0;
    return WaitFrom(&seen, wanted, limitMs);
}

PostedMessage MessageRecorder::WaitForNext(std::initializer_list<UINT> wanted, DWORD limitMs)
{
    PostedMessage found = WaitFrom(&next_, wanted, limitMs);
    if (found.message != 0) ++next_;
    return found;
}

void MessageRecorder::Drain()
{
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

bool MessageRecorder::Has(UINT message) const
{
    for (const PostedMessage& posted : messages_) {
        if (posted.message == message) return true;
    }
    return false;
}
