#include "ClientVersion.h"

#include "LumoraVersion.h"

const wchar_t* ClientVersion()
{
    return LUMORA_VERSION_WTEXT;
}

std::wstring VersionLabelText()
{
    return std::wstring(L"版本 : ") + ClientVersion();
}

std::wstring AboutVersionText()
{
    return std::wstring(L"版本 ") + ClientVersion();
}

std::wstring TrayTipText()
{
    return std::wstring(L"Lumora\r\n版本V") + ClientVersion();
}
