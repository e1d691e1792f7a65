#include "FolderPageRestart.h"

#include "PluginState.h"

std::wstring CFolderPageRestart::Option(BYTE mainPage, BYTE afterRun)
{
    std::wstring option = kOption;
    option += mainPage != 0 ? L'1' : L'0';
    option += afterRun != 0 ? L'1' : L'0';
    return option;
}

bool CFolderPageRestart::IsFlag(wchar_t ch)
{
    return ch == L'0' || ch == L'1';
}

bool CFolderPageRestart::Apply(const std::wstring& value, TPluginState& state)
{
    if (value.size() != 2 || !IsFlag(value[0]) || !IsFlag(value[1])) return false;
    state.setupFlagMainPage = value[0] == L'1' ? 1 : 0;
    state.setupFlagAfterRun = value[1] == L'1' ? 1 : 0;
    state.openOnFolderPage = true;
    return true;
}
