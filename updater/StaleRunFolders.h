// Run folders that earlier updater runs left in TEMP (a run stopped before it
// could start the finisher): the next first run removes those of its own
// installation.
#pragma once

#include <string>

// Deletes every folder directly in tempDirectory that holds the updater's
// "config" naming programFolder, except keepFolder. Only real folders that
// pass the finisher's run folder checks are touched.
void RemoveStaleRunFolders(const std::wstring& tempDirectory, const std::wstring& programFolder,
                           const std::wstring& keepFolder);
