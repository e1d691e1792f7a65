#include "PowerOffSchedule.h"

#include "SettingsStore.h"

bool PowerOffSchedule::Armed(const SettingsStore& settings)
{
    return settings.powerOffArmed && settings.poweroffhour >= 0 && settings.poweroffminute >= 0;
}

bool PowerOffSchedule::Due(const SettingsStore& settings)
{
    if (!Armed(settings)) return false;
    SYSTEMTIME now = {};
    m_clock(&now);
    if (settings.poweroffhour != now.wHour || settings.poweroffminute != now.wMinute) return false;
    // The minute of one day counts once; a time moved to later the same day,
    // or the same time the next day, is a new one.
    const Moment moment = { now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute };
    if (m_fired && Same(moment, m_lastFired)) return false;
    m_fired = true;
    m_lastFired = moment;
    return true;
}

bool PowerOffSchedule::Same(const Moment& a, const Moment& b)
{
    return a.year == b.year && a.month == b.month && a.day == b.day && a.hour == b.hour && a.minute == b.minute;
}
