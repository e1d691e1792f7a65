#include "FontTableUI.h"

#include <cwchar>
#include <new>

namespace UpdUI {

CFontTableUI::CFontTableUI() : m_DefaultFontInfo() { }

CFontTableUI::~CFontTableUI()
{
    Release();
}

void CFontTableUI::InitDefault(const CStringUI& sFaceName)
{
    LOGFONTW lf = {};
    ::GetObjectW(::GetStockObject(DEFAULT_GUI_FONT), sizeof(lf), &lf);
    lf.lfCharSet = DEFAULT_CHARSET;
    if (!sFaceName.IsEmpty()) {
        wcsncpy(lf.lfFaceName, sFaceName.GetData(), LF_FACESIZE - 1);
        lf.lfFaceName[LF_FACESIZE - 1] = L'\0';
    }
    m_DefaultFontInfo.hFont = ::CreateFontIndirectW(&lf);
    m_DefaultFontInfo.sFontName = lf.lfFaceName;
    m_DefaultFontInfo.iSize = -lf.lfHeight;
    m_DefaultFontInfo.bBold = lf.lfWeight >= FW_BOLD;
    m_DefaultFontInfo.bUnderline = lf.lfUnderline != FALSE;
    m_DefaultFontInfo.bItalic = lf.lfItalic != FALSE;
}

TFontInfoUI& CFontTableUI::GetDefault()
{
    return m_DefaultFontInfo;
}

bool CFontTableUI::MakeFont(LPCWSTR pStrFontName, int nSize, bool bBold, bool bUnderline, bool bItalic,
                            TFontInfoUI& info)
{
    LOGFONTW lf = {};
    ::GetObjectW(::GetStockObject(DEFAULT_GUI_FONT), sizeof(lf), &lf);
    if (pStrFontName != nullptr) {
        wcsncpy(lf.lfFaceName, pStrFontName, LF_FACESIZE - 1);
        lf.lfFaceName[LF_FACESIZE - 1] = L'\0';
    }
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfHeight = -nSize;
    if (bBold) lf.lfWeight += FW_BOLD;
    if (bUnderline) lf.lfUnderline = TRUE;
    if (bItalic) lf.lfItalic = TRUE;
    HFONT hFont = ::CreateFontIndirectW(&lf);
    if (hFont == nullptr) return false;
    info.hFont = hFont;
    info.sFontName = pStrFontName;
    info.iSize = nSize;
    info.bBold = bBold;
    info.bUnderline = bUnderline;
    info.bItalic = bItalic;
    ::ZeroMemory(&info.tm, sizeof(info.tm));
    return true;
}

void CFontTableUI::MeasureFont(HDC hDcPaint, TFontInfoUI& info)
{
    if (hDcPaint == nullptr || info.hFont == nullptr) return;
    HFONT hOldFont = static_cast<HFONT>(::SelectObject(hDcPaint, info.hFont));
    ::GetTextMetricsW(hDcPaint, &info.tm);
    ::SelectObject(hDcPaint, hOldFont);
}

void CFontTableUI::SetDefault(LPCWSTR pStrFontName, int nSize, bool bBold, bool bUnderline, bool bItalic, HDC hDcPaint)
{
    TFontInfoUI info;
    if (!MakeFont(pStrFontName, nSize, bBold, bUnderline, bItalic, info)) return;
    if (m_DefaultFontInfo.hFont != nullptr) ::DeleteObject(m_DefaultFontInfo.hFont);
    m_DefaultFontInfo = info;
    MeasureFont(hDcPaint, m_DefaultFontInfo);
}

HFONT CFontTableUI::Add(LPCWSTR pStrFontName, int nSize, bool bBold, bool bUnderline, bool bItalic, HDC hDcPaint)
{
    TFontInfoUI* pFontInfo = new (std::nothrow) TFontInfoUI();
    if (pFontInfo == nullptr) return nullptr;
    if (!MakeFont(pStrFontName, nSize, bBold, bUnderline, bItalic, *pFontInfo)) {
        delete pFontInfo;
        return nullptr;
    }
    MeasureFont(hDcPaint, *pFontInfo);
    if (!m_aCustomFonts.Add(pFontInfo)) {
        ::DeleteObject(pFontInfo->hFont);
        delete pFontInfo;
        return nullptr;
    }
    return pFontInfo->hFont;
}

int CFontTableUI::GetCount() const
{
    return m_aCustomFonts.GetCount();
}

TFontInfoUI* CFontTableUI::GetAt(int iIndex) const
{
    if (iIndex < 0 || iIndex >= m_aCustomFonts.GetCount()) return nullptr;
    return static_cast<TFontInfoUI*>(m_aCustomFonts[iIndex]);
}

HFONT CFontTableUI::Find(LPCWSTR pStrFontName, int nSize, bool bBold, bool bUnderline, bool bItalic) const
{
    for (int i = 0; i < m_aCustomFonts.GetCount(); ++i) {
        TFontInfoUI* pFontInfo = static_cast<TFontInfoUI*>(m_aCustomFonts[i]);
        if (pFontInfo->sFontName == pStrFontName && pFontInfo->iSize == nSize && pFontInfo->bBold == bBold &&
            pFontInfo->bUnderline == bUnderline && pFontInfo->bItalic == bItalic) {
            return pFontInfo->hFont;
        }
    }
    return nullptr;
}

TFontInfoUI* CFontTableUI::Find(HFONT hFont) const
{
    for (int i = 0; i < m_aCustomFonts.GetCount(); ++i) {
        TFontInfoUI* pFontInfo = static_cast<TFontInfoUI*>(m_aCustomFonts[i]);
        if (pFontInfo->hFont == hFont) return pFontInfo;
    }
    return nullptr;
}

void CFontTableUI::RemoveAll()
{
    for (int i = 0; i < m_aCustomFonts.GetCount(); ++i) {
        TFontInfoUI* pFontInfo = static_cast<TFontInfoUI*>(m_aCustomFonts[i]);
        ::DeleteObject(pFontInfo->hFont);
        delete pFontInfo;
    }
    m_aCustomFonts.Empty();
}

void CFontTableUI::Release()
{
    if (m_DefaultFontInfo.hFont != nullptr) ::DeleteObject(m_DefaultFontInfo.hFont);
    m_DefaultFontInfo.hFont = nullptr;
    RemoveAll();
}

} // namespace UpdUI
