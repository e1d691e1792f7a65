// Deleting the updater's working files once an update is over: the download
// list, the manifest, the empty "cache" folder and the setup package (after
// the setup process has ended).
#pragma once

#include <windows.h>

#include <string>

// Deletes "updatefile.list", the manifest and "cache" (only when empty).
void DeleteWorkingFiles(const std::wstring& manifestPath);

// Waits up to waitMs for the process that runs setupFile (matched by its file
// name part) to end, then deletes the file: up to 5 tries, 100 ms apart.
void WaitSetupAndDelete(const std::wstring& setupFile, DWORD waitMs);

// What the wizard leaves when it closes: the manifest goes, and so do the
// partial files of stopped tasks when no download list can resume them;
// `cacheName` (with trailing backslash) goes only when empty.
void DeleteLeftoversOfWizard(const std::wstring& manifestPath, const std::wstring& installFolder,
                             const wchar_t* cacheName);

// Deletes the working files, then deletes the setup file on a helper thread,
// waiting for that at most 30 seconds.
void CleanupWorkingFilesAndSetup(const std::wstring& manifestPath, const std::wstring& setupFile);
