#include "PageCommands.h"

#include "LumoraWnd.h"

// The page commands are not in this build yet: every message matches none.
int DispatchPageCommand(CLumoraWnd& window, CefRefPtr<CefProcessMessage> message) { return 2; }
