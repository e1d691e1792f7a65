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
    // From the first page on, the installer's own window never shows: neither a
    // blank panel when the copy starts nor its finished page at the end.
    static void KeepHidden(HWND hwndInstaller);

    static LRESULT CALLBACK InstallerSubclassProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);

    static void PressNext();

private:
    static void SubclassOnce(HWND hWnd);
    static LRESULT OnSetPos(WPARAM wParam);
    static void DropShowing(LPARAM lParam);
};
