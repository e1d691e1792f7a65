// The download engine, the list file and the manifest's URLs are 8-bit text
// in the thread's ANSI code page; paths and versions for the installer are wide.
#pragma once

#include <string>

std::string ToAnsi(const std::wstring& text);
std::wstring FromAnsi(const std::string& text);

std::string WideToUtf8(const std::wstring& text);
std::wstring Utf8ToWide(const std::string& text);
