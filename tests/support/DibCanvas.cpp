#include "DibCanvas.h"

CDibCanvas::CDibCanvas(int cx, int cy, COLORREF fill) : m_cx(cx), m_cy(cy)
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
    if (fill != RGB(0, 0, 0)) Fill((GetRValue(fill) << 16) | (GetGValue(fill) << 8) | GetBValue(fill));
}

CDibCanvas::~CDibCanvas()
{
    ::SelectObject(m_hDC, m_hOld);
    ::DeleteObject(m_hBitmap);
    ::DeleteDC(m_hDC);
}

void CDibCanvas::Fill(DWORD rgb)
{
    ::GdiFlush();
    for (size_t i = 0; i < static_cast<size_t>(m_cx) * m_cy; i++) m_pBits[i] = rgb;
}

void CDibCanvas::FillPattern(int nSeed)
{
    ::GdiFlush();
    for (int y = 0; y < m_cy; y++)
        for (int x = 0; x < m_cx; x++)
            m_pBits[static_cast<size_t>(y) * m_cx + x] =
                (((x * 37 + nSeed) & 0xFF) << 16) | (((y * 53) & 0xFF) << 8) | ((x + y) * 11 & 0xFF);
}

DWORD CDibCanvas::Pixel(int x, int y) const
{
    ::GdiFlush();
    return m_pBits[static_cast<size_t>(y) * m_cx + x] & 0x00FFFFFF;
}

std::vector<DWORD> CDibCanvas::Pixels() const
{
    ::GdiFlush();
    return std::vector<DWORD>(m_pBits, m_pBits + static_cast<size_t>(m_cx) * m_cy);
}

int CDibCanvas::CountOf(const RECT& rc, DWORD rgb) const
{
    int n = 0;
    for (int y = rc.top; y < rc.bottom; y++)
        for (int x = rc.left; x < rc.right; x++) n += Pixel(x, y) == rgb ? 1 : 0;
    return n;
}

int CDibCanvas::CountOtherThan(const RECT& rc, DWORD rgb) const
{
    return (rc.right - rc.left) * (rc.bottom - rc.top) - CountOf(rc, rgb);
}

std::wstring CDibCanvas::Capture(const RECT& rc, DWORD background) const
{
    std::wstring sPixels;
    for (int y = rc.top; y < rc.bottom; y++)
        for (int x = rc.left; x < rc.right; x++) sPixels += Pixel(x, y) == background ? L'.' : L'#';
    return sPixels;
}

void CDibCanvas::SaveBmp(LPCWSTR pstrPath) const
{
    ::GdiFlush();
    BITMAPFILEHEADER file = {};
    BITMAPINFOHEADER info = {};
    info.biSize = sizeof(info);
    info.biWidth = m_cx;
    info.biHeight = -m_cy;
    info.biPlanes = 1;
    info.biBitCount = 32;
    info.biCompression = BI_RGB;
    const DWORD dwBits = static_cast<DWORD>(m_cx * m_cy * 4);
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof(file) + sizeof(info);
    file.bfSize = file.bfOffBits + dwBits;
    HANDLE h = ::CreateFileW(pstrPath, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    ::WriteFile(h, &file, sizeof(file), &written, nullptr);
    ::WriteFile(h, &info, sizeof(info), &written, nullptr);
    ::WriteFile(h, m_pBits, dwBits, &written, nullptr);
    ::CloseHandle(h);
}
