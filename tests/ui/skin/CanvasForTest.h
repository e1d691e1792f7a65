#pragma once
#include <windows.h>

// A 32-bit top-down DIB selected into a memory DC: the painter draws on it and the test
// reads the pixels back as 0x00RRGGBB (the alpha byte is masked off).
class CanvasForTest
{
public:
    CanvasForTest(int cx, int cy) : m_cx(cx), m_cy(cy)
    {
        BITMAPINFO bmi = {};
        bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        bmi.bmiHeader.biWidth = cx;
        bmi.bmiHeader.biHeight = -cy;
        bmi.bmiHeader.biPlanes = 1;
        bmi.bmiHeader.biBitCount = 32;
        bmi.bmiHeader.biCompression = BI_RGB;
        m_hDC = CreateCompatibleDC(nullptr);
        m_hBitmap = CreateDIBSection(m_hDC, &bmi, DIB_RGB_COLORS, (void**)&m_pBits, nullptr, 0);
        m_hOld = SelectObject(m_hDC, m_hBitmap);
    }
    ~CanvasForTest()
    {
        SelectObject(m_hDC, m_hOld);
        DeleteObject(m_hBitmap);
        DeleteDC(m_hDC);
    }
    CanvasForTest(const CanvasForTest&) = delete;
    CanvasForTest& operator=(const CanvasForTest&) = delete;

    HDC DC() const { return m_hDC; }
    RECT Rect() const { return RECT{ 0, 0, m_cx, m_cy }; }

    void Fill(DWORD rgb)
    {
        GdiFlush();
        for (int i = 0; i < m_cx * m_cy; i++)
            m_pBits[i] = rgb;
    }
    DWORD Pixel(int x, int y) const
    {
        GdiFlush();
        return m_pBits[y * m_cx + x] & 0xFFFFFF;
    }
    // True when every pixel of rc has the colour.
    bool AllPixels(const RECT& rc, DWORD rgb) const
    {
        for (int y = rc.top; y < rc.bottom; y++)
            for (int x = rc.left; x < rc.right; x++)
                if (Pixel(x, y) != rgb)
                    return false;
        return true;
    }
    bool AnyPixelIsNot(const RECT& rc, DWORD rgb) const { return !AllPixels(rc, rgb); }
    bool AnyPixel(const RECT& rc, DWORD rgb) const
    {
        for (int y = rc.top; y < rc.bottom; y++)
            for (int x = rc.left; x < rc.right; x++)
                if (Pixel(x, y) == rgb)
                    return true;
        return false;
    }

    // Keeps what the test saw, for a person to look at.
    void SaveBmp(LPCWSTR path) const
    {
        GdiFlush();
        BITMAPFILEHEADER file = {};
        BITMAPINFOHEADER info = {};
        info.biSize = sizeof(info);
        info.biWidth = m_cx;
        info.biHeight = -m_cy;
        info.biPlanes = 1;
        info.biBitCount = 32;
        info.biCompression = BI_RGB;
        const DWORD dwBits = (DWORD)(m_cx * m_cy * 4);
        file.bfType = 0x4D42;
        file.bfOffBits = sizeof(file) + sizeof(info);
        file.bfSize = file.bfOffBits + dwBits;
        HANDLE h = CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        if (h == INVALID_HANDLE_VALUE)
            return;
        DWORD written = 0;
        WriteFile(h, &file, sizeof(file), &written, nullptr);
        WriteFile(h, &info, sizeof(info), &written, nullptr);
        WriteFile(h, m_pBits, dwBits, &written, nullptr);
        CloseHandle(h);
    }

private:
    int m_cx, m_cy;
    HDC m_hDC;
    HBITMAP m_hBitmap;
    HGDIOBJ m_hOld;
    DWORD* m_pBits = nullptr;
};
