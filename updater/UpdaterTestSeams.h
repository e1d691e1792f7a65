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
    if (length == 0 || length >= sizeof(value) || strcmp(value, name) != 0) return;
    // The test waits for this note, then for the process to be gone.
    char note[MAX_PATH + 32] = {};
    DWORD folder = GetTempPathA(MAX_PATH, note);
    if (folder > 0 && folder < MAX_PATH) {
        strcat(note, "lumora_kill_point.txt");
        HANDLE file = CreateFileA(note, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            DWORD written = 0;
            WriteFile(file, name, static_cast<DWORD>(strlen(name)), &written, nullptr);
            CloseHandle(file);
        }
    }
    TerminateProcess(GetCurrentProcess(), 86);
}

// Waits, a minute at most, where LUMORA_TEST_PAUSE_AT names this point: the
// test learns of the wait from a note in TEMP and ends it by deleting the note.
inline void TestPausePoint(const char* name)
{
    char value[64] = {};
    DWORD length = GetEnvironmentVariableA("LUMORA_TEST_PAUSE_AT", value, sizeof(value));
    if (length == 0 || length >= sizeof(value) || strcmp(value, name) != 0) return;
    char note[MAX_PATH + 32] = {};
    DWORD folder = GetTempPathA(MAX_PATH, note);
    if (folder == 0 || folder >= MAX_PATH) return;
    strcat(note, "lumora_pause_point.txt");
    HANDLE file =
        CreateFileA(note, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    CloseHandle(file);
    for (int i = 0; i < 600 && GetFileAttributesA(note) != INVALID_FILE_ATTRIBUTES; ++i) Sleep(100);
}
#else
inline void TestKillPoint(const char*) { }
inline void TestPausePoint(const char*) { }
#endif
