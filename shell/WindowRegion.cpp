#include "WindowRegion.h"

void CWindowRegion::ApplyMainShape(HWND hWnd)
{
    RECT rc = {};
    ::GetClientRect(hWnd, &rc);
    HRGN hRgn = ::CreateRectRgn(rc.left, rc.top + 2, rc.right, rc.bottom);
    HRGN hRound = ::CreateRoundRectRgn(rc.left, rc.top, rc.right + 1, rc.bottom - 2, 2, 2);
    if (hRgn != nullptr && hRound != nullptr) ::CombineRgn(hRgn, hRgn, hRound, RGN_OR);
    if (hRound != nullptr) ::DeleteObject(hRound);
    Set(hWnd, hRgn);
}

void CWindowRegion::ApplyRoundCorners(HWND hWnd, SIZE corner)
{
    if (corner.cx == 0 && corner.cy == 0) return;
    RECT rc = {};
    ::GetClientRect(hWnd, &rc);
    Set(hWnd, ::CreateRoundRectRgn(rc.left, rc.top, rc.right + 1, rc.bottom + 1, corner.cx, corner.cy));
}

void CWindowRegion::Set(HWND hWnd, HRGN hRgn)
{
    // On success the system owns the region; otherwise it is still ours.
    if (hRgn != nullptr && !::SetWindowRgn(hWnd, hRgn, TRUE)) ::DeleteObject(hRgn);
}
