#include "MarkupTextUI.h"

#include <wchar.h>

#include "AttributeValueUI.h"
#include "PainterUI.h"
#include "RenderClipUI.h"
#include "WindowManagerUI.h"

namespace {

// Characters a run may hold beyond the pixels left on its line (characters without width).
const int kRunSlack = 64;

// Different missing images a text may name before it stops looking images up.
const size_t kMaxMissingImages = 32;

bool IsAsciiLetter(WCHAR ch)
{
    return (ch >= L'a' && ch <= L'z') || (ch >= L'A' && ch <= L'Z');
}

WCHAR ClosingBracket(WCHAR chOpen)
{
    return chOpen == L'<' ? L'>' : L'}';
}

} // namespace

CMarkupTextUI::CMarkupTextUI(HDC hDC, CWindowManagerUI* pManager, DWORD dwTextColor, RECT* prcLinks, CStringUI* sLinks,
                             int& nLinkRects, UINT uStyle)
    : m_hDC(hDC), m_pManager(pManager), m_dwTextColor(dwTextColor), m_prcLinks(prcLinks), m_sLinks(sLinks),
      m_nLinkRects(nLinkRects),
      m_nLinkCapacity(prcLinks != nullptr && sLinks != nullptr && nLinkRects > 0 ? nLinkRects : 0), m_uStyle(uStyle),
      m_bDraw((uStyle & DT_CALCRECT) == 0), m_bSingleLine((uStyle & DT_SINGLELINE) != 0), m_rc(), m_p(nullptr), m_pt(),
      m_cyLine(0), m_cxMaxPen(0), m_cyImageBottom(0), m_tm(), m_hFont(nullptr), m_hFontInDC(nullptr),
      m_bHoverLink(false), m_nLinks(0), m_iOpenLink(-1), m_bInLink(false), m_ptLinkStart(), m_bEnded(false)
{ }

void CMarkupTextUI::Draw(RECT& rc, LPCWSTR pstrText)
{
    if (IsRectEmpty(&rc) || pstrText == nullptr || m_pManager == nullptr) {
        m_nLinkRects = 0;
        return;
    }
    CRenderClipUI clip;
    if (m_bDraw) CRenderClipUI::Generate(m_hDC, rc, clip);
    m_rc = rc;
    HFONT hOldFont = (HFONT)GetCurrentObject(m_hDC, OBJ_FONT);
    SelectFont(m_pManager->GetDefaultFont());
    int nOldBkMode = SetBkMode(m_hDC, TRANSPARENT);
    COLORREF clrOld = SetTextColor(m_hDC, CPainterUI::ToColorRef(m_dwTextColor));
    if (m_bDraw && m_bSingleLine) AlignSingleLine(pstrText);
    FindHoverLink();
    Run(pstrText);
    Finish(rc);
    SetTextColor(m_hDC, clrOld);
    SetBkMode(m_hDC, nOldBkMode);
    SelectObject(m_hDC, hOldFont);
}

// A single line is placed inside the rect by measuring it first.
void CMarkupTextUI::AlignSingleLine(LPCWSTR pstrText)
{
    if ((m_uStyle & (DT_VCENTER | DT_CENTER | DT_RIGHT)) == 0) return;
    RECT rcMeasure = m_rc;
    int nNoLinks = 0;
    CMarkupTextUI measure(m_hDC, m_pManager, m_dwTextColor, nullptr, nullptr, nNoLinks, m_uStyle | DT_CALCRECT);
    measure.Draw(rcMeasure, pstrText);
    const int cx = rcMeasure.right - rcMeasure.left, cy = rcMeasure.bottom - rcMeasure.top;
    if ((m_uStyle & DT_VCENTER) != 0) {
        m_rc.top += (m_rc.bottom - m_rc.top - cy) / 2;
        m_rc.bottom = m_rc.top + cy;
    }
    if ((m_uStyle & DT_CENTER) != 0) {
        m_rc.left += (m_rc.right - m_rc.left - cx) / 2;
        m_rc.right = m_rc.left + cx;
    } else if ((m_uStyle & DT_RIGHT) != 0) {
        m_rc.left = m_rc.right - cx;
    }
}

// The pointer over any link of the previous call lights up all links of this one.
void CMarkupTextUI::FindHoverLink()
{
    POINT ptMouse = m_pManager->GetMousePos();
    for (int i = 0; i < m_nLinkCapacity; i++) {
        m_sLinks[i].Empty();
        if (PtInRect(&m_prcLinks[i], ptMouse)) {
            m_bHoverLink = true;
            break;
        }
    }
}

