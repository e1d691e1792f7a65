#pragma once
#include <windows.h>

#include <functional>
#include <string>

#include "PostedInput.h"
#include "ScreenShot.h"
#include "UILib.h"

// Program folder the dialog believes it runs from: its skin\skin.sk is the
// packed main skin.
std::wstring SettingsProgramFolder();
// Points ModulePath at "lumora.exe" in that folder.
void UseSettingsProgramFolder();

// A pixel of a screenshot as a COLORREF; CLR_INVALID outside it.
COLORREF ColourAt(const ScreenShot& shot, int x, int y);
