// Frame behaviour shared by the updater's caption-less skinned windows.
#pragma once

#include "UpdUILib.h"

// Clips the window to the markup's round corners (not while minimised).
void ApplyRoundCorners(HWND window, UpdUI::CWindowManagerUI& manager);
// Maximised position and size: the primary work area.
void MaximizeToWorkArea(HWND window, LPARAM minMaxInfo);
// HTCAPTION inside the markup's caption band except over the classes listed
// (null-terminated), HTCLIENT elsewhere.
LRESULT CaptionHitTest(HWND window, UpdUI::CWindowManagerUI& manager, LPARAM lParam,
                       const wchar_t* const* clientClasses);
// Drops the native caption; the markup draws its own.
void DropNativeCaption(HWND window);
