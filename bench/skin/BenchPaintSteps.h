#pragma once
#include <windows.h>

class CBenchDib;

// The timed steps both libraries' paint benchmarks share; they work on any window.
class CBenchPaintSteps
{
public:
    // What one hover repaint cost and how many pixels it asked to repaint.
    struct THover
    {
        double seconds;
        long long nPixels;
    };

    static void PumpMessages();
    // The whole client invalidated and painted through WM_PAINT.
    static double TimeFullPaint(HWND hWnd);
    // The tree painted into a DIB through WM_PRINTCLIENT.
    static double TimePrintClient(HWND hWnd, HDC hDC);
    // One AlphaBlend of a whole same-size DIB: the reference unit.
    static double TimeAlphaBlend(const CBenchDib& source, CBenchDib& target);
    // The pointer moves from ptAway onto ptOn: the repaint that follows is timed from
    // the mouse message to the end of the paint, and its update region's pixels counted.
    static THover TimeHover(HWND hWnd, POINT ptAway, POINT ptOn);
    // The pixels of the window's update region (0 when it has none).
    static long long UpdatePixels(HWND hWnd);

    // The platform's floor for a repaint: a plain window of the same size whose WM_PAINT
    // only fills the update rectangle with one colour.
    // Painted once, its first WM_PAINT of the whole client timed: what any window's
    // first paint pays (its surface, the first copy to the screen).
    static HWND CreateBareWindow(int cx, int cy, double* pFirstPaint);
    // The rectangle invalidated in the bare window and painted, from the invalidation on.
    static double TimeBarePaint(HWND hBare, const RECT& rc);

private:
    static void MoveMouse(HWND hWnd, POINT pt);
    static LRESULT CALLBACK BareWndProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);
};
