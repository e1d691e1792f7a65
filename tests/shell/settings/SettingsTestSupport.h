#pragma once
#include <windows.h>

#include <functional>
#include <string>

#include "UILib.h"

// Program folder the dialog believes it runs from: its skin\skin.sk is the
// packed main skin.
std::wstring SettingsProgramFolder();
// Points ModulePath at "lumora.exe" in that folder.
void UseSettingsProgramFolder();

// Dispatches what is queued, a few rounds, so posted follow-ups run too.
void PumpMessages();
// Pumps until done() holds or about five seconds have passed; returns done().
bool PumpUntil(const std::function<bool()>& done);

POINT CentreOf(const CControlUI* control);
// A left click by posted mouse messages at a client point.
void PostClick(HWND window, POINT pt);

// A top-level window's pixels, read back from its own device context.
class WindowPixels {
public:
  explicit WindowPixels(HWND window);
  int Width() const { return width_; }
  int Height() const { return height_; }
  COLORREF At(int x, int y) const;

private:
  int width_ = 0;
  int height_ = 0;
  std::basic_string<DWORD> bits_;
};
