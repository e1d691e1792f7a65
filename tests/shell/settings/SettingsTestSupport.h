#pragma once
#include <windows.h>

#include <functional>
#include <string>

#include "PostedInput.h"
#include "UILib.h"

// Program folder the dialog believes it runs from: its skin\skin.sk is the
// packed main skin.
std::wstring SettingsProgramFolder();
// Points ModulePath at "lumora.exe" in that folder.
void UseSettingsProgramFolder();


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
