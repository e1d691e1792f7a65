#include "PortalAddresses.h"

#include <windows.h>

#include <algorithm>
#include <cwctype>

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

std::wstring PortalAddresses::OriginOf(const std::wstring& address)
{
    size_t colon = address.find(L"://");
    if (colon == std::wstring::npos || colon == 0) return std::wstring();
    std::wstring lower(address);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](wchar_t c) { return static_cast<wchar_t>(std::towlower(c)); });
    std::wstring scheme = lower.substr(0, colon);
    if (scheme.find_first_not_of(L"abcdefghijklmnopqrstuvwxyz0123456789+-.") != std::wstring::npos)
        return std::wstring();
    if (scheme == L"file") return L"file://";
    size_t hostStart = colon + 3;
    size_t hostEnd = lower.find_first_of(L"/?#", hostStart);
    std::wstring host =
        lower.substr(hostStart, hostEnd == std::wstring::npos ? std::wstring::npos : hostEnd - hostStart);
    size_t at = host.rfind(L'@'); // user information is not part of the origin
    if (at != std::wstring::npos) host = host.substr(at + 1);
    if (host.empty()) return std::wstring();
    const wchar_t* defaultPort = scheme == L"http" ? L":80" : scheme == L"https" ? L":443" : nullptr;
    if (defaultPort && host.size() > wcslen(defaultPort) &&
        host.compare(host.size() - wcslen(defaultPort), std::wstring::npos, defaultPort) == 0)
        host.resize(host.size() - wcslen(defaultPort));
    return scheme + L"://" + host;
}

std::vector<std::wstring> PortalAddresses::Origins(const std::wstring& modulePath)
{
    std::vector<std::wstring> origins;
    for (int view = 0; view < kViewCount; ++view) {
        std::wstring origin = OriginOf(StartAddress(view, modulePath));
        if (!origin.empty() && std::find(origins.begin(), origins.end(), origin) == origins.end())
            origins.push_back(origin);
    }
    return origins;
}

bool PortalAddresses::IsOneOf(const std::wstring& address, const std::vector<std::wstring>& origins)
{
    std::wstring origin = OriginOf(address);
    return !origin.empty() && std::find(origins.begin(), origins.end(), origin) != origins.end();
}
