#pragma once
#include <windows.h>

#include <string>

// Starts a program as the signed-in user rather than with the installer's
// administrator token: the desktop shell, which runs as the user, is asked to
// start it. Where the shell cannot be asked (no desktop shell of the user), the
// program is started directly, as the installer's own child.
class CUserLauncher
{
public:
    enum TWay {
        NotStarted,
        StartedByShell,
        StartedDirectly,
    };

    static TWay Launch(const std::wstring& path);

private:
    static bool LaunchThroughShell(const std::wstring& path, const std::wstring& folder);
    static bool LaunchDirectly(const std::wstring& path, const std::wstring& folder);
    // The desktop shell's automation object, or null.
    static IDispatch* DesktopShellDispatch();
};
