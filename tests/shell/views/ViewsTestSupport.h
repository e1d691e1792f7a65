#pragma once
#include <windows.h>

#include <functional>
#include <string>

#include "UILib.h"

// Program folder the popups believe they run from: its skin\skin.sk is the
// packed main skin.
std::wstring ViewsProgramFolder();
// Points ModulePath at a "lumora.exe" in that folder (or in another folder).
void UseProgramFolder(const std::wstring& folder);

// Dispatches what is queued, a few rounds, so posted follow-ups run too.
void PumpMessages();
// Pumps until done() holds or about five seconds have passed; returns done().
bool PumpUntil(const std::function<bool()>& done);

POINT CentreOf(const CControlUI* pControl);
// A left click by posted mouse messages at a client point.
void PostClick(HWND hWnd, POINT pt);
// A timer event of a control's timer key, as the manager delivers it.
void FireControlTimer(CControlUI* pControl, UINT nTimerKey);
