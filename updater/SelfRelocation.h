// The updater never works from the program folder: the first run copies the
// executable into a fresh folder under TEMP, notes the program folder in the
// "config" INI beside the copy and starts the copy; the copy does the work and
// finally hands its folder to the finisher, which deletes it.
#pragma once

#include <windows.h>

#include <string>

extern const wchar_t kRunConfigName[];   // "config"
extern const wchar_t kUpdaterExeName[];  // "lumoraupd.exe"
extern const wchar_t kFinisherExeName[]; // "Uprelay.exe"

// The user's temporary directory, with trailing backslash.
std::wstring TemporaryDirectory();

// The copy lies directly inside the temporary directory (case ignored). An
// installation deeper under TEMP is not taken for the copy, so its own folder
// is never handed to the finisher.
bool IsTemporaryRunPath(const std::wstring& ownPath, const std::wstring& tempDirectory);

// A new folder of 8 random characters from [0-9a-zA-Z] in the temporary
// directory, with trailing backslash; empty after 10 failed tries.
std::wstring CreateRunFolder(const std::wstring& tempDirectory);

bool WriteRunConfig(const std::wstring& runFolder, const std::wstring& programFolder);
// The "config" path value, or empty when the file or key is missing.
std::wstring ReadRunConfig(const std::wstring& runFolder);

// Every argument from argv[1] on, each followed by one blank; at most 1023
// characters (a longer line is cut before the argument that does not fit).
std::wstring BuildForwardedParameters(int argc, const wchar_t* const* argv);

// The finisher's parameters: the updater's file name and the run folder,
// quoted and without its trailing backslash (a quoted argument ending in a
// backslash would swallow the closing quote).
std::wstring BuildFinisherParameters(const std::wstring& runFolder);

// Starts the finisher from the program folder with CreateProcessW. False when
// it did not start.
bool StartFinisher(const std::wstring& programFolder, const std::wstring& runFolder);
