#pragma once
#include "cef_app.h"

// The engine's application object of the main program. The browser- and
// render-process handlers hang off it.
class CefClientApp : public CefApp {
public:
  CefClientApp() = default;

private:
  IMPLEMENT_REFCOUNTING(CefClientApp);
};
