#pragma once
#include <windows.h>

#include <cstdint>

class SettingsStore;

// When the timed power-off is due: at the chosen hour and minute of every
// day, for as long as the user keeps it switched on. The main window asks
// once a second; one chosen time is due once per day, however often it asks
// within that minute and whether or not the user cancelled the countdown.
// A window kept busy across the chosen minute asks late: the minute still
// counts when the next question comes within kLateMinutes of it, and never
// after.
class PowerOffSchedule
{
public:
    // The local time; tests put a clock of their own in its place.
    using Clock = void(WINAPI*)(SYSTEMTIME* now);
    static const int64_t kLateMinutes = 5;

    explicit PowerOffSchedule(Clock clock = &::GetLocalTime) : m_clock(clock) { }

    // Whether the countdown should start now under these settings.
    bool Due(const SettingsStore& settings);
    // Whether the settings ask for a power-off at all.
    static bool Armed(const SettingsStore& settings);
    // Whether these settings still ask for the power-off at this hour and minute.
    static bool Wants(const SettingsStore& settings, int hour, int minute);
    // The power-off was switched off: a later switch-on starts afresh, so a
    // time chosen already past is not taken for a missed one.
    void Forget() { m_asked = false; }

private:
    static int64_t MinuteOf(const SYSTEMTIME& time);

    Clock m_clock;
    bool m_asked = false;
    int64_t m_lastAskedMinute = 0; // minutes since 1601, local time
};
