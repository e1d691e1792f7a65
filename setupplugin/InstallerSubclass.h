#pragma once
#include <windows.h>

// Takes over the installer's own window, its progress bar and its detail list:
// they stay hidden, and the progress bar's positions move the skin's "progress"
// control instead. At the end of the range the installer's Next button is pressed.
class CInstallerSubclass
{
public:
    // Subclasses the installer window and the progress bar and detail list of its
    // inner page dialog; windows already taken over are left as they are.
    static void Attach(HWND hwndInstaller);
    // Takes over the installer's own window alone, before its first page shows,
    // so that it is never shown at all.
    static void KeepHidden(HWND hwndInstaller);

    static LRESULT CALLBACK InstallerSubclassProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);

    static void PressNext();

private:
    static void SubclassOnce(HWND hWnd);
    static LRESULT OnSetPos(WPARAM wParam);
};
