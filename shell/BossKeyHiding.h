#pragma once
#include <windows.h>

#include <vector>

// What the boss key (Alt+Q) does to the program's windows (those of
// ApplicationWindowList): the first press hides every one, the next brings
// back exactly those that were shown. A running power-off countdown is never
// hidden: it is put above everything, so a power-off never comes unannounced.
class CBossKeyHiding
{
public:
    bool IsHiding() const { return m_hiding; }
    void Hide();
    // Cleared before any window is shown: showing the main window comes back
    // to its owner through WM_SHOWWINDOW.
    void Reveal();

private:
    struct HiddenWindow
    {
        HWND window;
        bool wasVisible;
    };

    bool m_hiding = false;
    std::vector<HiddenWindow> m_windows;
};
