#include "FontTableUI.h"

#include <algorithm>
#include <cwchar>
#include <vector>

CFontTableUI::CFontTableUI()
    : m_DefaultFont(), m_dwDefaultFontColor(0xFF000000), m_DefaultBoldFont(), m_dwDefaultBoldFontColor(0xFF000000),
      m_DefaultLinkFont(), m_dwDefaultLinkFontColor(0xFF0000FF), m_dwDefaultLinkHoverFontColor(0xFFD3215F)
{
    LOGFONTW lf = {};
    ::GetObjectW(::GetStockObject(DEFAULT_GUI_FONT), sizeof(LOGFONTW), &lf);
    lf.lfHeight = -12;
    m_DefaultFont.hFont = ::CreateFontIndirectW(&lf);
    lf.lfUnderline = TRUE;
    m_DefaultLinkFont.hFont = ::CreateFontIndirectW(&lf);
    lf.lfUnderline = FALSE;
    lf.lfWeight += FW_BOLD;
    m_DefaultBoldFont.hFont = ::CreateFontIndirectW(&lf);
}

CFontTableUI::~CFontTableUI()
{
    Release();
}

void CFontTableUI::Release()
{
    ReleaseDefaultFonts();
    ReleaseNumberedFonts();
}

// A default that is also a numbered font goes with the numbered fonts.
void CFontTableUI::ReleaseDefaultFonts()
{
    HFONT aDefaults[3] = { m_DefaultFont.hFont, m_DefaultBoldFont.hFont, m_DefaultLinkFont.hFont };
    for (int i = 0; i < 3; i++) {
        HFONT hFont = aDefaults[i];
        if (hFont == nullptr || HasFont(hFont)) continue;
        bool bSeen = false;
        for (int j = 0; j < i; j++) bSeen = bSeen || aDefaults[j] == hFont;
        if (!bSeen) ::DeleteObject(hFont);
    }
    m_DefaultFont.hFont = m_DefaultBoldFont.hFont = m_DefaultLinkFont.hFont = nullptr;
}

// A handle listed more than once is deleted once. Every entry is still read
// when later ones are checked for a handle seen before, so the entries are
// only freed once all handles are gone.
void CFontTableUI::ReleaseNumberedFonts()
{
    const int nCount = m_aCustomFonts.GetSize();
    std::vector<HFONT> handles;
    handles.reserve(static_cast<size_t>(nCount));
    for (int i = 0; i < nCount; i++) handles.push_back(static_cast<TFontInfoUI*>(m_aCustomFonts.GetAt(i))->hFont);
    std::sort(handles.begin(), handles.end());
    handles.erase(std::unique(handles.begin(), handles.end()), handles.end());
    for (HFONT hFont : handles) ::DeleteObject(hFont);
    for (int i = 0; i < nCount; i++) delete static_cast<TFontInfoUI*>(m_aCustomFonts.GetAt(i));
    m_aCustomFonts.Empty();
}

HFONT CFontTableUI::GetDefaultFont() const
{
    return m_DefaultFont.hFont;
}

HFONT CFontTableUI::GetDefaultBoldFont() const
{
    return m_DefaultBoldFont.hFont;
}

HFONT CFontTableUI::GetDefaultLinkFont() const
{
    return m_DefaultLinkFont.hFont;
}

DWORD CFontTableUI::GetDefaultFontColor() const
{
    return m_dwDefaultFontColor;
}

DWORD CFontTableUI::GetDefaultLinkFontColor() const
{
    return m_dwDefaultLinkFontColor;
}

DWORD CFontTableUI::GetDefaultLinkHoverFontColor() const
{
    return m_dwDefaultLinkHoverFontColor;
}

// Measured in the paint DC; a manager without a window yet measures on the screen.
void CFontTableUI::MeasureFont(HDC hDcPaint, TFontInfoUI& info)
{
    HDC hDC = hDcPaint;
    bool bScreen = hDC == nullptr;
    if (bScreen) hDC = ::GetDC(nullptr);
    HGDIOBJ hOld = ::SelectObject(hDC, info.hFont);
    if (!::GetTextMetricsW(hDC, &info.tm)) ::ZeroMemory(&info.tm, sizeof(TEXTMETRICW));
    ::SelectObject(hDC, hOld);
    if (bScreen) ::ReleaseDC(nullptr, hDC);
}

const TEXTMETRICW& CFontTableUI::MeasuredInfo(HDC hDcPaint, TFontInfoUI& info)
{
    if (info.tm.tmHeight == 0) MeasureFont(hDcPaint, info);
    return info.tm;
}

const TEXTMETRICW& CFontTableUI::GetDefaultFontInfo(HDC hDcPaint)
{
    return MeasuredInfo(hDcPaint, m_DefaultFont);
}

