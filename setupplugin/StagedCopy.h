#pragma once
#include <windows.h>

#include <string>

// Copies the installer's unpacked files into the target. A file that cannot be
// written comes back as a reason in the user's words instead of the
// installer's own error box, so the install can end on its failure page.
class CStagedCopy
{
public:
    // Empty when source arrived whole at target; otherwise why not. A part
    // written before the failure is removed.
    static std::wstring Copy(const std::wstring& source, const std::wstring& target);
    static std::wstring ReasonFor(DWORD error, const std::wstring& target);
};
