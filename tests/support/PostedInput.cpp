#include "PostedInput.h"

void PumpMessages(int rounds)
{
    MSG msg;
    for (int round = 0; round < rounds; round++) {
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
        ::Sleep(10);
    }
}

bool PumpUntil(const std::function<bool()>& done)
{
    for (int i = 0; i < 250 && !done(); i++) PumpMessages();
    return done();
}

POINT CentreOf(const RECT& rc)
{
    return POINT{ (rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2 };
}

void PostClick(HWND hWnd, POINT pt, int pumpRounds)
{
    const LPARAM lParam = MAKELPARAM(pt.x, pt.y);
    ::PostMessageW(hWnd, WM_MOUSEMOVE, 0, lParam);
    ::PostMessageW(hWnd, WM_LBUTTONDOWN, MK_LBUTTON, lParam);
    ::PostMessageW(hWnd, WM_LBUTTONUP, 0, lParam);
    PumpMessages(pumpRounds);
}
