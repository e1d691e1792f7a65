#pragma once
#include <windows.h>

namespace UpdUI {

// A Win32 SIZE with a constructor.
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

} // namespace UpdUI
