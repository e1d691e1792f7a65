// The named waitable timer that paces the reports of the setup download's
// progress: the manifest check starts it for a download, the installation
// for the setup, and the reporting thread re-arms it after each report.
#pragma once

#include <windows.h>

// Null when the timer cannot be made.
HANDLE CreateSetupProgressTimer();
// The timer fires once, a second from now.
void ArmSetupProgressTimer(HANDLE timer);
