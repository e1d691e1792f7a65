#include "MarkupTextUI.h"

#include <stdlib.h>
#include <wchar.h>

#include "AttributeValueUI.h"
#include "PainterUI.h"
#include "WindowManagerUI.h"
#include "MarkupNumberUI.h"

namespace UpdUI {

namespace {

// Characters a run may hold beyond the pixels left on its line (characters without width).
const int kRunSlack = 64;

// How a tag leaves the line it stands in.
enum {
    TAG_CONTINUE,   // the line goes on after the tag
    TAG_END_AFTER,  // the line ends after the tag
    TAG_END_BEFORE, // the line ends before the tag, which starts the next line
};

bool IsAsciiLetter(WCHAR ch)
{
    return (ch >= L'a' && ch <= L'z') || (ch >= L'A' && ch <= L'Z');
}

WCHAR ClosingBracket(WCHAR chOpen)
{
    return chOpen == L'<' ? L'>' : L'}';
}

int ParseInt(LPCWSTR pstr)
{
    return (int)MarkupNumber::Coord(pstr);
}

// The value of key='value' inside an image description, or empty.
CStringUI QuotedValue(const CStringUI& sText, LPCWSTR pstrKey)
{
    int iKey = sText.Find(pstrKey);
    if (iKey < 0) return CStringUI();
    LPCWSTR pstrValue = sText.GetData() + iKey + wcslen(pstrKey);
    LPCWSTR pstrEnd = wcschr(pstrValue, L'\'');
    return pstrEnd == nullptr ? CStringUI() : CStringUI(pstrValue, (int)(pstrEnd - pstrValue));
}

} // namespace

CMarkupTextUI::CMarkupTextUI(HDC hDC, CWindowManagerUI* pManager, DWORD dwTextColor, RECT* prcLinks, CStringUI* sLinks,
                             int& nLinkRects, UINT uStyle)
    : m_hDC(hDC), m_pManager(pManager), m_dwTextColor(dwTextColor), m_prcLinks(prcLinks), m_sLinks(sLinks),
      m_nLinkRects(nLinkRects),
      m_nLinkCapacity(prcLinks != nullptr && sLinks != nullptr && nLinkRects > 0 ? nLinkRects : 0), m_uStyle(uStyle),
      m_bDraw((uStyle & DT_CALCRECT) == 0), m_rc(), m_state(), m_x(0), m_yLine(0), m_cxExtent(0), m_nLinks(0),
      m_bHoverFound(false), m_bEnded(false)
{
    m_state.bSelected = false;
    m_state.bRaw = false;
    m_state.bInLink = false;
    m_state.xLinkStart = 0;
    m_state.pstrLinkText = L"";
    m_state.nLinkText = 0;
    m_state.cyFixedLine = 0;
}

void CMarkupTextUI::Draw(RECT& rc, LPCWSTR pstrText)
{
    if (pstrText == nullptr || pstrText[0] == L'\0' || m_pManager == nullptr || m_hDC == nullptr || IsRectEmpty(&rc)) {
        m_nLinkRects = 0;
        return;
    }
    const int nSaved = SaveDC(m_hDC);
    m_rc = rc;
    if (m_bDraw) {
        IntersectClipRect(m_hDC, rc.left, rc.top, rc.right, rc.bottom);
        AlignToMeasure(pstrText);
    }
    FindHoverLink();
    SetBkMode(m_hDC, TRANSPARENT);
    Run(pstrText);
    m_nLinkRects = m_nLinks;
    if (!m_bDraw) {
        rc.right = m_rc.left + m_cxExtent < rc.right ? m_rc.left + m_cxExtent : rc.right;
        rc.bottom = m_yLine;
    }
    RestoreDC(m_hDC, nSaved);
}

// Centred, right-aligned and vertically placed text is measured first.
void CMarkupTextUI::AlignToMeasure(LPCWSTR pstrText)
{
    if ((m_uStyle & (DT_CENTER | DT_RIGHT | DT_VCENTER | DT_BOTTOM)) == 0) return;
    RECT rcMeasure = { m_rc.left, m_rc.top, m_rc.left + 9999, m_rc.top + 100 };
    int nNoLinks = 0;
    CMarkupTextUI measure(m_hDC, m_pManager, m_dwTextColor, nullptr, nullptr, nNoLinks, m_uStyle | DT_CALCRECT);
    measure.Draw(rcMeasure, pstrText);
    const int cx = rcMeasure.right - rcMeasure.left, cy = rcMeasure.bottom - rcMeasure.top;
    if ((m_uStyle & DT_SINGLELINE) != 0) {
        if ((m_uStyle & DT_CENTER) != 0)
            m_rc.left += (m_rc.right - m_rc.left - cx) / 2;
        else if ((m_uStyle & DT_RIGHT) != 0)
            m_rc.left = m_rc.right - cx;
    }
    if ((m_uStyle & DT_VCENTER) != 0)
        m_rc.top += (m_rc.bottom - m_rc.top - cy) / 2;
    else if ((m_uStyle & DT_BOTTOM) != 0)
        m_rc.top = m_rc.bottom - cy;
}

// The link under the mouse in the previous paint is drawn in the hover colour.
void CMarkupTextUI::FindHoverLink()
{
    POINT ptMouse = m_pManager->GetMousePos();
    for (int i = 0; i < m_nLinkCapacity; i++) {
        if (PtInRect(&m_prcLinks[i], ptMouse)) {
            m_sHoverLink = m_sLinks[i];
            m_bHoverFound = true;
            return;
        }
    }
}

void CMarkupTextUI::Run(LPCWSTR pstrText)
{
    LPCWSTR p = pstrText;
    m_yLine = m_rc.top;
    while (*p != L'\0' && !m_bEnded) {
        const TStateUI lineStart = m_state;
        TLineUI line = { 0, 0 };
        m_x = m_rc.left;
        LPCWSTR pEnd = DoLine(p, false, line);
        m_state = lineStart;
        m_x = m_rc.left;
        DoLine(p, true, line);
        if (m_state.bInLink) {
            RecordLink(line);
            m_state.xLinkStart = m_rc.left;
        }
        m_yLine += line.cyHeight;
        // A line that took nothing (an image wider than the whole line) cannot repeat.
        if (pEnd == p || (m_uStyle & DT_SINGLELINE) != 0 || (m_bDraw && m_yLine >= m_rc.bottom)) break;
        p = pEnd;
    }
}

// One line from p: measured (bEmit false: nothing drawn, line gets its height) or drawn
// on the measured line. Returns where the next line starts.
LPCWSTR CMarkupTextUI::DoLine(LPCWSTR p, bool bEmit, TLineUI& line)
{
    const bool bSingleLine = (m_uStyle & DT_SINGLELINE) != 0;
    int cySpacing = m_state.spacings.empty() ? 0 : m_state.spacings.back();
    m_state.cyFixedLine = 0;
    bool bLineStart = true;
    if (!bEmit) NoteFont(line);
    while (*p != L'\0') {
        LPCWSTR pNext = nullptr;
        TTagUI tag;
        WCHAR chEscaped = 0;
        if (m_state.bRaw && IsRawEnd(p, pNext)) {
            m_state.bRaw = false;
            p = pNext;
            continue;
        }
        if (!m_state.bRaw && ParseTag(p, tag, pNext)) {
            int nResult =
                tag.bClosing ? CloseTag(tag, bEmit, bLineStart, line) : ApplyTag(tag, bEmit, bLineStart, line);
            if (tag.chName == L'p' && !tag.bClosing && nResult == TAG_CONTINUE) cySpacing = m_state.spacings.back();
            if (nResult == TAG_END_BEFORE) break;
            p = pNext;
            if (nResult == TAG_END_AFTER) break;
            bLineStart = bLineStart && m_x == m_rc.left;
            continue;
        }
        if (!m_state.bRaw && ParseEscape(p, chEscaped)) {
            Output(&chEscaped, 1, bEmit, line);
            p += 3;
            bLineStart = false;
            continue;
        }
        if (*p == L'\n' || *p == L'\r') {
            LPCWSTR pAfter = p + (p[0] == L'\r' && p[1] == L'\n' ? 2 : 1);
            p = pAfter;
            if (!bSingleLine) break;
            continue;
        }
        bool bLineFull = false;
        p = DoRun(p, bEmit, bLineFull, line);
        bLineStart = false;
        if (bLineFull) break;
    }
    if (!bEmit) {
        if (m_state.cyFixedLine > 0) line.cyHeight = m_state.cyFixedLine;
        line.cyHeight += cySpacing;
    }
    return p;
}

bool CMarkupTextUI::ParseTag(LPCWSTR p, TTagUI& tag, LPCWSTR& pNext) const
{
    if (p[0] != L'<' && p[0] != L'{') return false;
    const WCHAR chClose = ClosingBracket(p[0]);
    LPCWSTR q = p + 1;
    tag.bClosing = *q == L'/';
    if (tag.bClosing) q++;
    if (*q < L'a' || *q > L'z') return false;
    tag.chName = *q++;
    if (tag.bClosing) {
        if (*q != chClose) return false;
        pNext = q + 1;
        return true;
    }
    if (*q != L' ' && *q != chClose) return false;
    LPCWSTR pstrEnd = m_closingSearch.Find(q, chClose);
    if (pstrEnd == nullptr) return false;
    tag.pstrParams = *q == L' ' ? q + 1 : q;
    tag.nParams = (int)(pstrEnd - tag.pstrParams);
    if (*q == L' ') tag.sParams.Assign(tag.pstrParams, tag.nParams);
    pNext = pstrEnd + 1;
    return true;
}

// "<{>" draws "{", "{<}" draws "<", and so on.
bool CMarkupTextUI::ParseEscape(LPCWSTR p, WCHAR& ch) const
{
    if (p[0] == L'<' && (p[1] == L'{' || p[1] == L'}') && p[2] == L'>') {
        ch = p[1];
        return true;
    }
    if (p[0] == L'{' && (p[1] == L'<' || p[1] == L'>') && p[2] == L'}') {
        ch = p[1];
        return true;
    }
    return false;
}

bool CMarkupTextUI::IsRawEnd(LPCWSTR p, LPCWSTR& pNext) const
{
    if ((p[0] == L'<' || p[0] == L'{') && p[1] == L'/' && p[2] == L'r' && p[3] == ClosingBracket(p[0])) {
        pNext = p + 4;
        return true;
    }
    return false;
}

int CMarkupTextUI::ApplyTag(const TTagUI& tag, bool bEmit, bool bLineStart, TLineUI& line)
{
    const bool bSingleLine = (m_uStyle & DT_SINGLELINE) != 0;
    LPCWSTR pstrParams = tag.sParams.GetData();
    switch (tag.chName) {
    case L'a': {
        m_state.bInLink = true;
        m_state.xLinkStart = m_x;
        m_state.pstrLinkText = tag.pstrParams;
        m_state.nLinkText = tag.nParams;
        const bool bHover = m_bHoverFound && m_sHoverLink == tag.sParams;
        PushColor(bHover ? m_pManager->GetDefaultLinkHoverFontColor() : m_pManager->GetDefaultLinkFontColor());
        PushFont(CurrentFont());
        break;
    }
    case L'b': PushFont(VariantOf(CurrentFont(), true, false, false)); break;
    case L'c': PushColor(CAttributeValueUI::ParseColor(pstrParams)); break;
    case L'f': PushFont(FontFromParams(tag.sParams)); break;
    case L'i':
        if (tag.sParams.IsEmpty())
            PushFont(VariantOf(CurrentFont(), false, false, true));
        else if (!DrawInlineImage(tag.sParams, bEmit, line))
            return bLineStart ? TAG_CONTINUE : TAG_END_BEFORE;
        break;
    case L'n':
        if (!bSingleLine) return TAG_END_AFTER;
        break;
    case L'p':
        if (!bLineStart && !bSingleLine) return TAG_END_BEFORE;
        m_state.spacings.push_back(ParseInt(pstrParams));
        break;
    case L'r': m_state.bRaw = true; break;
    case L's': m_state.bSelected = true; break;
    case L'u': PushFont(VariantOf(CurrentFont(), false, true, false)); break;
    case L'x':
        m_x += ParseInt(pstrParams);
        if (m_cxExtent < m_x - m_rc.left) m_cxExtent = m_x - m_rc.left;
        break;
    case L'y': m_state.cyFixedLine = ParseInt(pstrParams); break;
    default: break;
    }
    if (!bEmit) NoteFont(line);
    return TAG_CONTINUE;
}

int CMarkupTextUI::CloseTag(const TTagUI& tag, bool bEmit, bool bLineStart, TLineUI& line)
{
    switch (tag.chName) {
    case L'a':
        if (bEmit && m_state.bInLink) RecordLink(line);
        m_state.bInLink = false;
        PopColor();
        PopFont();
        break;
    case L'b':
    case L'f':
    case L'i':
    case L'u': PopFont(); break;
    case L'c': PopColor(); break;
    case L'p':
        if (!bLineStart && (m_uStyle & DT_SINGLELINE) == 0) return TAG_END_BEFORE;
        if (!m_state.spacings.empty()) m_state.spacings.pop_back();
        break;
    case L's': m_state.bSelected = false; break;
    default: break;
    }
    return TAG_CONTINUE;
}

// "name [count [index]]" or "file='name' restype='type' [count [index]]": the image is
// count frames side by side, and the index-th is drawn. False when it must go to the
// next line.
bool CMarkupTextUI::DrawInlineImage(const CStringUI& sParams, bool bEmit, TLineUI& line)
{
    CStringUI sName, sType, sNumbers;
    int iQuote = sParams.ReverseFind(L'\'');
    if (iQuote >= 0 && (sParams.Find(L"file='") >= 0 || sParams.Find(L"res='") >= 0)) {
        sName = QuotedValue(sParams, sParams.Find(L"file='") >= 0 ? L"file='" : L"res='");
        sType = QuotedValue(sParams, L"restype='");
        sNumbers = sParams.Mid(iQuote + 1);
    } else {
        int iBlank = sParams.Find(L" ");
        sName = iBlank >= 0 ? sParams.Left(iBlank) : sParams;
        sNumbers = iBlank >= 0 ? sParams.Mid(iBlank + 1) : CStringUI();
    }
    TImageRecUI* pImage = m_pManager->GetImageEx(sName.GetData(), sType.IsEmpty() ? nullptr : sType.GetData(), 0);
    if (pImage == nullptr) return true;
    LPWSTR pstrEnd = nullptr;
    long nCount = wcstol(sNumbers.GetData(), &pstrEnd, 10);
    long iFrame = *pstrEnd != L'\0' ? wcstol(pstrEnd + 1, nullptr, 10) : 0;
    if (nCount < 1) nCount = 1;
    if (iFrame < 0 || iFrame >= nCount) iFrame = 0;
    const int cx = pImage->nWidth / nCount, cy = pImage->nHeight;
    if (m_x + cx > m_rc.right && m_x > m_rc.left) return false;
    if (!bEmit) {
        if (line.cyHeight < cy) line.cyHeight = cy;
    } else if (m_bDraw) {
        const int y = cy < line.cyHeight ? m_yLine + (line.cyHeight - cy) / 2 : m_yLine + line.cyHeight - cy;
        RECT rcDest = { m_x, y, m_x + cx, y + cy };
        RECT rcSource = { cx * iFrame, 0, cx * (iFrame + 1), cy };
        CPainterUI::DrawImage(m_hDC, pImage->hBitmap, rcDest, rcDest, rcSource, RECT{ 0, 0, 0, 0 }, pImage->bAlpha,
                              255);
    }
    m_x += cx;
    if (m_cxExtent < m_x - m_rc.left) m_cxExtent = m_x - m_rc.left;
    return true;
}

HFONT CMarkupTextUI::CurrentFont() const
{
    return m_state.fonts.empty() ? m_pManager->GetDefaultFontInfo()->hFont : m_state.fonts.back();
}

void CMarkupTextUI::PushFont(HFONT hFont)
{
    m_state.fonts.push_back(hFont != nullptr ? hFont : CurrentFont());
}

// Leaving an italic run for upright text moves the pen past the slant's overhang.
void CMarkupTextUI::PopFont()
{
    if (m_state.fonts.empty()) return;
    TFontInfoUI* pLeaving = m_pManager->GetFontInfo(m_state.fonts.back());
    m_state.fonts.pop_back();
    TFontInfoUI* pNow = m_pManager->GetFontInfo(CurrentFont());
    if (pLeaving != nullptr && pNow != nullptr && pLeaving->bItalic && !pNow->bItalic) {
        HFONT hOld = (HFONT)SelectObject(m_hDC, pLeaving->hFont);
        ABC abc = {};
        if (GetCharABCWidthsW(m_hDC, L' ', L' ', &abc) && abc.abcC > 0) m_x += abc.abcC / 2;
        SelectObject(m_hDC, hOld);
    }
}

HFONT CMarkupTextUI::VariantOf(HFONT hFont, bool bBold, bool bUnderline, bool bItalic)
{
    TFontInfoUI* pInfo = m_pManager->GetFontInfo(hFont);
    if (pInfo == nullptr) return hFont;
    bBold = bBold || pInfo->bBold;
    bUnderline = bUnderline || pInfo->bUnderline;
    bItalic = bItalic || pInfo->bItalic;
    LPCWSTR pstrFace = pInfo->sFontName.GetData();
    HFONT hVariant = m_pManager->FindFont(pstrFace, pInfo->iSize, bBold, bUnderline, bItalic);
    if (hVariant == nullptr) hVariant = m_pManager->AddFont(pstrFace, pInfo->iSize, bBold, bUnderline, bItalic);
    return hVariant != nullptr ? hVariant : hFont;
}

// A font index, or "face [size] [bold] [underline] [italic]" (the face may hold blanks).
HFONT CMarkupTextUI::FontFromParams(const CStringUI& sParams)
{
    LPCWSTR p = sParams.GetData();
    if (*p >= L'0' && *p <= L'9') return m_pManager->GetFont(ParseInt(p));
    CStringUI sFace;
    int nSize = 10;
    bool bBold = false, bUnderline = false, bItalic = false;
    while (*p != L'\0') {
        while (*p == L' ') p++;
        LPCWSTR pstrWord = p;
        while (*p != L'\0' && *p != L' ') p++;
        CStringUI sWord(pstrWord, (int)(p - pstrWord));
        if (sWord.IsEmpty()) break;
        if (sWord.GetAt(0) >= L'0' && sWord.GetAt(0) <= L'9')
            nSize = (int)MarkupNumber::Font(sWord.GetData());
        else if (sWord == L"bold")
            bBold = true;
        else if (sWord == L"underline")
            bUnderline = true;
        else if (sWord == L"italic")
            bItalic = true;
        else {
            if (!sFace.IsEmpty()) sFace += L' ';
            sFace += sWord;
        }
    }
    HFONT hFont = m_pManager->FindFont(sFace.GetData(), nSize, bBold, bUnderline, bItalic);
    if (hFont == nullptr) hFont = m_pManager->AddFont(sFace.GetData(), nSize, bBold, bUnderline, bItalic);
    return hFont;
}

void CMarkupTextUI::PushColor(DWORD dwColor)
{
    m_state.colors.push_back(dwColor);
}

void CMarkupTextUI::PopColor()
{
    if (!m_state.colors.empty()) m_state.colors.pop_back();
}

void CMarkupTextUI::NoteFont(TLineUI& line)
{
    const TEXTMETRICW& tm = MetricsOf(CurrentFont());
    if (line.cyHeight < tm.tmHeight + tm.tmExternalLeading) line.cyHeight = tm.tmHeight + tm.tmExternalLeading;
    if (line.cyDescent < tm.tmDescent) line.cyDescent = tm.tmDescent;
}

const TEXTMETRICW& CMarkupTextUI::MetricsOf(HFONT hFont)
{
    auto found = m_metrics.find(hFont);
    if (found != m_metrics.end()) return found->second;
    SelectObject(m_hDC, hFont);
    TEXTMETRICW tm = {};
    GetTextMetricsW(m_hDC, &tm);
    return m_metrics[hFont] = tm;
}

// Plain characters up to the next tag, line feed or the end; cut where the line is full.
LPCWSTR CMarkupTextUI::DoRun(LPCWSTR p, bool bEmit, bool& bLineFull, TLineUI& line)
{
    // A run ends where the rest of the line is surely full (a character is at least a pixel
    // wide, but for a few without width): scanning and measuring the whole rest of a long
    // text for every line made drawing take quadratic time. A run cut here just goes on
    // with the next one on the same line.
    const int nLimit = (m_rc.right - m_x > 0 ? m_rc.right - m_x : 0) + kRunSlack;
    LPCWSTR q = p;
    while (*q != L'\0' && *q != L'\n' && *q != L'\r' && q - p < nLimit) {
        LPCWSTR pNext = nullptr;
        TTagUI tag;
        WCHAR ch = 0;
        if (q != p && (m_state.bRaw ? IsRawEnd(q, pNext) : (ParseTag(q, tag, pNext) || ParseEscape(q, ch)))) break;
        q++;
    }
    const int nChars = (int)(q - p);
    SelectObject(m_hDC, CurrentFont());
    if (!bEmit) NoteFont(line);
    const bool bLineStart = m_x <= m_rc.left;
    int nFit = FitRun(p, nChars, m_rc.right - m_x, bLineStart);
    if (nFit >= nChars) {
        Output(p, nChars, bEmit, line);
        return q;
    }
    bLineFull = true;
    if ((m_uStyle & DT_END_ELLIPSIS) != 0) {
        int nKeep = nFit > 2 ? nFit - 2 : 0;
        Output(p, nKeep, bEmit, line);
        Output(L"...", 3, bEmit, line);
        m_bEnded = bEmit;
        return q;
    }
    Output(p, nFit, bEmit, line);
    return p + nFit;
}

// How many characters go on this line: those that fit, cut after the last character that
// is not a letter with DT_WORDBREAK; at least one at the start of a line.
int CMarkupTextUI::FitRun(LPCWSTR pstrRun, int nChars, int cxAvailable, bool bLineStart) const
{
    int nFit = 0;
    SIZE sz = {};
    if (cxAvailable > 0) GetTextExtentExPointW(m_hDC, pstrRun, nChars, cxAvailable, &nFit, nullptr, &sz);
    if (nFit >= nChars) return nChars;
    if ((m_uStyle & DT_WORDBREAK) != 0) {
        for (int i = nFit - 1; i >= 0; i--) {
            if (!IsAsciiLetter(pstrRun[i])) return i + 1;
        }
        if (!bLineStart) return 0; // the word moves to the next line whole
    }
    if (nFit == 0 && bLineStart) nFit = 1;
    return nFit;
}

void CMarkupTextUI::Output(LPCWSTR pstrText, int nChars, bool bEmit, const TLineUI& line)
{
    if (nChars <= 0) return;
    SelectObject(m_hDC, CurrentFont());
    SIZE sz = {};
    GetTextExtentPoint32W(m_hDC, pstrText, nChars, &sz);
    if (bEmit && m_bDraw) {
        TEXTMETRICW tm = {};
        GetTextMetricsW(m_hDC, &tm);
        DWORD dwColor = m_state.colors.empty() ? m_dwTextColor : m_state.colors.back();
        SetTextColor(m_hDC, CPainterUI::ToColorRef(dwColor));
        if (m_state.bSelected) {
            SetBkMode(m_hDC, OPAQUE);
            SetBkColor(m_hDC, CPainterUI::ToColorRef(m_pManager->GetDefaultSelectedBkColor()));
        } else {
            SetBkMode(m_hDC, TRANSPARENT);
        }
        const int y = m_yLine + line.cyHeight - line.cyDescent - tm.tmAscent;
        TextOutW(m_hDC, m_x, y, pstrText, nChars);
    }
    m_x += sz.cx;
    if (m_cxExtent < m_x - m_rc.left) m_cxExtent = m_x - m_rc.left;
}

void CMarkupTextUI::RecordLink(const TLineUI& line)
{
    if (m_nLinks >= m_nLinkCapacity) return;
    RECT& rcLink = m_prcLinks[m_nLinks];
    rcLink.left = m_state.xLinkStart;
    rcLink.top = m_yLine;
    rcLink.right = m_x;
    rcLink.bottom = m_yLine + line.cyHeight;
    m_sLinks[m_nLinks] = CStringUI(m_state.pstrLinkText, m_state.nLinkText);
    m_nLinks++;
}

} // namespace UpdUI
