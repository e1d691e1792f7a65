#include "SettingsTestSupport.h"

#include "ProgramGlobals.h"

namespace {

wchar_t g_modulePath[MAX_PATH];

}  // namespace

std::wstring SettingsProgramFolder() { return std::wstring(LUMORA_TEST_BUILD_DIR) + L"\\tests\\settings\\"; }

void UseSettingsProgramFolder() {
  std::wstring path = SettingsProgramFolder() + L"lumora.exe";
  wcsncpy(g_modulePath, path.c_str(), MAX_PATH - 1);
  ModulePath = g_modulePath;
}

WindowPixels::WindowPixels(HWND window) {
  RECT rc = {};
  GetWindowRect(window, &rc);
  width_ = rc.right - rc.left;
  height_ = rc.bottom - rc.top;
  if (width_ <= 0 || height_ <= 0) return;
  HDC source = GetWindowDC(window);
  HDC memory = CreateCompatibleDC(source);
  BITMAPINFO bmi = {};
  bmi.bmiHeader.biSize = sizeof(bmi.bmiHeader);
  bmi.bmiHeader.biWidth = width_;
  bmi.bmiHeader.biHeight = -height_;
  bmi.bmiHeader.biPlanes = 1;
  bmi.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(source, &bmi, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width_, height_, source, 0, 0, SRCCOPY);
  GdiFlush();
  bits_.assign(static_cast<const DWORD*>(bits), static_cast<size_t>(width_) * height_);
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(window, source);
}

COLORREF WindowPixels::At(int x, int y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return CLR_INVALID;
  DWORD pixel = bits_[static_cast<size_t>(y) * width_ + x];
  return RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF);
}
