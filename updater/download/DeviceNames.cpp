#include "DeviceNames.h"

#include <cwctype>

namespace {

const wchar_t* const kReservedNames[] = { L"CON",  L"PRN",  L"AUX",  L"NUL",  L"COM1", L"COM2", L"COM3", L"COM4",
                                          L"COM5", L"COM6", L"COM7", L"COM8", L"COM9", L"LPT1", L"LPT2", L"LPT3",
                                          L"LPT4", L"LPT5", L"LPT6", L"LPT7", L"LPT8", L"LPT9" };

bool SameIgnoringCase(const std::wstring& stem, const wchar_t* reserved)
{
    size_t i = 0;
    for (; reserved[i]; ++i) {
        if (i == stem.size() || static_cast<wint_t>(towupper(stem[i])) != static_cast<wint_t>(reserved[i]))
            return false;
    }
    return i == stem.size();
}

} // namespace

bool IsReservedDeviceName(const std::wstring& name)
{
    const std::wstring stem = name.substr(0, name.find(L'.'));
    for (const wchar_t* reserved : kReservedNames) {
        if (SameIgnoringCase(stem, reserved)) return true;
    }
    return false;
}
