#pragma once
#include <windows.h>

// A Win32 RECT with the few operations the layout code needs.
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
};
