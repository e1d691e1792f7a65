#include "SetupProgressTimer.h"

namespace {

const wchar_t kProgressTimerName[] = L"lumoravid_Update_Skerry_timer";

} // namespace

HANDLE CreateSetupProgressTimer()
{
    return CreateWaitableTimerW(nullptr, TRUE, kProgressTimerName);
}

void ArmSetupProgressTimer(HANDLE timer)
{
    LARGE_INTEGER due;
    due.QuadPart = -10000000LL; // one second from now
    SetWaitableTimer(timer, &due, 0, nullptr, nullptr, FALSE);
}
