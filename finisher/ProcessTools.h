// Finding and stopping the updater's temporary copy.
#pragma once

#include <windows.h>

#include <string>

// FindProcessIdByName's answer when no process has the name.
const DWORD kNoProcessId = 0xFFFFFFFF;

// Window property the updater's wizard window carries.
extern const wchar_t kUpdaterWindowProperty[];

// Lets the finisher open and terminate the updater even when it runs elevated
// differently; every failure is ignored.
void EnableDebugPrivilege();

// Id of the first process whose file name equals exeName exactly (case
// matters), or kNoProcessId.
DWORD FindProcessIdByName(const wchar_t* exeName);

// First process named exeName (exactly) whose executable lies directly in
// folder (compared ignoring case, short names expanded), or kNoProcessId.
DWORD FindProcessIdInFolder(const wchar_t* exeName, const std::wstring& folder);

// True when the executable of the process lies directly in folder.
bool ProcessLiesIn(DWORD processId, const std::wstring& folder);

// A handle (SYNCHRONIZE only) to the first thread of the process, which ends
// when the process ends; null when there is none.
HANDLE OpenFirstThreadOfProcess(DWORD processId);

// First top-level window, hidden ones included, that carries
// kUpdaterWindowProperty and belongs to the process; null when there is none.
HWND FindUpdateDialogWindowOf(DWORD processId);
