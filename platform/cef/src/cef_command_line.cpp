#include "cef_command_line.h"

#include <shellapi.h>

CefRefPtr<CefCommandLine> CefCommandLine::CreateCommandLine()
{
    return new CefCommandLine();
}

void CefCommandLine::InitFromString(const CefString& command_line)
{
    words_.clear();
    if (command_line.empty()) return;
    int count = 0;
    LPWSTR* words = CommandLineToArgvW(command_line.c_str(), &count);
    if (!words) return;
    for (int i = 0; i < count; ++i) words_.push_back(words[i]);
    LocalFree(words);
}

CefString CefCommandLine::GetCommandLineString() const
{
    std::wstring text;
    for (const std::wstring& word : words_) {
        if (!text.empty()) text += L' ';
        text += word.find(L' ') == std::wstring::npos ? word : L"\"" + word + L"\"";
    }
    return text;
}

static bool SwitchMatches(const std::wstring& word, const std::wstring& name, std::wstring* value)
{
    const std::wstring prefix = L"--" + name;
    if (word.compare(0, prefix.size(), prefix) != 0) return false;
    if (word.size() == prefix.size()) return true;
    if (word[prefix.size()] != L'=') return false;
    if (value) *value = word.substr(prefix.size() + 1);
    return true;
}

bool CefCommandLine::HasSwitch(const CefString& name) const
{
    for (const std::wstring& word : words_) {
        if (SwitchMatches(word, name.ToWString(), nullptr)) return true;
    }
    return false;
}

CefString CefCommandLine::GetSwitchValue(const CefString& name) const
{
    std::wstring value;
    for (const std::wstring& word : words_) {
        if (SwitchMatches(word, name.ToWString(), &value)) return value;
    }
    return CefString();
}

void CefCommandLine::AppendSwitch(const CefString& name)
{
    words_.push_back(L"--" + name.ToWString());
}

void CefCommandLine::AppendSwitchWithValue(const CefString& name, const CefString& value)
{
    words_.push_back(L"--" + name.ToWString() + L"=" + value.ToWString());
}
