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

void PumpMessages() {
  MSG msg;
  for (int round = 0; round < 3; round++) {
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    Sleep(10);
  }
}

bool PumpUntil(const std::function<bool()>& done) {
  for (int i = 0; i < 250 && !done(); i++) PumpMessages();
  return done();
}

POINT CentreOf(const CControlUI* control) {
  const RECT& rc = control->GetPos();
  return POINT{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
}

void PostClick(HWND window, POINT pt) {
  const LPARAM lParam = MAKELPARAM(pt.x, pt.y);
  PostMessageW(window, WM_MOUSEMOVE, 0, lParam);
  PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, lParam);
  PostMessageW(window, WM_LBUTTONUP, 0, lParam);
  PumpMessages();
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
