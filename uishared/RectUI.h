#pragma once
#include <windows.h>

namespace UIShared {

// A Win32 RECT (same layout, passed to system calls as is) with the layout operations.
class CRectUI : public RECT
{
public:
    CRectUI();
    CRectUI(const RECT& src);
    CRectUI(int iLeft, int iTop, int iRight, int iBottom);

    int GetWidth() const;
    int GetHeight() const;
    void Join(const RECT& rc);
    void ResetOffset();
    void Offset(int cx, int cy);
    void Deflate(int cx, int cy);
};

} // namespace UIShared
