#include "BenchPaintSteps.h"

#include <vector>

#include "BenchDib.h"
#include "BenchSamples.h"

void CBenchPaintSteps::PumpMessages()
{
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

double CBenchPaintSteps::TimeFullPaint(HWND hWnd)
{
    InvalidateRect(hWnd, nullptr, FALSE);
    const double start = CBenchSamples::Now();
    UpdateWindow(hWnd);
    GdiFlush();
    return CBenchSamples::Now() - start;
}

double CBenchPaintSteps::TimePrintClient(HWND hWnd, HDC hDC)
{
    const double start = CBenchSamples::Now();
    SendMessageW(hWnd, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(hDC), PRF_CLIENT);
    GdiFlush();
    return CBenchSamples::Now() - start;
}

double CBenchPaintSteps::TimeAlphaBlend(const CBenchDib& source, CBenchDib& target)
{
    const BLENDFUNCTION blend = { AC_SRC_OVER, 0, 255, AC_SRC_ALPHA };
    const double start = CBenchSamples::Now();
    AlphaBlend(target.DC(), 0, 0, target.Width(), target.Height(), source.DC(), 0, 0, source.Width(), source.Height(),
               blend);
    GdiFlush();
    return CBenchSamples::Now() - start;
}

void CBenchPaintSteps::MoveMouse(HWND hWnd, POINT pt)
{
    SendMessageW(hWnd, WM_MOUSEMOVE, 0, MAKELPARAM(pt.x, pt.y));
}

CBenchPaintSteps::THover CBenchPaintSteps::TimeHover(HWND hWnd, POINT ptAway, POINT ptOn)
{
    MoveMouse(hWnd, ptAway);
    UpdateWindow(hWnd);
    PumpMessages();
    const double start = CBenchSamples::Now();
    MoveMouse(hWnd, ptOn);
    const double paused = CBenchSamples::Now();
    const long long nPixels = UpdatePixels(hWnd);
    const double resumed = CBenchSamples::Now();
    UpdateWindow(hWnd);
    GdiFlush();
    // The region is counted outside the timing.
    return THover{ CBenchSamples::Now() - resumed + paused - start, nPixels };
}

long long CBenchPaintSteps::UpdatePixels(HWND hWnd)
{
    HRGN hRgn = CreateRectRgn(0, 0, 0, 0);
    long long nPixels = 0;
    if (GetUpdateRgn(hWnd, hRgn, FALSE) > NULLREGION) {
        const DWORD dwSize = GetRegionData(hRgn, 0, nullptr);
        std::vector<BYTE> data(dwSize);
        RGNDATA* pData = reinterpret_cast<RGNDATA*>(data.data());
        if (dwSize > 0 && GetRegionData(hRgn, dwSize, pData) == dwSize) {
            const RECT* pRects = reinterpret_cast<const RECT*>(pData->Buffer);
            for (DWORD i = 0; i < pData->rdh.nCount; i++)
                nPixels += (long long)(pRects[i].right - pRects[i].left) * (pRects[i].bottom - pRects[i].top);
        }
    }
    DeleteObject(hRgn);
    return nPixels;
}

LRESULT CALLBACK CBenchPaintSteps::BareWndProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    if (uMsg != WM_PAINT) return DefWindowProcW(hWnd, uMsg, wParam, lParam);
    PAINTSTRUCT ps;
    HDC hDC = BeginPaint(hWnd, &ps);
    SetBkColor(hDC, RGB(0x2B, 0x57, 0x97));
    ExtTextOutW(hDC, 0, 0, ETO_OPAQUE, &ps.rcPaint, nullptr, 0, nullptr);
    EndPaint(hWnd, &ps);
    return 0;
}

HWND CBenchPaintSteps::CreateBareWindow(int cx, int cy, double* pFirstPaint)
{
    WNDCLASSW wc = {};
    wc.lpfnWndProc = BareWndProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"LumoraBenchBareWnd";
    RegisterClassW(&wc);
    HWND hWnd = CreateWindowExW(0, wc.lpszClassName, L"bare", WS_POPUP | WS_VISIBLE, 0, 0, cx, cy, nullptr, nullptr,
                                wc.hInstance, nullptr);
    if (hWnd != nullptr) *pFirstPaint = TimeFullPaint(hWnd);
    return hWnd;
}

double CBenchPaintSteps::TimeBarePaint(HWND hBare, const RECT& rc)
{
    const double start = CBenchSamples::Now();
    InvalidateRect(hBare, &rc, FALSE);
    UpdateWindow(hBare);
    GdiFlush();
    return CBenchSamples::Now() - start;
}
