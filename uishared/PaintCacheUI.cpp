#include "PaintCacheUI.h"

namespace UIShared {

namespace {

// Lines and frames of a skin come in a handful of colours; past this many the oldest
// pen goes, so a program drawing ever new colours does not pile up pens.
const size_t kMaxPens = 32;

// A pointer, not an object: a thread-local object with a destructor makes the
// runtime pin the module that holds it, so the installer's plug-in could never
// be unloaded and its temporary folder never deleted.
thread_local CPaintCacheUI* t_pCache = nullptr;

} // namespace

CPaintCacheUI& CPaintCacheUI::ForThisThread()
{
    if (t_pCache == nullptr) t_pCache = new CPaintCacheUI();
    return *t_pCache;
}

void CPaintCacheUI::ReleaseForThisThread()
{
    delete t_pCache;
    t_pCache = nullptr;
}

CPaintCacheUI::CPaintCacheUI()
    : m_hMemoryDC(nullptr), m_hPixelDC(nullptr), m_hPixel(nullptr), m_hOldPixel(nullptr), m_pPixel(nullptr)
{ }

CPaintCacheUI::~CPaintCacheUI()
{
    if (m_hPixelDC != nullptr) {
        SelectObject(m_hPixelDC, m_hOldPixel);
        DeleteDC(m_hPixelDC);
    }
    if (m_hPixel != nullptr) DeleteObject(m_hPixel);
    if (m_hMemoryDC != nullptr) DeleteDC(m_hMemoryDC);
    for (const TPenUI& pen : m_pens) DeleteObject(pen.hPen);
}

HDC CPaintCacheUI::MemoryDC()
{
    if (m_hMemoryDC == nullptr) m_hMemoryDC = CreateCompatibleDC(nullptr);
    return m_hMemoryDC;
}

HDC CPaintCacheUI::PixelDC(DWORD dwPremultiplied)
{
    if (m_hPixelDC == nullptr) {
        BITMAPINFO bmi = {};
        bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        bmi.bmiHeader.biWidth = 1;
        bmi.bmiHeader.biHeight = -1;
        bmi.bmiHeader.biPlanes = 1;
        bmi.bmiHeader.biBitCount = 32;
        bmi.bmiHeader.biCompression = BI_RGB;
        void* pBits = nullptr;
        HBITMAP hPixel = CreateDIBSection(nullptr, &bmi, DIB_RGB_COLORS, &pBits, nullptr, 0);
        HDC hDC = hPixel != nullptr && pBits != nullptr ? CreateCompatibleDC(nullptr) : nullptr;
        if (hDC == nullptr) {
            if (hPixel != nullptr) DeleteObject(hPixel);
            return nullptr;
        }
        m_hPixel = hPixel;
        m_pPixel = static_cast<DWORD*>(pBits);
        m_hPixelDC = hDC;
        m_hOldPixel = SelectObject(m_hPixelDC, m_hPixel);
    }
    // Drawing into the DC may still be queued; it must be done before the pixel changes.
    GdiFlush();
    *m_pPixel = dwPremultiplied;
    return m_hPixelDC;
}

HPEN CPaintCacheUI::Pen(int nStyle, int nWidth, COLORREF clr)
{
    for (const TPenUI& pen : m_pens) {
        if (pen.nStyle == nStyle && pen.nWidth == nWidth && pen.clr == clr) return pen.hPen;
    }
    HPEN hPen = CreatePen(nStyle, nWidth, clr);
    if (hPen == nullptr) return nullptr;
    if (m_pens.size() >= kMaxPens) {
        DeleteObject(m_pens.front().hPen);
        m_pens.erase(m_pens.begin());
    }
    m_pens.push_back(TPenUI{ nStyle, nWidth, clr, hPen });
    return hPen;
}

} // namespace UIShared
