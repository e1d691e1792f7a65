// The size and SHA-256 that the signed manifest gives for every file it
// names. A download counts as finished, and a file may be moved into the
// program folder or started, only while its bytes still match them.
#pragma once

#include <windows.h>

#include <string>

struct FileDigest
{
    DWORD size = 0;
    std::string sha256; // 64 lowercase hex digits

    bool operator==(const FileDigest& other) const { return size == other.size && sha256 == other.sha256; }
};

// The SHA-256 of `bytes` (raw, 32 bytes) through the platform's CNG; empty
// when the platform cannot hash.
std::string Sha256Of(const std::string& bytes);

// Reads the file and hashes it; false when it cannot be read or is past 4 GiB.
bool ComputeFileDigest(const std::string& path, FileDigest& digest);
bool ComputeFileDigest(const std::wstring& path, FileDigest& digest);

bool FileMatchesDigest(const std::string& path, const FileDigest& expected);
bool FileMatchesDigest(const std::wstring& path, const FileDigest& expected);

// The manifest's "SIZE" (decimal, at most 32 bits) and "SHA256" (64 hex
// digits, either case) values; false when either is missing or malformed.
bool ParseFileDigest(const std::wstring& sizeText, const std::wstring& shaText, FileDigest& digest);

std::string ToHex(const std::string& bytes);
