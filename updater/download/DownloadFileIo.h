// File access of the download engine: the partial file is written in place
// by byte ranges and the resume record file only grows; both are shared by
// the range threads, so each open-write-close runs under the download's
// write lock (an auto-reset event).
#pragma once

#include <windows.h>

#include <string>

// Result: 0, or the system error code.
DWORD WriteFileAtOffset(HANDLE writeLock, const std::string& path, DWORD offset, const void* data, DWORD size);
// The same on a file the caller keeps open (see OpenForWriting).
DWORD WriteOpenFileAtOffset(HANDLE writeLock, HANDLE file, DWORD offset, const void* data, DWORD size);
// Opens (or creates) a partial file for writing in place, shared with the
// other ranges; INVALID_HANDLE_VALUE on failure.
HANDLE OpenForWriting(const std::string& path);
DWORD AppendToFile(HANDLE writeLock, const std::string& path, const void* data, DWORD size);
// Makes `data` the whole file at once: a new file written and flushed beside
// it takes its place, so a kill at any point leaves the old or the new file
// whole. 0 or the system error code.
DWORD ReplaceFileContents(HANDLE writeLock, const std::string& path, const void* data, DWORD size);
// Reads `size` bytes that start `distance` bytes before the end of the file.
DWORD ReadFromFileEnd(const std::string& path, DWORD distance, void* data, DWORD size);
// Size of an existing file; false when it cannot be opened or is 4 GiB or more.
bool QueryFileSize(const std::string& path, DWORD& size);
// Creates the file empty, cutting off whatever an earlier run left in it.
DWORD TruncateOrCreateFile(const std::string& path);
