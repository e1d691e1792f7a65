#include "PowerOffSchedule.h"

#include "SettingsStore.h"

namespace {

const int64_t kMinutesPerDay = 24 * 60;
const int64_t kFileTimeTicksPerMinute = 600000000; // 100 ns ticks

} // namespace

bool PowerOffSchedule::Armed(const SettingsStore& settings)
{
    return settings.powerOffArmed && settings.poweroffhour >= 0 && settings.poweroffminute >= 0;
}

bool PowerOffSchedule::Wants(const SettingsStore& settings, int hour, int minute)
{
    return Armed(settings) && settings.poweroffhour == hour && settings.poweroffminute == minute;
}

int64_t PowerOffSchedule::MinuteOf(const SYSTEMTIME& time)
{
    FILETIME fileTime = {};
    if (!::SystemTimeToFileTime(&time, &fileTime)) return 0;
    ULARGE_INTEGER ticks;
    ticks.LowPart = fileTime.dwLowDateTime;
    ticks.HighPart = fileTime.dwHighDateTime;
    return static_cast<int64_t>(ticks.QuadPart / kFileTimeTicksPerMinute);
}

// Due when the latest occurrence of the chosen minute lies after the minute
// of the previous question (so each occurrence counts once, also when the
// question comes late) and no more than kLateMinutes back. The first
// question after a start or a switch-on only looks at the current minute.
bool PowerOffSchedule::Due(const SettingsStore& settings)
{
    if (!Armed(settings)) {
        Forget();
        return false;
    }
    SYSTEMTIME now = {};
    m_clock(&now);
    const int64_t nowMinute = MinuteOf(now);
    const int64_t previous = m_asked ? m_lastAskedMinute : nowMinute - 1;
    m_asked = true;
    m_lastAskedMinute = nowMinute;
    const int64_t minuteOfDay = now.wHour * 60 + now.wMinute;
    const int64_t chosenOfDay = settings.poweroffhour * 60 + settings.poweroffminute;
    const int64_t sinceChosen = (minuteOfDay - chosenOfDay + kMinutesPerDay) % kMinutesPerDay;
    const int64_t chosenMinute = nowMinute - sinceChosen;
    return chosenMinute > previous && sinceChosen < kLateMinutes;
}
