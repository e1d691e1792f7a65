// One section of an INI file, read with a single profile call and looked up
// in memory. A profile call per key makes the system search the section
// anew each time: a file with many numbered keys, read key by key, costs the
// square of its size. Lookups here answer as GetPrivateProfileStringW and
// GetPrivateProfileIntW do on the same file: keys in any case, the first of
// a repeated key, blanks around keys and values dropped, one pair of
// enclosing quotes dropped, values cut to the caller's buffer.
#pragma once

#include <map>
#include <string>

class CIniSection
{
public:
    // The most characters a section is read into; a section that needs more
    // is not read (Whole() is false). A signed manifest is 1 MiB at most.
    static const unsigned kMaxChars = 4u << 20;

    CIniSection() = default;
    // Reads `section` of `file`; a missing file or section has no keys.
    CIniSection(const std::wstring& file, const wchar_t* section);

    // False when the section was too large to be read; it then has no keys.
    bool Whole() const { return m_whole; }
    size_t KeyCount() const { return m_values.size(); }

    // What GetPrivateProfileStringW gives for `key` into a buffer of
    // `capacity` characters (at most capacity - 1 of them); "" when absent.
    std::wstring Value(const std::wstring& key, size_t capacity) const;
    // What GetPrivateProfileIntW gives for `key`: its value read as a number
    // (a sign, "0x", "0o" or "0b" allowed), or `absent` when the key is
    // missing or empty.
    int Integer(const std::wstring& key, int absent) const;

private:
    struct NoCaseLess
    {
        bool operator()(const std::wstring& left, const std::wstring& right) const;
    };

    void Parse(const wchar_t* text, size_t length);
    void Add(const std::wstring& line);

    std::map<std::wstring, std::wstring, NoCaseLess> m_values;
    bool m_whole = true;
};
