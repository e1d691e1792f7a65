#pragma once
#include <string>
#include <vector>

// Start addresses of the main window's three browser views (0 home, 1 TV,
// 2 now playing). They are configuration of the deployment and stay
// enciphered until a view's browser is created. A deployment, or a test,
// names its own portal in "portal.ini" beside the program: section "portal",
// keys "home", "tv" and "playing", each value enciphered with the view key
// (tools/strcipher encode "m!r+t#v$w%xyz^q&k*n(j" <address>).
class PortalAddresses
{
public:
    static const int kViewCount = 3;

    // The enciphered address of a view: the value in "portal.ini" in the folder
    // of modulePath when there is one, else the built-in one; "" for an index
    // out of range.
    static std::string Enciphered(int view, const std::wstring& modulePath);
    // The deciphered address; "" when the enciphered text is damaged.
    static std::wstring StartAddress(int view, const std::wstring& modulePath);
    static std::wstring Decipher(const std::string& enciphered);

    // "scheme://host[:port]" of an address, lower case, without the scheme's
    // default port; "file://" for every local file; "" when the address has
    // no scheme and host to speak of.
    static std::wstring OriginOf(const std::wstring& address);
    // The origins of the three views' start addresses (those that have one).
    static std::vector<std::wstring> Origins(const std::wstring& modulePath);
    // Whether an address belongs to one of these origins.
    static bool IsOneOf(const std::wstring& address, const std::vector<std::wstring>& origins);
};
