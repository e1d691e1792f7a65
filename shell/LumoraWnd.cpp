#include "LumoraWnd.h"

#include "cef_app.h"

namespace {
const wchar_t kMainWindowProperty[] = L"lumora";
}

LRESULT CLumoraWnd::HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) {
  switch (uMsg) {
    case WM_CREATE:
      SetPropW(m_hWnd, kMainWindowProperty, reinterpret_cast<HANDLE>(1));
      break;
    case WM_PAINT:
      Paint();
      return 0;
    case WM_DESTROY:
      RemovePropW(m_hWnd, kMainWindowProperty);
      CefQuitMessageLoop();
      break;
  }
  return CWindowWnd::HandleMessage(uMsg, wParam, lParam);
}

void CLumoraWnd::Paint() {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(m_hWnd, &ps);
  RECT rc;
  GetClientRect(m_hWnd, &rc);
  HBRUSH background = CreateSolidBrush(RGB(0x1E, 0x22, 0x2B));
  FillRect(dc, &rc, background);
  DeleteObject(background);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, RGB(0xF0, 0xF0, 0xF0));
  DrawTextW(dc, L"Lumora", -1, &rc, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  EndPaint(m_hWnd, &ps);
}
