#pragma once
#include <windows.h>

#include <functional>

// Input as a test program gives its own windows: posted messages, dispatched
// by this thread's queue. Plain Win32, for either UI library and the shell.

// Dispatches what is queued, a few rounds with a short pause between them, so
// posted follow-ups run too.
void PumpMessages(int rounds = 3);
// Pumps until done() holds or about five seconds have passed; returns done().
bool PumpUntil(const std::function<bool()>& done);

POINT CentreOf(const RECT& rc);
// The centre of a control of either library.
template <class TControl> POINT CentreOf(const TControl* pControl)
{
    return CentreOf(pControl->GetPos());
}

// A left click by posted mouse messages at a client point, then the queue
// pumped for that many rounds.
void PostClick(HWND hWnd, POINT pt, int pumpRounds = 3);

// A left click at a client point and a key press given through the system's input
// queue, as the display gives them: they go where the capture, the focus and the
// active window say, which posted messages skip. Pump to have them delivered.
void SendClickAt(HWND hWnd, POINT ptClient);
void SendKeyPress(WORD vk);
// The same through the X display (xdotool): also through the window system's focus.
bool XClickAt(HWND hWnd, POINT ptClient);
bool XKey(const wchar_t* key);
