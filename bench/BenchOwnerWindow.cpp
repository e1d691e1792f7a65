#include "BenchOwnerWindow.h"

#include <algorithm>

namespace {

const wchar_t kOwnerClass[] = L"LumoraDownloadBenchOwner";

}  // namespace

BenchOwnerWindow::BenchOwnerWindow()
{
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = kOwnerClass;
    RegisterClassW(&windowClass);
    window_ = CreateWindowExW(0, kOwnerClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                              windowClass.hInstance, this);
}

BenchOwnerWindow::~BenchOwnerWindow()
{
    Drain();  // frees the records still queued
    DestroyWindow(window_);
}

LRESULT CALLBACK BenchOwnerWindow::WindowProc(HWND window, UINT message, WPARAM wParam,
                                              LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto self = reinterpret_cast<BenchOwnerWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self && message >= WM_DOWNLOAD_PROBED && message <= WM_MANIFEST_FAILED) {
        self->Record(message, wParam);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

void BenchOwnerWindow::Record(UINT message, WPARAM wParam)
{
    BenchMessage posted;
    posted.message = message;
    posted.wParam = wParam;
    if (message == WM_DOWNLOAD_PROBED) {
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

void BenchOwnerWindow::Drain()
{
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

bool BenchOwnerWindow::PumpUntil(const std::function<bool()>& done, DWORD limitMs, DWORD pollMs)
{
    const DWORD started = GetTickCount();
    while (!done()) {
        DWORD elapsed = GetTickCount() - started;
        if (elapsed >= limitMs)
            return false;
        // A short wait, so a poll on progress reacts within a few milliseconds.
        MsgWaitForMultipleObjects(0, nullptr, FALSE, std::min<DWORD>(limitMs - elapsed, pollMs),
                                  QS_ALLINPUT);
        Drain();
    }
    return true;
}

BenchMessage BenchOwnerWindow::WaitForAny(std::initializer_list<UINT> wanted, DWORD limitMs)
{
    BenchMessage found;
    PumpUntil(
        [&]() {
            for (; seen_ < messages_.size(); ++seen_) {
                if (std::find(wanted.begin(), wanted.end(), messages_[seen_].message) !=
                    wanted.end()) {
                    found = messages_[seen_++];
                    return true;
                }
            }
            return false;
        },
        // Only messages end this wait: waking every few milliseconds would
        // load Wine's server, which the transfer being timed shares.
        limitMs, 250);
    return found;
}
