#include "ManifestRules.h"

#include "SafeFileName.h"

#include <windows.h>

namespace {

std::wstring WithBackslash(std::wstring folder)
{
    if (!folder.empty() && folder.back() != L'\\') folder += L'\\';
    return folder;
}

// Resolves "." and ".." and relative parts against the current directory,
// which is the install folder during a run.
std::wstring FullFolder(const std::wstring& folder)
{
    wchar_t buffer[MAX_PATH * 2] = {};
    DWORD length = GetFullPathNameW(folder.c_str(), MAX_PATH * 2, buffer, nullptr);
    if (length == 0 || length >= MAX_PATH * 2) return std::wstring();
    return WithBackslash(buffer);
}

bool IsDriveRooted(const std::wstring& path)
{
    return path.size() >= 3 && iswalpha(path[0]) && path[1] == L':' && path[2] == L'\\';
}

bool StartsWithIgnoringCase(const std::wstring& text, const std::wstring& prefix)
{
    return text.size() >= prefix.size() &&
        CompareStringOrdinal(text.c_str(), static_cast<int>(prefix.size()), prefix.c_str(),
                             static_cast<int>(prefix.size()), TRUE) == CSTR_EQUAL;
}

} // namespace

bool IsTargetInsideInstallFolder(const std::wstring& folder, const std::wstring& installFolder)
{
    if (folder.empty() || installFolder.empty()) return false;
    // Device, UNC and stream paths, and wildcards, never name a folder of ours.
    if (folder.find_first_of(L"*?\"<>|/") != std::wstring::npos || folder.compare(0, 2, L"\\\\") == 0) return false;
    if (folder.find(L':') != std::wstring::npos &&
        (!IsDriveRooted(folder) || folder.find(L':', 2) != std::wstring::npos))
        return false;
    std::wstring target = FullFolder(folder);
    std::wstring install = FullFolder(installFolder);
    if (target.empty() || install.empty() || !IsDriveRooted(install)) return false;
    return StartsWithIgnoringCase(target, install);
}

bool IsSafeSetupName(const std::wstring& name)
{
    return IsSafeFileName(name);
}

bool IsProgramFileName(const std::wstring& name)
{
    static const wchar_t* const kProgramFiles[] = { L"lumora.exe", L"lumoraupd.exe", L"Uprelay.exe", L"uninst.exe",
                                                    L"LumoraPlugin.dll" };
    // Windows drops trailing dots and blanks from a name, and a short name
    // ("LUMORA~1.DLL") opens the long one: both may reach a program file.
    if (name.find(L'~') != std::wstring::npos) return true;
    std::wstring trimmed = name.substr(0, name.find_last_not_of(L". ") + 1);
    for (const wchar_t* program : kProgramFiles) {
        if (_wcsicmp(trimmed.c_str(), program) == 0) return true;
    }
    return false;
}

std::wstring EscapeTaggedText(const std::wstring& text)
{
    std::wstring escaped;
    escaped.reserve(text.size());
    for (wchar_t ch : text) {
        switch (ch) {
        case L'{': escaped += L"<{>"; break;
        case L'}': escaped += L"<}>"; break;
        case L'<': escaped += L"{<}"; break;
        case L'>': escaped += L"{>}"; break;
        default: escaped += ch;
        }
    }
    return escaped;
}

void LogManifestRefusal(const std::wstring& what, const std::wstring& value)
{
    std::wstring line = L"lumoraupd: manifest entry refused, " + what + L": \"" + value + L"\"\n";
    OutputDebugStringW(line.c_str());
}

bool MayBeCut(const std::wstring& value, size_t capacity)
{
    return capacity > 0 && value.size() + 1 >= capacity;
}
