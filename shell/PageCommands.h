#pragma once
#include "cef_process_message.h"

class CLumoraWnd;

// Runs the command a portal page sent (the process message's name and
// arguments) on the main window. Returns 0 when a command ran, 2 when none
// matched.
int DispatchPageCommand(CLumoraWnd& window, CefRefPtr<CefProcessMessage> message);
