// The updater's readers of its own files, which anything on the machine can change: the
// download list "updatefile.list", the downloaded update manifest and the ".Cfg" resume
// records of a stopped download.
#pragma once
#include <windows.h>

#include <cstddef>
#include <string>

void PrepareUpdaterFolder(const std::wstring& resources);
// The input is the list's plain JSON text; it is enciphered as the updater stores it.
void RunDownloadList(const BYTE* data, size_t size);
void RunManifest(const BYTE* data, size_t size);
void RunResumeRecords(const BYTE* data, size_t size);
