#pragma once
#include <windows.h>

#include <functional>
#include <string>

#include "PostedInput.h"
#include "SystemShutdown.h"
#include "UILib.h"

// Program folder the popups believe they run from: its skin\skin.sk is the
// packed main skin.
std::wstring ViewsProgramFolder();
// Points ModulePath at a "lumora.exe" in that folder (or in another folder).
void UseProgramFolder(const std::wstring& folder);

// A timer event of a control's timer key, as the manager delivers it.
void FireControlTimer(CControlUI* pControl, UINT nTimerKey);

// Stands in for the real shutdown, which under Wine would end every process of
// the prefix, the test included: counts the calls and answers as told.
class CShutdownRecorder : public CSystemShutdown
{
public:
    bool PowerOff() override
    {
        calls++;
        return accept;
    }
    int calls = 0;
    bool accept = true;
};
