#include "PowerOffWatch.h"

#include "SettingsStore.h"
#include "WaitPoweroff.h"

namespace {

const wchar_t kCountdownTitle[] = L"自动关机程序";
const DWORD kCountdownStyle = 0x86C80000;
const DWORD kCountdownExStyle = 0x188; // topmost tool window
const int kCountdownWidth = 360;
const int kCountdownHeight = 160;

} // namespace

CPowerOffWatch::CPowerOffWatch(CSystemShutdown& shutdown, PowerOffSchedule::Clock clock)
    : m_shutdown(shutdown), m_schedule(clock)
{ }

bool CPowerOffWatch::Check(const SettingsStore* settings)
{
    if (settings == nullptr || !PowerOffSchedule::Armed(*settings)) {
        m_schedule.Forget();
        return false;
    }
    if (m_schedule.Due(*settings)) OpenCountdown(*settings);
    return true;
}

void CPowerOffWatch::OpenCountdown(const SettingsStore& settings)
{
    CWaitPoweroff* countdown = new CWaitPoweroff(m_shutdown);
    if (!countdown->Create(nullptr, kCountdownTitle, kCountdownStyle, kCountdownExStyle)) {
        delete countdown; // without a window the object stays ours
        return;
    }
    countdown->FollowSchedule(&settings, settings.poweroffhour, settings.poweroffminute);
    countdown->MoveWindow(0, 0, kCountdownWidth, kCountdownHeight);
    countdown->CenterWindow();
    countdown->StartCountdown(kCountdownSeconds);
    countdown->Show(true, true);
}
