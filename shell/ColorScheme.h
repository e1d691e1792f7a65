#pragma once
#include <windows.h>

// One of the main program's six colour schemes, chosen by the "skincolor"
// setting and shared by the main window and the windows it opens: the window
// colour ("main", its border and the border lines around it) and the colour
// of the bars ("caption", and the main window's "status").
class CColorScheme
{
public:
    // The message that switches a window to another scheme: wParam = index.
    static const UINT kMessage = WM_USER + 6;

    // The scheme at this index, or null when there is none: an index from
    // outside the table changes nothing.
    static const CColorScheme* At(WPARAM index);

    DWORD dwWindow;
    DWORD dwCaption;
};
