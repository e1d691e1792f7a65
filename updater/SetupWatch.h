// Watches the setup package's process once it is started: a setup that ends
// before it reported completion (it crashed, or it never reports) must not
// leave the wizard waiting on its installing page for good.
#pragma once

#include <windows.h>

class SetupWatch
{
public:
    SetupWatch() = default;
    ~SetupWatch() { Stop(); }

    SetupWatch(const SetupWatch&) = delete;
    SetupWatch& operator=(const SetupWatch&) = delete;

    // Takes the process handle; `message` is posted to `window` when the
    // process ends. A watch already running is stopped first.
    bool Start(HANDLE process, HWND window, UINT message);
    // Ends the watch without a message; safe to call when none runs.
    void Stop();
    // True while a watched setup process has not ended.
    bool IsRunning() const { return m_process && WaitForSingleObject(m_process, 0) == WAIT_TIMEOUT; }

private:
    static unsigned __stdcall WatchThread(void* self);

    HANDLE m_process = nullptr;
    HANDLE m_stopEvent = nullptr;
    HANDLE m_thread = nullptr;
    HWND m_window = nullptr;
    UINT m_message = 0;
};
