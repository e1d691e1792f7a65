#pragma once
#include <windows.h>

#include <string>

struct TPluginState;

// What a failed install hands to the installer it starts again so the user can
// choose another folder: that window opens on the page of the folder, with the
// two options as the user left them. The folder itself travels as /D=, so it
// goes through the rule every folder named on the command line goes through.
class CFolderPageRestart
{
public:
    // The command-line option; its value is the main-page flag, then the
    // after-run flag, each "0" or "1".
    static constexpr const wchar_t* kOption = L"/CHOOSEFOLDER=";

    // The option with its value, as the installer passes it on.
    static std::wstring Option(BYTE mainPage, BYTE afterRun);
    // Takes the value given with the option: the window is to open on the
    // folder page with those options. Any other value changes nothing and
    // gives false: the installer then starts as it always does.
    static bool Apply(const std::wstring& value, TPluginState& state);

private:
    static bool IsFlag(wchar_t ch);
};
