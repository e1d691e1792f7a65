// The stand-in's automation channel: runs page calls (see cef_stand_in.h) on
// the renderer thread, for tests in the process and, through a hidden window
// that takes WM_COPYDATA, for tools/pagecall in another process.
#pragma once
#include <windows.h>

#include <string>

namespace cef_stand_in {

class PageChannel
{
public:
    PageChannel() = default;
    PageChannel(const PageChannel&) = delete;
    PageChannel& operator=(const PageChannel&) = delete;
    ~PageChannel() { Destroy(); }

    // Renderer thread.
    bool Create();
    void Destroy();
    // Runs one request and returns the answer (both UTF-8 JSON).
    static std::string Handle(const std::string& request);

private:
    static LRESULT CALLBACK WindowProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);
    static LRESULT OnCopyData(HWND wnd, HWND replyTo, const COPYDATASTRUCT* data);
    HWND window_ = nullptr;
};

} // namespace cef_stand_in
