#pragma once
#include <windows.h>

class SettingsStore;

// When the timed power-off is due: at the chosen hour and minute of every
// day, for as long as the user keeps it switched on. The main window asks
// once a second; one chosen time is due once per day, however often it asks
// within that minute and whether or not the user cancelled the countdown.
class PowerOffSchedule
{
public:
    // The local time; tests put a clock of their own in its place.
    using Clock = void(WINAPI*)(SYSTEMTIME* now);

    explicit PowerOffSchedule(Clock clock = &::GetLocalTime) : m_clock(clock) { }

    // Whether the countdown should start now under these settings.
    bool Due(const SettingsStore& settings);
    // Whether the settings ask for a power-off at all.
    static bool Armed(const SettingsStore& settings);

private:
    struct Moment
    {
        WORD year, month, day, hour, minute;
    };
    static bool Same(const Moment& a, const Moment& b);

    Clock m_clock;
    bool m_fired = false;
    Moment m_lastFired = {};
};
