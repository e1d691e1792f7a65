#include "IniSection.h"

#include <windows.h>

#include <winternl.h>

#include <cwctype>
#include <vector>

// The number reader of ntdll, as GetPrivateProfileIntW reads a value; the SDK
// declares it for drivers only.
extern "C" NTSTATUS NTAPI RtlUnicodeStringToInteger(PCUNICODE_STRING text, ULONG base, PULONG value);

namespace {

const unsigned kFirstChars = 1u << 16;

std::wstring Trimmed(const std::wstring& text)
{
    size_t first = 0;
    size_t end = text.size();
    while (first < end && iswspace(text[first])) ++first;
    while (end > first && iswspace(text[end - 1])) --end;
    return text.substr(first, end - first);
}

// GetPrivateProfileStringW drops one pair of quotes, single or double, that
// encloses the whole value; GetPrivateProfileSectionW keeps them.
std::wstring WithoutEnclosingQuotes(const std::wstring& value)
{
    if (value.size() >= 2 && (value[0] == L'"' || value[0] == L'\'') && value.back() == value[0])
        return value.substr(1, value.size() - 2);
    return value;
}

} // namespace

bool CIniSection::NoCaseLess::operator()(const std::wstring& left, const std::wstring& right) const
{
    return CompareStringOrdinal(left.c_str(), static_cast<int>(left.size()), right.c_str(),
                                static_cast<int>(right.size()), TRUE) == CSTR_LESS_THAN;
}

CIniSection::CIniSection(const std::wstring& file, const wchar_t* section)
{
    // The call says only that its buffer was too small (the size less two):
    // the buffer grows until the section fits, up to the bound.
    for (unsigned capacity = kFirstChars; capacity <= kMaxChars; capacity *= 2) {
        std::vector<wchar_t> buffer(capacity, L'\0');
        DWORD length = GetPrivateProfileSectionW(section, buffer.data(), capacity, file.c_str());
        if (length + 2 < capacity) {
            Parse(buffer.data(), length);
            return;
        }
    }
    m_whole = false;
}

// `text` holds "key=value" strings, each ended by a null.
void CIniSection::Parse(const wchar_t* text, size_t length)
{
    for (size_t at = 0; at < length && text[at];) {
        std::wstring line(text + at);
        at += line.size() + 1;
        Add(line);
    }
}

// The first of a repeated key is the one the profile calls find.
void CIniSection::Add(const std::wstring& line)
{
    size_t equals = line.find(L'=');
    std::wstring key = Trimmed(line.substr(0, equals));
    if (key.empty() || key[0] == L';') return;
    std::wstring value = equals == std::wstring::npos ? std::wstring() : Trimmed(line.substr(equals + 1));
    m_values.emplace(key, WithoutEnclosingQuotes(value));
}

std::wstring CIniSection::Value(const std::wstring& key, size_t capacity) const
{
    auto found = m_values.find(key);
    if (found == m_values.end() || capacity == 0) return std::wstring();
    return found->second.substr(0, capacity - 1);
}

int CIniSection::Integer(const std::wstring& key, int absent) const
{
    std::wstring text = Value(key, MAX_PATH);
    if (text.empty()) return absent;
    UNICODE_STRING unicode;
    RtlInitUnicodeString(&unicode, text.c_str());
    ULONG number = 0;
    RtlUnicodeStringToInteger(&unicode, 0, &number);
    return static_cast<int>(number);
}
