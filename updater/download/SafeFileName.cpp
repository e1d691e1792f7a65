#include "SafeFileName.h"

#include "AnsiText.h"
#include "DeviceNames.h"

namespace {

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
