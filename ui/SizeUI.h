#pragma once
#include <windows.h>

// A Win32 SIZE; also serves as a point (cx = x, cy = y).
class CSizeUI : public SIZE
{
public:
    CSizeUI() { cx = cy = 0; }
    CSizeUI(int x, int y)
    {
        cx = x;
        cy = y;
    }
};
