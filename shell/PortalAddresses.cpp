#include "PortalAddresses.h"

#include <windows.h>

#include "AppPaths.h"
#include "StringCipher.h"

namespace {

const char kViewKeyString[] = "m!r+t#v$w%xyz^q&k*n(j";
const wchar_t kOverrideFile[] = L"portal.ini";
const wchar_t kOverrideSection[] = L"portal";
const wchar_t* const kViewKeys[PortalAddresses::kViewCount] = { L"home", L"tv", L"playing" };

// The local portal of this build: http://127.0.0.1:8790/home.html, tv.html
// and playing.html (served by "./dev run").
const char* const kBuiltInAddresses[PortalAddresses::kViewCount] = {
    "0970d49+JfzwZZq5mVLwPPf4Qt/gys5TNPokSB35LcvS7BHzwIwSE0k/9YKCahoowB/4/t8eXJSFySc9sNU",
    "0970d49+JfzwZZq5mVLwPOBuQNz0SE+SNzjki127r4vS7BHzwIwSE0k/9YKCahoowB/4/t8ZWsRGn6Z7g",
    "0970d49+JfzwZZq5mVLwPeK4wN5gH1pSdPtl30h5LgvS7BHzwIwSE0k/9YKCahoowB/4/t8YXFeC2Oa5YBQzJLv",
};

std::string Narrow(const std::wstring& ascii)
{
    std::string out;
    out.reserve(ascii.size());
    for (wchar_t c : ascii) {
        if (c > 0x7F) return std::string(); // enciphered text is plain ASCII
        out.push_back(static_cast<char>(c));
    }
    return out;
}

std::wstring FromUtf8(const std::string& text)
{
    if (text.empty()) return std::wstring();
    int size = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    if (size <= 0) return std::wstring();
    std::wstring out(static_cast<size_t>(size), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &out[0], size);
    return out;
}

std::string OverrideOf(int view, const std::wstring& modulePath)
{
    std::wstring file = SiblingPath(modulePath, kOverrideFile);
    if (GetFileAttributesW(file.c_str()) == INVALID_FILE_ATTRIBUTES) return std::string();
    wchar_t value[2048] = {};
    GetPrivateProfileStringW(kOverrideSection, kViewKeys[view], L"", value, ARRAYSIZE(value), file.c_str());
    return Narrow(value);
}

} // namespace

std::string PortalAddresses::Enciphered(int view, const std::wstring& modulePath)
{
    if (view < 0 || view >= kViewCount) return std::string();
    std::string configured = OverrideOf(view, modulePath);
    return configured.empty() ? kBuiltInAddresses[view] : configured;
}

std::wstring PortalAddresses::Decipher(const std::string& enciphered)
{
    StringCipherKey key(kViewKeyString);
    return FromUtf8(StringCipher(enciphered, key, CipherDecode));
}

std::wstring PortalAddresses::StartAddress(int view, const std::wstring& modulePath)
{
    return Decipher(Enciphered(view, modulePath));
}
