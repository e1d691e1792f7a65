// What a manifest from the update server may make the updater do on disk.
// Its names and folders come from the network: every one is checked here
// before a file is fetched, moved or deleted for it.
#pragma once

#include <string>

// True when `folder` (a target folder of a "FILE" entry, as resolved from its
// PATH) is the install folder or one of its sub-folders once "." and ".."
// steps are resolved. Absolute folders elsewhere, other drives, UNC shares,
// device paths and the system folders ("$S", "$W") are refused.
bool IsTargetInsideInstallFolder(const std::wstring& folder, const std::wstring& installFolder);

// The file part of a setup entry ("RUN"/"NAME", "SETUP"/"NAME"): a plain file
// name that lands in "cache" and then in the install folder, nothing more.
bool IsSafeSetupName(const std::wstring& name);

// True for the name (any case) of a file the installation itself consists
// of: lumora.exe, lumoraupd.exe, Uprelay.exe, uninst.exe, LumoraPlugin.dll.
bool IsProgramFileName(const std::wstring& name);

// Text from the manifest shown in a control that reads tags ("{f 0}",
// "{i image}", "<a ...>"): brackets become their escapes, so the text shows
// as it stands and cannot name fonts, images or links.
std::wstring EscapeTaggedText(const std::wstring& text);

// Writes one line to the debugger output, where the updater's refusals of a
// hostile manifest can be read ("lumoraupd: ...").
void LogManifestRefusal(const std::wstring& what, const std::wstring& value);

// A manifest value read into a buffer of `capacity` characters that filled it
// may have been cut: such a name is not the one the server meant.
bool MayBeCut(const std::wstring& value, size_t capacity);
