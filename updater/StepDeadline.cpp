#include "StepDeadline.h"

void StepDeadline::Arm(HWND window)
{
    if (::SetTimer(window, timerId_, stepMs_, nullptr))
        window_ = window;
}

void StepDeadline::Disarm()
{
    if (window_)
        ::KillTimer(window_, timerId_);
    window_ = nullptr;
}

bool StepDeadline::Expired(WPARAM timerId)
{
    if (!window_ || timerId != timerId_)
        return false;
    Disarm();
    return true;
}
