// Points where the end-to-end tests stop the updater as a crash or a kill
// would. They exist only in the test build of the updater (LUMORA_TEST_SEAMS);
// in the shipped program they are empty.
#pragma once

#ifdef LUMORA_TEST_SEAMS
#include <windows.h>

#include <cstring>

// True when the environment variable names this point.
inline bool TestPointNamed(const char* variable, const char* name)
{
    char value[64] = {};
    DWORD length = GetEnvironmentVariableA(variable, value, sizeof(value));
    return length != 0 && length < sizeof(value) && strcmp(value, name) == 0;
}

// Writes the note a test waits for into TEMP; false when it could not.
inline bool WriteTestNote(const char* fileName, const char* text, char (&note)[MAX_PATH + 32])
{
    DWORD folder = GetTempPathA(MAX_PATH, note);
    if (folder == 0 || folder >= MAX_PATH) return false;
    strcat(note, fileName);
    HANDLE file =
        CreateFileA(note, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    WriteFile(file, text, static_cast<DWORD>(strlen(text)), &written, nullptr);
    CloseHandle(file);
    return true;
}

// Ends the process at once when LUMORA_TEST_KILL_AT names this point.
inline void TestKillPoint(const char* name)
{
    if (!TestPointNamed("LUMORA_TEST_KILL_AT", name)) return;
    // The test waits for this note, then for the process to be gone.
    char note[MAX_PATH + 32] = {};
    WriteTestNote("lumora_kill_point.txt", name, note);
    TerminateProcess(GetCurrentProcess(), 86);
}

// Waits, a minute at most, where LUMORA_TEST_PAUSE_AT names this point: the
// test learns of the wait from a note in TEMP and ends it by deleting the note.
inline void TestPausePoint(const char* name)
{
    if (!TestPointNamed("LUMORA_TEST_PAUSE_AT", name)) return;
    char note[MAX_PATH + 32] = {};
    if (!WriteTestNote("lumora_pause_point.txt", name, note)) return;
    for (int i = 0; i < 600 && GetFileAttributesA(note) != INVALID_FILE_ATTRIBUTES; ++i) Sleep(100);
}
#else
inline void TestKillPoint(const char*) { }
inline void TestPausePoint(const char*) { }
#endif
