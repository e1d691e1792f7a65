#include "AnsiText.h"

#include <windows.h>

namespace {

std::string FromWide(UINT codePage, const std::wstring& text)
{
    if (text.empty()) return std::string();
    int length =
        WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    if (length <= 0) return std::string();
    std::string result(length, '\0');
    WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), &result[0], length, nullptr, nullptr);
    return result;
}

std::wstring ToWide(UINT codePage, const std::string& text)
{
    if (text.empty()) return std::wstring();
    int length = MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    if (length <= 0) return std::wstring();
    std::wstring result(length, L'\0');
    MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), &result[0], length);
    return result;
}

} // namespace

std::string ToAnsi(const std::wstring& text)
{
    return FromWide(CP_THREAD_ACP, text);
}
std::wstring FromAnsi(const std::string& text)
{
    return ToWide(CP_THREAD_ACP, text);
}
std::string WideToUtf8(const std::wstring& text)
{
    return FromWide(CP_UTF8, text);
}
std::wstring Utf8ToWide(const std::string& text)
{
    return ToWide(CP_UTF8, text);
}
