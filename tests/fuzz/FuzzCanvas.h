// A 32-bit top-down DIB selected into a memory DC: what the fuzz targets paint into.
#pragma once
#include <windows.h>

#include <string>

namespace Fuzz {

class Canvas
{
public:
    Canvas(int cx, int cy)
    {
        m_hDC = CreateCompatibleDC(nullptr);
        BITMAPINFO bmi = {};
        bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        bmi.bmiHeader.biWidth = cx;
        bmi.bmiHeader.biHeight = -cy;
        bmi.bmiHeader.biPlanes = 1;
        bmi.bmiHeader.biBitCount = 32;
        void* pBits = nullptr;
        m_hBitmap = CreateDIBSection(m_hDC, &bmi, DIB_RGB_COLORS, &pBits, nullptr, 0);
        m_hOld = SelectObject(m_hDC, m_hBitmap);
        m_rc = { 0, 0, cx, cy };
    }
    ~Canvas()
    {
        SelectObject(m_hDC, m_hOld);
        DeleteObject(m_hBitmap);
        DeleteDC(m_hDC);
    }
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    HDC DC() const { return m_hDC; }
    const RECT& Rect() const { return m_rc; }

private:
    HDC m_hDC;
    HBITMAP m_hBitmap;
    HGDIOBJ m_hOld;
    RECT m_rc;
};

// A plain popup window for a window manager to paint: its messages go to DefWindowProc,
// so nothing a reader posted outlives the input it came with.
inline HWND CreateHostWindow(LPCWSTR pstrClass)
{
    WNDCLASSW wc = {};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = pstrClass;
    RegisterClassW(&wc);
    return CreateWindowExW(0, pstrClass, L"fuzz", WS_POPUP, 0, 0, 400, 300, nullptr, nullptr, wc.hInstance, nullptr);
}

// UTF-8 bytes as UTF-16 text (invalid sequences become U+FFFD).
inline std::wstring Utf8ToWide(const BYTE* data, size_t size)
{
    if (size == 0) return std::wstring();
    int n = MultiByteToWideChar(CP_UTF8, 0, (LPCSTR)data, (int)size, nullptr, 0);
    std::wstring text((size_t)(n > 0 ? n : 0), L'\0');
    if (n > 0) MultiByteToWideChar(CP_UTF8, 0, (LPCSTR)data, (int)size, &text[0], n);
    return text;
}

} // namespace Fuzz
