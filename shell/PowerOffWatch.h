#pragma once
#include "PowerOffSchedule.h"
#include "SystemShutdown.h"

class SettingsStore;

// The timed power-off of the main window: asked once a second, it opens the
// countdown when the schedule says the time has come, and hands the countdown
// the settings it must keep following.
class CPowerOffWatch
{
public:
    static const int kCountdownSeconds = 10;

    // Tests pass a clock and a recorder in place of the real shutdown.
    explicit CPowerOffWatch(CSystemShutdown& shutdown = CSystemShutdown::System(),
                            PowerOffSchedule::Clock clock = &::GetLocalTime);

    // One check; false when the settings ask for no power-off, and the
    // checks can stop until it is switched on again.
    bool Check(const SettingsStore* settings);

private:
    void OpenCountdown(const SettingsStore& settings);

    CSystemShutdown& m_shutdown;
    PowerOffSchedule m_schedule;
};
