#pragma once
#include <windows.h>

// A memory DC over a 32-bit top-down DIB, filled with one colour, whose pixels the
// tests read back as 0xRRGGBB.
class CControlsCanvas
{
public:
    CControlsCanvas(int cx, int cy, COLORREF fill = RGB(255, 255, 255)) : m_cx(cx), m_cy(cy)
    {
        BITMAPINFO bmi = {};
        bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        bmi.bmiHeader.biWidth = cx;
        bmi.bmiHeader.biHeight = -cy;
        bmi.bmiHeader.biPlanes = 1;
        bmi.bmiHeader.biBitCount = 32;
        bmi.bmiHeader.biCompression = BI_RGB;
        m_hDC = ::CreateCompatibleDC(nullptr);
        m_hBitmap = ::CreateDIBSection(m_hDC, &bmi, DIB_RGB_COLORS, reinterpret_cast<void**>(&m_pBits), nullptr, 0);
        m_hOld = ::SelectObject(m_hDC, m_hBitmap);
        RECT rc = { 0, 0, cx, cy };
        HBRUSH hBrush = ::CreateSolidBrush(fill);
        ::FillRect(m_hDC, &rc, hBrush);
        ::DeleteObject(hBrush);
    }
    ~CControlsCanvas()
    {
        ::SelectObject(m_hDC, m_hOld);
        ::DeleteObject(m_hBitmap);
        ::DeleteDC(m_hDC);
    }
    CControlsCanvas(const CControlsCanvas&) = delete;
    CControlsCanvas& operator=(const CControlsCanvas&) = delete;

    HDC DC() const { return m_hDC; }
    RECT Rect() const { return RECT{ 0, 0, m_cx, m_cy }; }
    DWORD Pixel(int x, int y) const
    {
        ::GdiFlush();
        return m_pBits[y * m_cx + x] & 0x00FFFFFF;
    }
    // Number of pixels inside rc that differ from colour.
    int CountOtherThan(const RECT& rc, DWORD colour) const
    {
        int n = 0;
        for (int y = rc.top; y < rc.bottom; y++)
            for (int x = rc.left; x < rc.right; x++) n += Pixel(x, y) != colour ? 1 : 0;
        return n;
    }

private:
    int m_cx;
    int m_cy;
    HDC m_hDC;
    HBITMAP m_hBitmap;
    HGDIOBJ m_hOld;
    DWORD* m_pBits = nullptr;
};
