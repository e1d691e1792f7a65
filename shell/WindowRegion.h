#pragma once
#include <windows.h>

// The shapes of the main program's caption-less windows, set as the window
// region from the client rectangle each time the window is sized. The window
// owns a region once it has taken it.
class CWindowRegion
{
public:
    // The main window's shape, shared by the windows that look like it: square
    // bottom corners, the top corners cut by one pixel.
    static void ApplyMainShape(HWND hWnd);
    // Every corner rounded by the skin's round corner; a zero corner leaves
    // the window as it is.
    static void ApplyRoundCorners(HWND hWnd, SIZE corner);

private:
    static void Set(HWND hWnd, HRGN hRgn);
};
