#include "cef_base.h"
#include "EngineInternal.h"

#include <cstring>

static void FreeOwnedString(wchar_t* str)
{
    delete[] str;
}

void cef_string_clear(cef_string_t* s)
{
    if (s->str && s->dtor) s->dtor(s->str);
    s->str = nullptr;
    s->length = 0;
    s->dtor = nullptr;
}

void cef_string_set(const wchar_t* src, size_t length, cef_string_t* out)
{
    cef_string_clear(out);
    out->str = new wchar_t[length + 1];
    if (length) std::memcpy(out->str, src, length * sizeof(wchar_t));
    out->str[length] = 0;
    out->length = length;
    out->dtor = FreeOwnedString;
}

static std::wstring Utf8ToWide(const std::string& s)
{
    if (s.empty()) return std::wstring();
    int n = MultiByteToWideChar(CP_UTF8, 0, s.data(), (int)s.size(), nullptr, 0);
    std::wstring w(n, L'\0');
    MultiByteToWideChar(CP_UTF8, 0, s.data(), (int)s.size(), &w[0], n);
    return w;
}

CefString::CefString(const char* s) : value_(Utf8ToWide(s ? s : "")) { }
CefString::CefString(const std::string& s) : value_(Utf8ToWide(s)) { }

CefString::CefString(cef_string_t* attached) : attached_(attached)
{
    if (attached_ && attached_->str) value_.assign(attached_->str, attached_->length);
}

void CefString::FromWString(const std::wstring& s)
{
    value_ = s;
    if (attached_) cef_string_set(value_.data(), value_.size(), attached_);
}

void CefString::FromString(const std::string& utf8)
{
    FromWString(Utf8ToWide(utf8));
}

std::string CefString::ToString() const
{
    if (value_.empty()) return std::string();
    int n = WideCharToMultiByte(CP_UTF8, 0, value_.data(), (int)value_.size(), nullptr, 0, nullptr, nullptr);
    std::string s(n, '\0');
    WideCharToMultiByte(CP_UTF8, 0, value_.data(), (int)value_.size(), &s[0], n, nullptr, nullptr);
    return s;
}

namespace cef_stand_in {

std::wstring Utf8ToWide(const std::string& text)
{
    return ::Utf8ToWide(text);
}

std::string WideToUtf8(const std::wstring& text)
{
    return CefString(text).ToString();
}

} // namespace cef_stand_in
