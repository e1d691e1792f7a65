#pragma once
// Program-wide objects of the main program: built before the entry function,
// destroyed after it returns.
#include "StringCipher.h"

class CPtrArrayUI;
class SettingsStore;

extern StringCipherKey ClientInfoKey;
extern CPtrArrayUI ApplicationWindowList;  // managers of every open top-level window
extern wchar_t* ModulePath;                // full path of the running executable
extern SettingsStore* GlobalSettings;
