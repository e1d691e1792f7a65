#pragma once
#include <windows.h>

#include <string>

// The one rule for whether a folder has room for the install, used by the
// custom page and by the install itself, so both always agree. The room is
// asked of the volume that will hold the files: the nearest existing folder of
// the target, which may be a mount point or a junction to another volume.
class CRoomCheck
{
public:
    static constexpr DWORD kOkColor = 0xFFFFFFFF;
    // Light amber: readable on the blue background, where red is not.
    static constexpr DWORD kShortColor = 0xFFFFE08A;

    // What the "space" text says about a folder, and whether it can take the install.
    struct TVerdict
    {
        std::wstring text;
        DWORD color;
        bool bEnough;
    };

    // bQueried false: the volume could not be asked. More than requiredBytes
    // free can take the install.
    static TVerdict Judge(bool bQueried, ULONGLONG freeBytes, ULONGLONG requiredBytes);
    // Free bytes this process may use on the volume that would hold path.
    static bool QueryFreeBytes(const std::wstring& path, ULONGLONG& freeBytes);
    static TVerdict Check(const std::wstring& path, ULONGLONG requiredBytes);
    // Why the install cannot go to path, in the user's words; empty when it can.
    static std::wstring FailureText(const std::wstring& path, ULONGLONG requiredBytes);

private:
    static ULONGLONG RequiredMegabytes(ULONGLONG requiredBytes);
};
