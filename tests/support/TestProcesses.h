// Processes a test started, or that what it started started in turn, found by
// their file name or by the folder they run from, so that a test ends them all
// before the next one reuses names, folders and locks.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

struct RunningProcess
{
    DWORD id = 0;
    std::wstring image; // full path; empty when the process could not be opened
};

// The running processes with this file name, letter case ignored.
std::vector<RunningProcess> ProcessesNamed(const wchar_t* name);

// Ends every process with this file name and waits for each to be gone.
void KillProcessesNamed(const wchar_t* name);

// Ends every process whose program lies in this folder or below it, and waits
// for each to be gone: a process still running from a folder keeps it from
// being deleted.
void KillProcessesUnder(const std::wstring& folder);
