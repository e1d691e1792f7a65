// Private window messages that the browser views' client handlers send to
// the main window (lParam = a browser identifier).
#pragma once
#include <windows.h>

// A view's page is ready to be shown: its main frame finished loading or its
// document fired "DOMContentLoaded".
const UINT WM_LUMORA_PAGE_READY = WM_APP + 1; // 0x8001
// A browser of a view was created; lParam is the view's main browser.
const UINT WM_LUMORA_BROWSER_CREATED = WM_APP + 8; // 0x8008
// A view's page could not be loaded; lParam is the view's main browser.
const UINT WM_LUMORA_LOAD_ERROR = WM_APP + 9; // 0x8009
