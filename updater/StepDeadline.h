// A deadline for one network step at a time, kept by a window timer of the
// window that waits for the step. WinINet's own time-out options are not
// relied on: some WinINet builds ignore them, and a server that accepts the
// connection and never answers would then keep the caller waiting for good.
#pragma once

#include <windows.h>

class StepDeadline
{
public:
    StepDeadline(UINT_PTR timerId, UINT stepMs) : m_timerId(timerId), m_stepMs(stepMs) { }
    ~StepDeadline() { Disarm(); }

    StepDeadline(const StepDeadline&) = delete;
    StepDeadline& operator=(const StepDeadline&) = delete;

    // Starts the clock of the next step (again, when one was running).
    void Arm(HWND window);
    void Disarm();
    bool IsArmed() const { return m_window != nullptr; }
    // True for the WM_TIMER of this deadline; the deadline is then over.
    bool Expired(WPARAM timerId);

private:
    UINT_PTR m_timerId;
    UINT m_stepMs;
    HWND m_window = nullptr;
};