const TEXTMETRICW& CFontTableUI::GetDefaultBoldFontInfo(HDC hDcPaint)
{
    return MeasuredInfo(hDcPaint, m_DefaultBoldFont);
}

const TEXTMETRICW& CFontTableUI::GetDefaultLinkFontInfo(HDC hDcPaint)
{
    return MeasuredInfo(hDcPaint, m_DefaultLinkFont);
}

// The new font is measured at once only when there is a paint DC to measure in.
void CFontTableUI::ReplaceDefaultFont(TFontInfoUI& target, HFONT hFont, HDC hDcPaint, const CFontTableUI& top)
{
    TFontInfoUI info = { hFont, {} };
    if (hDcPaint != nullptr) MeasureFont(hDcPaint, info);
    HFONT hOld = target.hFont;
    if (hOld != nullptr && hOld != hFont && !HasFont(hOld) && !top.HasFont(hOld)) {
        bool bOtherDefault = (&target != &m_DefaultFont && hOld == m_DefaultFont.hFont) ||
            (&target != &m_DefaultBoldFont && hOld == m_DefaultBoldFont.hFont) ||
            (&target != &m_DefaultLinkFont && hOld == m_DefaultLinkFont.hFont);
        if (!bOtherDefault) ::DeleteObject(hOld);
    }
    target = info;
}

void CFontTableUI::SetDefaultFont(HFONT hFont, DWORD dwColor, HDC hDcPaint, const CFontTableUI& top)
{
    ReplaceDefaultFont(m_DefaultFont, hFont, hDcPaint, top);
    m_dwDefaultFontColor = dwColor;
}

void CFontTableUI::SetDefaultBoldFont(HFONT hFont, DWORD dwColor, HDC hDcPaint, const CFontTableUI& top)
{
    ReplaceDefaultFont(m_DefaultBoldFont, hFont, hDcPaint, top);
    m_dwDefaultBoldFontColor = dwColor;
}

void CFontTableUI::SetDefaultLinkFont(HFONT hFont, DWORD dwColor, DWORD dwHoverColor, HDC hDcPaint,
                                      const CFontTableUI& top)
{
    ReplaceDefaultFont(m_DefaultLinkFont, hFont, hDcPaint, top);
    m_dwDefaultLinkFontColor = dwColor;
    m_dwDefaultLinkHoverFontColor = dwHoverColor;
}

HFONT CFontTableUI::MakeFont(LPCWSTR pstrFontName, int nSize, bool bBold, bool bUnderline, bool bItalic)
{
    LOGFONTW lf = {};
    ::GetObjectW(::GetStockObject(DEFAULT_GUI_FONT), sizeof(LOGFONTW), &lf);
    if (pstrFontName != nullptr) {
        wcsncpy(lf.lfFaceName, pstrFontName, LF_FACESIZE - 1);
        lf.lfFaceName[LF_FACESIZE - 1] = L'\0';
    }
    lf.lfHeight = -nSize;
    if (bBold) lf.lfWeight += FW_BOLD;
    if (bUnderline) lf.lfUnderline = TRUE;
    if (bItalic) lf.lfItalic = TRUE;
    return ::CreateFontIndirectW(&lf);
}

bool CFontTableUI::AddFont(HFONT hFont, HDC hDcPaint)
{
    if (hFont == nullptr) return false;
    TFontInfoUI* pFont = new TFontInfoUI{ hFont, {} };
    if (hDcPaint != nullptr) MeasureFont(hDcPaint, *pFont);
    if (!m_aCustomFonts.Add(pFont)) {
        delete pFont;
        return false;
    }
    return true;
}

bool CFontTableUI::HasFontIndex(int iIndex) const
{
    return iIndex >= 0 && iIndex < m_aCustomFonts.GetSize();
}

HFONT CFontTableUI::GetFont(int iIndex) const
{
    if (!HasFontIndex(iIndex)) return m_DefaultFont.hFont;
    return static_cast<TFontInfoUI*>(m_aCustomFonts.GetAt(iIndex))->hFont;
}

const TEXTMETRICW& CFontTableUI::GetFontInfo(int iIndex, HDC hDcPaint)
{
    if (!HasFontIndex(iIndex)) return GetDefaultFontInfo(hDcPaint);
    return MeasuredInfo(hDcPaint, *static_cast<TFontInfoUI*>(m_aCustomFonts.GetAt(iIndex)));
}

bool CFontTableUI::HasFont(HFONT hFont) const
{
    for (int i = 0; i < m_aCustomFonts.GetSize(); i++) {
        if (static_cast<TFontInfoUI*>(m_aCustomFonts.GetAt(i))->hFont == hFont) return true;
    }
    return false;
}
