#include "PaintResultCacheUI.h"

#include <string.h>
#include <wchar.h>

#include <utility>

#include "ImageDecoderUI.h"
#include "PaintCacheUI.h"

namespace UIShared {

namespace {

// Larger texts are drawn directly: keeping them would cost more memory than it saves time.
const int kMaxPixels = 256 * 1024;

LPCWSTR TextOf(const CPaintResultCacheUI::TKeyUI& key)
{
    return key.pstrText != nullptr ? key.pstrText : L"";
}

} // namespace

CPaintResultCacheUI::CPaintResultCacheUI()
    : m_hUnder(nullptr), m_hResult(nullptr), m_hNow(nullptr), m_pUnder(nullptr), m_pResult(nullptr), m_pNow(nullptr),
      m_cx(0), m_cy(0), m_bSeen(false), m_bHeld(false), m_key{ L"", 0, 0, nullptr, false, 0 }
{ }

CPaintResultCacheUI::~CPaintResultCacheUI()
{
    Forget();
}

void CPaintResultCacheUI::Forget()
{
    for (HBITMAP* phBitmap : { &m_hUnder, &m_hResult, &m_hNow }) {
        if (*phBitmap != nullptr) DeleteObject(*phBitmap);
        *phBitmap = nullptr;
    }
    m_pUnder = m_pResult = m_pNow = nullptr;
    m_cx = m_cy = 0;
    m_bHeld = false;
}

// The three surfaces at the text's size, made again when it changed.
bool CPaintResultCacheUI::Fits(int cx, int cy)
{
    if (m_hNow != nullptr && m_cx == cx && m_cy == cy) return true;
    Forget();
    m_hUnder = CImageDecoderUI::CreateTopDownDib(nullptr, cx, cy, &m_pUnder);
    m_hResult = CImageDecoderUI::CreateTopDownDib(nullptr, cx, cy, &m_pResult);
    m_hNow = CImageDecoderUI::CreateTopDownDib(nullptr, cx, cy, &m_pNow);
    if (m_hUnder == nullptr || m_hResult == nullptr || m_hNow == nullptr) {
        Forget();
        return false;
    }
    m_cx = cx;
    m_cy = cy;
    return true;
}

// A text cut by the clipping would be kept cut, and copied back so where it is not cut.
bool CPaintResultCacheUI::IsWhollyVisible(HDC hDC, const RECT& rcText)
{
    RECT rcClip;
    const int nComplexity = GetClipBox(hDC, &rcClip);
    if (nComplexity != SIMPLEREGION) return false;
    RECT rcInside;
    return IntersectRect(&rcInside, &rcClip, &rcText) && EqualRect(&rcInside, &rcText);
}

// The text is copied up to its end, as far as the comparison reads it.
void CPaintResultCacheUI::Note(const TKeyUI& key)
{
    m_sKeyText.assign(TextOf(key));
    m_key = key;
    m_key.pstrText = m_sKeyText.c_str();
}

bool CPaintResultCacheUI::SameKey(const TKeyUI& key) const
{
    return m_key.dwColor == key.dwColor && m_key.uStyle == key.uStyle && m_key.hFont == key.hFont &&
        m_key.bHtml == key.bHtml && m_key.uImageGeneration == key.uImageGeneration &&
        wcscmp(m_key.pstrText, TextOf(key)) == 0;
}

bool CPaintResultCacheUI::Holds(const TKeyUI& key) const
{
    return m_bHeld && SameKey(key) && memcmp(m_pNow, m_pUnder, (size_t)m_cx * (size_t)m_cy * sizeof(DWORD)) == 0;
}

bool CPaintResultCacheUI::Copy(HDC hTarget, int xTarget, int yTarget, HDC hSource, int xSource, int ySource, int cx,
                               int cy, HBITMAP hSelect, bool bIntoBitmap)
{
    HDC hMemDC = CPaintCacheUI::ForThisThread().MemoryDC();
    if (hMemDC == nullptr) return false;
    HGDIOBJ hOld = SelectObject(hMemDC, hSelect);
    const BOOL bCopied = bIntoBitmap ? BitBlt(hMemDC, xTarget, yTarget, cx, cy, hSource, xSource, ySource, SRCCOPY)
                                     : BitBlt(hTarget, xTarget, yTarget, cx, cy, hMemDC, xSource, ySource, SRCCOPY);
    GdiFlush();
    SelectObject(hMemDC, hOld);
    return bCopied != FALSE;
}

bool CPaintResultCacheUI::Draw(HDC hDC, const RECT& rcText, const RECT& rcPaint, const TKeyUI& key,
                               const FRender& render)
{
    const int cx = rcText.right - rcText.left, cy = rcText.bottom - rcText.top;
    // Only a memory DC can be read back as it was drawn; a window's pixels may be covered.
    if (hDC == nullptr || cx <= 0 || cy <= 0 || (long long)cx * cy > kMaxPixels || GetObjectType(hDC) != OBJ_MEMDC)
        return false;
    if ((key.uStyle & DT_NOCLIP) != 0) return false; // the glyphs may reach past the rectangle
    RECT rcPart;
    if (!IntersectRect(&rcPart, &rcText, &rcPaint)) return true; // nothing of it is painted now
    if (!EqualRect(&rcPart, &rcText) || !IsWhollyVisible(hDC, rcText)) return false;
    // The first paint draws directly and only notes the drawing: surfaces are made when a
    // second paint shows the same drawing again, so a first paint pays nothing for them.
    if (!m_bSeen || !SameKey(key)) {
        m_bSeen = true;
        m_bHeld = false;
        Note(key);
        return false;
    }
    if (!Fits(cx, cy)) return false;
    if (!Copy(nullptr, 0, 0, hDC, rcText.left, rcText.top, cx, cy, m_hNow, true)) return false;
    if (Holds(key) && Copy(hDC, rcText.left, rcText.top, nullptr, 0, 0, cx, cy, m_hResult, false)) return true;
    // Noted first: the drawing may change or free the text the key points at.
    Note(key);
    render(hDC, rcText);
    std::swap(m_hNow, m_hUnder);
    std::swap(m_pNow, m_pUnder);
    m_bHeld = Copy(nullptr, 0, 0, hDC, rcText.left, rcText.top, cx, cy, m_hResult, true);
    return true;
}

} // namespace UIShared
