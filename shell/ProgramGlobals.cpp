#include "ProgramGlobals.h"

#include "PtrArrayUI.h"

StringCipherKey ClientInfoKey("qorvx#e!w%&+b~zn^(k$u+y)s*g=hjcd?");
CPtrArrayUI ApplicationWindowList;
wchar_t* ModulePath = nullptr;
SettingsStore* GlobalSettings = nullptr;
CefRefPtr<CefListValue> PendingCommandArguments;
