#include "TaskWindow.h"

#include <memory>

namespace cef_stand_in {

namespace {
const wchar_t kTaskWindowClass[] = L"LumoraCefTaskWindow";
const UINT kRunTaskMessage = WM_APP + 0x100;

bool RegisterTaskClass(WNDPROC proc)
{
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = kTaskWindowClass;
    return RegisterClassExW(&wc) || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}
} // namespace

bool TaskWindow::Create()
{
    if (window_) return true;
    if (!RegisterTaskClass(WindowProc)) return false;
    window_ = CreateWindowExW(0, kTaskWindowClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, GetModuleHandleW(nullptr),
                              nullptr);
    return window_ != nullptr;
}

void TaskWindow::Destroy()
{
    HWND wnd = window_.exchange(nullptr);
    if (!wnd) return;
    MSG msg;
    while (PeekMessageW(&msg, wnd, kRunTaskMessage, kRunTaskMessage, PM_REMOVE)) {
        delete reinterpret_cast<Task*>(msg.lParam);
    }
    DestroyWindow(wnd);
}

bool TaskWindow::Post(Task task) const
{
    HWND wnd = window_;
    if (!wnd) return false;
    auto* queued = new Task(std::move(task));
    if (PostMessageW(wnd, kRunTaskMessage, 0, reinterpret_cast<LPARAM>(queued))) return true;
    delete queued;
    return false;
}

LRESULT CALLBACK TaskWindow::WindowProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == kRunTaskMessage) {
        std::unique_ptr<Task> task(reinterpret_cast<Task*>(lParam));
        if (task && *task) (*task)();
        return 0;
    }
    return DefWindowProcW(wnd, msg, wParam, lParam);
}

} // namespace cef_stand_in
