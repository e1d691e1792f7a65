#include "StepDeadline.h"

void StepDeadline::Arm(HWND window)
{
    if (::SetTimer(window, m_timerId, m_stepMs, nullptr)) m_window = window;
}

void StepDeadline::Disarm()
{
    if (m_window) ::KillTimer(m_window, m_timerId);
    m_window = nullptr;
}

bool StepDeadline::Expired(WPARAM timerId)
{
    if (!m_window || timerId != m_timerId) return false;
    Disarm();
    return true;
}
