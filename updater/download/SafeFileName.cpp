#include "SafeFileName.h"

#include "AnsiText.h"

#include <cwctype>

namespace {

const char* const kReservedNames[] = { "CON",  "PRN",  "AUX",  "NUL",  "COM1", "COM2", "COM3", "COM4",
                                       "COM5", "COM6", "COM7", "COM8", "COM9", "LPT1", "LPT2", "LPT3",
                                       "LPT4", "LPT5", "LPT6", "LPT7", "LPT8", "LPT9" };

template <typename Char> bool IsForbiddenChar(Char c)
{
    if (static_cast<unsigned>(c) < 0x20) return true;
    switch (c) {
    case '\\':
    case '/':
    case ':':
    case '*':
    case '?':
    case '"':
    case '<':
    case '>':
    case '|': return true;
    default: return false;
    }
}

// "con", "Con.txt", "LPT1.log": the part before the first dot names a device.
template <typename String> bool IsReservedDeviceName(const String& name)
{
    size_t stem = name.find('.');
    if (stem == String::npos) stem = name.size();
    for (const char* reserved : kReservedNames) {
        size_t length = 0;
        while (reserved[length]) ++length;
        if (length != stem) continue;
        bool same = true;
        for (size_t i = 0; i < length && same; ++i)
            same = towupper(static_cast<wint_t>(name[i])) == static_cast<wint_t>(reserved[i]);
        if (same) return true;
    }
    return false;
}

template <typename String> bool IsSafeName(const String& name)
{
    if (name.empty() || name.find(String(2, '.')) != String::npos) return false;
    if (name.size() == 1 && name[0] == '.') return false;
    for (auto c : name) {
        if (IsForbiddenChar(c)) return false;
    }
    return !IsReservedDeviceName(name);
}

} // namespace

bool IsSafeFileName(const std::wstring& name)
{
    return IsSafeName(name);
}

// Narrow names are in the ANSI code page, where a double-byte character may
// carry a backslash or "|" as its second byte: they are checked as wide text.
bool IsSafeFileName(const std::string& name)
{
    std::wstring wide = FromAnsi(name);
    return IsSafeName(wide) && ToAnsi(wide) == name;
}
