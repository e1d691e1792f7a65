// Finding, waiting for and stopping processes: the main program before files
// are replaced, and the setup package before its file is deleted.
#pragma once

#include "ProcessTools.h" // process lookups shared with the finisher

#include <windows.h>

#include <string>

extern const wchar_t kMainProgramExe[];     // "lumora.exe"
extern const wchar_t kMainWindowProperty[]; // "lumora"

// The main program's window ("lumora" property) of the installation in
// installFolder, or null. Main programs of other installations are left alone.
HWND FindMainProgramWindow(const std::wstring& installFolder);

// Asks the installation's main program to quit (SC_CLOSE with 0x800), waits a
// second, then terminates what is left of it. Gives up after a bounded number
// of rounds on a process that cannot be ended.
void CloseMainProgram(const std::wstring& installFolder);

// Starts the installation's main program unless it runs already: a run that
// closed it gives it back, whatever became of the update.
void EnsureMainProgramRunning(const std::wstring& installFolder);
