// Crash dumps of the updater's temporary run: a minidump in the folder "Log"
// beside the running executable, named after the local time of the crash.
#pragma once

#include <windows.h>
#include <dbghelp.h>

using MiniDumpWriteDumpFn = BOOL(WINAPI*)(HANDLE process, DWORD processId, HANDLE file, MINIDUMP_TYPE type,
                                          PMINIDUMP_EXCEPTION_INFORMATION exception,
                                          PMINIDUMP_USER_STREAM_INFORMATION userStreams,
                                          PMINIDUMP_CALLBACK_INFORMATION callback);

// Loads "DBGHELP.DLL" and takes its MiniDumpWriteDump for WriteCrashDump. Called
// once at start: a crashing process is no place to load libraries. False when
// the library or the entry point is missing; crashes then leave no dump.
bool LoadMiniDumpWriter();

// The writer WriteCrashDump calls; null means no dump is written.
void SetMiniDumpWriter(MiniDumpWriteDumpFn writer);

// Creates "Log" beside the executable when missing and writes
// "Log\YYYY-MM-DD HHMMSS.dmp" there (replacing a file of that name), with the
// exception's thread and context when exception is not null.
void WriteCrashDump(EXCEPTION_POINTERS* exception);

// The unhandled-exception filter: writes the dump, then lets the process end
// without the system's error dialog.
LONG WINAPI UpdateCrashFilter(EXCEPTION_POINTERS* exception);