void CMarkupTextUI::Run(LPCWSTR pstrText)
{
    m_p = pstrText;
    m_pt.x = m_rc.left;
    m_pt.y = m_rc.top;
    m_cxMaxPen = m_rc.left;
    m_cyImageBottom = m_rc.top;
    m_cyLine = FontLineHeight();
    while (*m_p != L'\0' && !m_bEnded) {
        if (m_pt.x >= m_rc.right || *m_p == L'\n') {
            if (*m_p == L'\n') m_p++;
            if (!BreakLine(false)) break;
            continue;
        }
        TTagUI tag;
        WCHAR chEscaped = 0;
        if (ParseTag(m_p, tag)) {
            ApplyTag(tag);
        } else if (ParseEscape(m_p, chEscaped)) {
            DrawTextAt(&chEscaped, 1, -1);
        } else if (*m_p == L' ') {
            DrawBlank();
        } else {
            DrawRun();
        }
    }
    if (m_bInLink) CloseLink();
}

// "<b>", "<c #FF0000>", "</b>", and the same in curly brackets.
bool CMarkupTextUI::ParseTag(LPCWSTR& p, TTagUI& tag) const
{
    if (p[0] != L'<' && p[0] != L'{') return false;
    const WCHAR chClose = ClosingBracket(p[0]);
    LPCWSTR q = p + 1;
    tag.bClosing = *q == L'/';
    if (tag.bClosing) q++;
    if (*q < L'a' || *q > L'z') return false;
    tag.chName = *q++;
    if (*q != L' ' && *q != chClose) return false;
    LPCWSTR pstrEnd = m_closingSearch.Find(q, chClose);
    if (pstrEnd == nullptr) return false;
    if (*q == L' ') tag.sArgument.Assign(q + 1, (int)(pstrEnd - q - 1));
    p = pstrEnd + 1;
    return true;
}

// "<{>" draws "{", "{<}" draws "<".
bool CMarkupTextUI::ParseEscape(LPCWSTR& p, WCHAR& ch) const
{
    if (p[0] == L'<' && (p[1] == L'{' || p[1] == L'}') && p[2] == L'>') {
        ch = p[1];
        p += 3;
        return true;
    }
    if (p[0] == L'{' && (p[1] == L'<' || p[1] == L'>') && p[2] == L'}') {
        ch = p[1];
        p += 3;
        return true;
    }
    return false;
}

bool CMarkupTextUI::IsTagStart(LPCWSTR p) const
{
    TTagUI tag;
    WCHAR ch = 0;
    return ParseTag(p, tag) || ParseEscape(p, ch);
}

void CMarkupTextUI::ApplyTag(const TTagUI& tag)
{
    LPCWSTR pstrArg = tag.sArgument.GetData();
    switch (tag.chName) {
    case L'a':
        if (tag.bClosing)
            CloseLink();
        else
            OpenLink(tag.sArgument);
        break;
    case L'b': SelectFont(tag.bClosing ? m_pManager->GetDefaultFont() : m_pManager->GetDefaultBoldFont()); break;
    case L'c':
        SetTextColor(m_hDC,
                     CPainterUI::ToColorRef(tag.bClosing ? m_dwTextColor : CAttributeValueUI::ParseColor(pstrArg)));
        break;
    case L'f':
        SelectFont(tag.bClosing ? m_pManager->GetDefaultFont()
                                : m_pManager->GetFont(CAttributeValueUI::ParseInt(pstrArg)));
        break;
    case L'i':
        if (!tag.bClosing) DrawInlineImage(tag.sArgument);
        break;
    case L'n':
        if (!tag.bClosing && !m_bSingleLine && !BreakLine(true)) m_bEnded = true;
        break;
    case L'p':
        if (tag.bClosing) {
            m_cyLine = FontLineHeight();
        } else {
            int cyFont = FontLineHeight();
            m_cyLine = (m_cyLine > cyFont ? m_cyLine : cyFont) + CAttributeValueUI::ParseCoordinate(pstrArg);
            SelectFont(m_pManager->GetDefaultFont());
            SetTextColor(m_hDC, CPainterUI::ToColorRef(m_dwTextColor));
        }
        break;
    case L'x':
        if (!tag.bClosing) {
            m_pt.x += CAttributeValueUI::ParseCoordinate(pstrArg);
            NotePen();
        }
        break;
    case L'y':
        if (!tag.bClosing) m_cyLine = CAttributeValueUI::ParseCoordinate(pstrArg);
        break;
    default: break;
    }
}

// A link past the caller's capacity is still drawn as a link, but not recorded.
void CMarkupTextUI::OpenLink(const CStringUI& sText)
{
    m_bInLink = true;
    m_ptLinkStart = m_pt;
    m_iOpenLink = -1;
    if (m_nLinks < m_nLinkCapacity) {
        m_iOpenLink = m_nLinks++;
        m_sLinks[m_iOpenLink] = sText;
        SetRectEmpty(&m_prcLinks[m_iOpenLink]);
    }
    SetTextColor(m_hDC,
                 CPainterUI::ToColorRef(m_bHoverLink ? m_pManager->GetDefaultLinkHoverFontColor()
                                                     : m_pManager->GetDefaultLinkFontColor()));
    SelectFont(m_pManager->GetDefaultLinkFont());
}

