// A hidden window that runs tasks posted to its thread from any thread.
#pragma once
#include <windows.h>

#include <atomic>

#include "EngineInternal.h"

namespace cef_stand_in {

class TaskWindow
{
public:
    TaskWindow() = default;
    TaskWindow(const TaskWindow&) = delete;
    TaskWindow& operator=(const TaskWindow&) = delete;
    ~TaskWindow() { Destroy(); }

    // On the thread that is to run the tasks.
    bool Create();
    // Tasks still queued are dropped unrun.
    void Destroy();
    bool Post(Task task) const;

private:
    static LRESULT CALLBACK WindowProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);
    std::atomic<HWND> window_{ nullptr };
};

} // namespace cef_stand_in
