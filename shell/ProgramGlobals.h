#pragma once
// Program-wide objects of the main program: built before the entry function,
// destroyed after it returns.
#include "StringCipher.h"
#include "cef_values.h"

class CPtrArrayUI;
class SettingsStore;

extern StringCipherKey ClientInfoKey;
extern CPtrArrayUI ApplicationWindowList; // managers of every open top-level window
extern wchar_t* ModulePath;               // full path of the running executable
extern SettingsStore* GlobalSettings;
// Arguments of the last page message the main window received; the page
// commands (PageCommands.h, with their table ProcessMessageHandlerTable) read
// them, and a command that ran releases them.
extern CefRefPtr<CefListValue> PendingCommandArguments;