void CMarkupTextUI::CloseLink()
{
    if (m_iOpenLink >= 0) {
        RECT& rcLink = m_prcLinks[m_iOpenLink];
        rcLink.left = m_ptLinkStart.x;
        rcLink.top = m_ptLinkStart.y;
        rcLink.right = m_pt.x;
        rcLink.bottom = m_ptLinkStart.y + m_tm.tmHeight;
    }
    m_iOpenLink = -1;
    if (!m_bInLink) return;
    m_bInLink = false;
    SetTextColor(m_hDC, CPainterUI::ToColorRef(m_dwTextColor));
    SelectFont(m_pManager->GetDefaultFont());
}

// At a line break inside a link: its rect ends with the line, and a new entry with the
// same text continues it, while the caller's arrays have room.
void CMarkupTextUI::ContinueLink()
{
    if (m_iOpenLink < 0) return;
    const int iPrevious = m_iOpenLink;
    RECT& rcLink = m_prcLinks[iPrevious];
    rcLink.left = m_ptLinkStart.x;
    rcLink.top = m_ptLinkStart.y;
    rcLink.right = m_pt.x;
    rcLink.bottom = m_ptLinkStart.y + m_tm.tmHeight;
    m_iOpenLink = -1;
    if (m_nLinks < m_nLinkCapacity) {
        m_iOpenLink = m_nLinks++;
        m_sLinks[m_iOpenLink] = m_sLinks[iPrevious];
        SetRectEmpty(&m_prcLinks[m_iOpenLink]);
    }
}

// "name" or "name frame": a strip of square frames when a frame index is given.
void CMarkupTextUI::DrawInlineImage(const CStringUI& sArgument)
{
    CStringUI sName = sArgument;
    int iFrame = 0;
    int iBlank = sArgument.Find(L" ");
    const bool bFrames = iBlank >= 0;
    if (bFrames) {
        sName.Assign(sArgument.GetData(), iBlank);
        iFrame = CAttributeValueUI::ParseInt(sArgument.GetData() + iBlank + 1);
    }
    if (m_missingImages.size() >= kMaxMissingImages || m_missingImages.count(sName.GetData()) != 0) return;
    TImageRecUI* pImage = m_pManager->GetImageEx(sName.GetData());
    if (pImage == nullptr) {
        m_missingImages.insert(sName.GetData());
        return;
    }
    int cx = pImage->nWidth, cy = pImage->nHeight;
    RECT rcSource = { 0, 0, cx, cy };
    if (bFrames && cy > 0) {
        int nFrames = cx / cy;
        if (iFrame < 0 || iFrame >= nFrames) iFrame = 0;
        cx = cy;
        rcSource = RECT{ cx * iFrame, 0, cx * (iFrame + 1), cy };
    }
    if (m_pt.x + cx > m_rc.right && cx <= m_rc.right - m_rc.left && !m_bSingleLine && m_pt.x > m_rc.left) {
        if (!BreakLine(false)) {
            m_bEnded = true;
            return;
        }
    }
    RECT rcDest = { m_pt.x, m_pt.y, m_pt.x + cx, m_pt.y + cy };
    if (m_bDraw)
        CPainterUI::DrawImage(m_hDC, pImage->hBitmap, rcDest, rcDest, rcSource, RECT{ 0, 0, 0, 0 }, pImage->bAlpha,
                              255);
    if (m_cyLine < cy) m_cyLine = cy;
    if (m_cyImageBottom < rcDest.bottom) m_cyImageBottom = rcDest.bottom;
    m_pt.x += cx;
    NotePen();
}

bool CMarkupTextUI::BreakLine(bool bKeepLineHeight)
{
    ContinueLink();
    if (m_bSingleLine) return false;
    NotePen();
    m_pt.x = m_rc.left;
    m_pt.y += m_cyLine;
    int cyFont = FontLineHeight();
    m_cyLine = bKeepLineHeight && m_cyLine > cyFont ? m_cyLine : cyFont;
    m_ptLinkStart = m_pt;
    if (m_bDraw && m_pt.y >= m_rc.bottom) return false;
    while (*m_p == L' ') m_p++;
    return true;
}

void CMarkupTextUI::DrawBlank()
{
    SIZE sz = {};
    UseFont();
    GetTextExtentPoint32W(m_hDC, L" ", 1, &sz);
    DrawTextAt(L" ", 1, sz.cx);
    m_p++;
}

