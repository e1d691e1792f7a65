// Points where the end-to-end tests stop the updater as a crash or a kill
// would. They exist only in the test build of the updater (LUMORA_TEST_SEAMS);
// in the shipped program they are empty.
#pragma once

#ifdef LUMORA_TEST_SEAMS
#include <windows.h>

#include <cstring>

// Ends the process at once when LUMORA_TEST_KILL_AT names this point.
inline void TestKillPoint(const char* name)
{
    char value[64] = {};
    DWORD length = GetEnvironmentVariableA("LUMORA_TEST_KILL_AT", value, sizeof(value));
    if (length > 0 && length < sizeof(value) && strcmp(value, name) == 0)
        TerminateProcess(GetCurrentProcess(), 86);
}
#else
inline void TestKillPoint(const char*) {}
#endif
