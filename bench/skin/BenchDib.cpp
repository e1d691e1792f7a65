#include "BenchDib.h"

CBenchDib::CBenchDib(int cx, int cy)
    : m_cx(cx), m_cy(cy), m_hDC(nullptr), m_hBitmap(nullptr), m_hOld(nullptr), m_pBits(nullptr)
{
    BITMAPINFO bmi = {};
    bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bmi.bmiHeader.biWidth = cx;
    bmi.bmiHeader.biHeight = -cy;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    bmi.bmiHeader.biCompression = BI_RGB;
    m_hDC = CreateCompatibleDC(nullptr);
    if (m_hDC == nullptr)
        return;
    m_hBitmap = CreateDIBSection(m_hDC, &bmi, DIB_RGB_COLORS, reinterpret_cast<void**>(&m_pBits), nullptr, 0);
    if (m_hBitmap != nullptr)
        m_hOld = SelectObject(m_hDC, m_hBitmap);
}

CBenchDib::~CBenchDib()
{
    if (m_hOld != nullptr)
        SelectObject(m_hDC, m_hOld);
    if (m_hBitmap != nullptr)
        DeleteObject(m_hBitmap);
    if (m_hDC != nullptr)
        DeleteDC(m_hDC);
}

bool CBenchDib::IsValid() const
{
    return m_pBits != nullptr;
}

HDC CBenchDib::DC() const
{
    return m_hDC;
}

int CBenchDib::Width() const
{
    return m_cx;
}

int CBenchDib::Height() const
{
    return m_cy;
}

void CBenchDib::Fill(DWORD argb)
{
    GdiFlush();
    for (int i = 0; i < m_cx * m_cy; i++)
        m_pBits[i] = argb;
}

void CBenchDib::FillTranslucentPattern()
{
    GdiFlush();
    for (int y = 0; y < m_cy; y++) {
        for (int x = 0; x < m_cx; x++) {
            const DWORD a = static_cast<DWORD>((x + y) & 0xFF);
            const DWORD r = 0xC0 * a / 255, g = 0x40 * a / 255, b = 0x80 * a / 255;
            m_pBits[y * m_cx + x] = (a << 24) | (r << 16) | (g << 8) | b;
        }
    }
}

bool CBenchDib::SaveBmp(LPCWSTR pstrPath) const
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
    const DWORD dwBits = static_cast<DWORD>(m_cx * m_cy * 4);
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof(file) + sizeof(info);
    file.bfSize = file.bfOffBits + dwBits;
    HANDLE h = CreateFileW(pstrPath, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    bool ok = WriteFile(h, &file, sizeof(file), &written, nullptr) && written == sizeof(file);
    ok = ok && WriteFile(h, &info, sizeof(info), &written, nullptr) && written == sizeof(info);
    ok = ok && WriteFile(h, m_pBits, dwBits, &written, nullptr) && written == dwBits;
    CloseHandle(h);
    return ok;
}