// A run goes up to a line feed, a blank-free tag start or the end; it is measured only
// when the cheap estimate says it may not fit the rest of the line.
void CMarkupTextUI::DrawRun()
{
    LPCWSTR pstrRun = m_p;
    LPCWSTR q = m_p;
    // A run ends where the rest of the line is surely full (a character is at least a pixel
    // wide, but for a few without width): scanning and measuring the whole rest of a long
    // text for every line made drawing take quadratic time. A run cut here just goes on
    // with the next one on the same line.
    const int nLimit = (m_rc.right - m_pt.x > 0 ? m_rc.right - m_pt.x : 0) + kRunSlack;
    while (*q != L'\0' && *q != L'\n' && (q == pstrRun || !IsTagStart(q)) && q - pstrRun < nLimit) q++;
    int nChars = (int)(q - pstrRun);
    if (nChars == 0) {
        m_bEnded = true;
        return;
    }
    const int cxAvailable = m_rc.right - m_pt.x;
    UseFont();
    if (nChars * m_tm.tmMaxCharWidth > cxAvailable) {
        int nFit = FitRun(pstrRun, nChars, cxAvailable);
        if (nFit < nChars && (m_uStyle & DT_END_ELLIPSIS) != 0 && m_bDraw) {
            RECT rcRest = { m_pt.x, m_pt.y, m_rc.right, m_rc.bottom };
            DrawTextW(m_hDC, pstrRun, nChars, &rcRest, m_uStyle);
            m_pt.x = m_rc.right;
            NotePen();
            m_bEnded = true;
            return;
        }
        if (nFit < nChars) {
            m_p = pstrRun + nFit;
            if (nFit > 0) DrawTextAt(pstrRun, nFit, -1);
            m_pt.x = m_rc.right; // the next step breaks the line
            return;
        }
    }
    m_p = q;
    DrawTextAt(pstrRun, nChars, -1);
}

// How many characters of the run go on this line: those that fit, cut after the last
// breakable character with DT_WORDBREAK; at least one at the start of a line.
int CMarkupTextUI::FitRun(LPCWSTR pstrRun, int nChars, int cxAvailable) const
{
    int nFit = 0;
    SIZE sz = {};
    if (cxAvailable > 0) GetTextExtentExPointW(m_hDC, pstrRun, nChars, cxAvailable, &nFit, nullptr, &sz);
    if (nFit >= nChars) return nChars;
    const bool bLineStart = m_pt.x <= m_rc.left;
    if ((m_uStyle & DT_WORDBREAK) != 0) {
        for (int i = nFit - 1; i >= 0; i--) {
            if (!IsAsciiLetter(pstrRun[i])) return i + 1;
        }
        if (!bLineStart) return 0; // the word moves to the next line whole
    }
    if (nFit == 0 && bLineStart) nFit = 1;
    return nFit;
}

void CMarkupTextUI::DrawTextAt(LPCWSTR pstrText, int nChars, int cxWidth)
{
    UseFont();
    if (cxWidth < 0) {
        SIZE sz = {};
        GetTextExtentPoint32W(m_hDC, pstrText, nChars, &sz);
        cxWidth = sz.cx;
    }
    if (m_bDraw) TextOutW(m_hDC, m_pt.x, m_pt.y, pstrText, nChars);
    m_pt.x += cxWidth;
    NotePen();
}

void CMarkupTextUI::SelectFont(HFONT hFont)
{
    m_hFont = hFont;
    auto found = m_metrics.find(hFont);
    if (found != m_metrics.end()) {
        m_tm = found->second;
    } else {
        UseFont();
        GetTextMetricsW(m_hDC, &m_tm);
        m_metrics[hFont] = m_tm;
    }
    int cyFont = FontLineHeight();
    if (m_cyLine < cyFont) m_cyLine = cyFont;
}

void CMarkupTextUI::UseFont()
{
    if (m_hFontInDC == m_hFont) return;
    SelectObject(m_hDC, m_hFont);
    m_hFontInDC = m_hFont;
}

int CMarkupTextUI::FontLineHeight() const
{
    return m_tm.tmHeight + m_tm.tmExternalLeading;
}

void CMarkupTextUI::NotePen()
{
    if (m_cxMaxPen < m_pt.x) m_cxMaxPen = m_pt.x;
}

void CMarkupTextUI::Finish(RECT& rc)
{
    for (int i = m_nLinks; i < m_nLinkCapacity; i++) SetRectEmpty(&m_prcLinks[i]);
    m_nLinkRects = m_nLinks;
    if (m_bDraw) return;
    int cyBottom = m_pt.y + m_cyLine;
    rc.bottom = cyBottom > m_cyImageBottom ? cyBottom : m_cyImageBottom;
    if (m_cxMaxPen < rc.right) rc.right = m_cxMaxPen;
}
