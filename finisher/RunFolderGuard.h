// What the finisher accepts on its command line before it deletes anything.
// The folder it is given is deleted with everything in it, so a wrong argument
// must not reach an unrelated tree.
#pragma once

#include <string>

// The updater's "config" file, written beside the copy by the first run.
extern const wchar_t kRunConfigFileName[];

// True for a bare file name such as "lumoraupd.exe": no folder, drive or
// wildcard part, not "." or "..", and no device name ("CON", "nul.exe").
bool IsPlainFileName(const std::wstring& name);

// The updater's temporary run folder as a full path with a trailing backslash,
// or empty when folder is not one: it must be an existing real folder (not a
// link) directly inside the user's temporary directory that holds the
// updater's "config" file. The temporary directory itself, drive roots,
// relative and wildcard paths are refused.
std::wstring VerifiedRunFolder(const std::wstring& folder);
