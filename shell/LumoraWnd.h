#pragma once
#include "WindowWnd.h"

// The main window. It carries the window property "lumora" by which a second
// start and the updater find it, and ends the engine's message loop when it goes.
class CLumoraWnd : public CWindowWnd {
public:
  CLumoraWnd() = default;

protected:
  LPCWSTR GetWindowClassName() const override { return L"LumoraMainWnd"; }
  UINT GetClassStyle() const override { return CS_DBLCLKS; }
  LRESULT HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) override;

private:
  void Paint();
};
