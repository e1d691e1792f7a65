#include "ScrollBarUI.h"

#include <cwchar>

#include "ContainerUI.h"

namespace UpdUI {

namespace {

const int kDefaultBarSize = 16;

} // namespace

CScrollBarUI::CScrollBarUI()
    : m_bHorizontal(false), m_nRange(100), m_nScrollPos(0), m_nLineSize(8), m_pOwner(nullptr), m_rcButton1(),
      m_bShowButton1(true), m_rcButton2(), m_bShowButton2(true), m_rcThumb()
{
    m_cxyFixed.cx = kDefaultBarSize;
}

LPCWSTR CScrollBarUI::GetControlClass() const
{
    return L"ScrollBarUI";
}

LPVOID CScrollBarUI::GetInterface(LPCWSTR pstrName)
{
    if (pstrName != nullptr && wcscmp(pstrName, L"ScrollBar") == 0) return this;
    return CControlUI::GetInterface(pstrName);
}

// Showing or hiding a bar is part of its owner's layout, so it does not ask for one.
void CScrollBarUI::SetVisible(bool bVisible)
{
    if (m_bVisible == bVisible) return;
    m_bVisible = bVisible;
    m_bFocused = false;
}

CContainerUI* CScrollBarUI::GetOwner() const
{
    return m_pOwner;
}

void CScrollBarUI::SetOwner(CContainerUI* pOwner)
{
    m_pOwner = pOwner;
}

bool CScrollBarUI::IsHorizontal() const
{
    return m_bHorizontal;
}

void CScrollBarUI::SetHorizontal(bool bHorizontal)
{
    if (m_bHorizontal == bHorizontal) return;
    m_bHorizontal = bHorizontal;
    if (m_bHorizontal && m_cxyFixed.cy == 0) {
        m_cxyFixed.cx = 0;
        m_cxyFixed.cy = kDefaultBarSize;
    } else if (!m_bHorizontal && m_cxyFixed.cx == 0) {
        m_cxyFixed.cy = 0;
        m_cxyFixed.cx = kDefaultBarSize;
    }
    if (m_pOwner != nullptr) m_pOwner->NeedUpdate();
    else NeedParentUpdate();
}

int CScrollBarUI::GetScrollRange() const
{
    return m_nRange;
}

void CScrollBarUI::SetScrollRange(int nRange)
{
    if (m_nRange == nRange) return;
    m_nRange = nRange < 0 ? 0 : nRange;
    if (m_nScrollPos > m_nRange) m_nScrollPos = m_nRange;
    SetPos(m_rcItem);
}

int CScrollBarUI::GetScrollPos() const
{
    return m_nScrollPos;
}

void CScrollBarUI::SetScrollPos(int nPos)
{
    if (m_nScrollPos == nPos) return;
    m_nScrollPos = nPos < 0 ? 0 : nPos;
    if (m_nScrollPos > m_nRange) m_nScrollPos = m_nRange;
    SetPos(m_rcItem);
}

int CScrollBarUI::GetLineSize() const
{
    return m_nLineSize;
}

void CScrollBarUI::SetLineSize(int nSize)
{
    m_nLineSize = nSize;
}

bool CScrollBarUI::GetShowButton1() const
{
    return m_bShowButton1;
}

void CScrollBarUI::SetShowButton1(bool bShow)
{
    m_bShowButton1 = bShow;
    SetPos(m_rcItem);
}

bool CScrollBarUI::GetShowButton2() const
{
    return m_bShowButton2;
}

void CScrollBarUI::SetShowButton2(bool bShow)
{
    m_bShowButton2 = bShow;
    SetPos(m_rcItem);
}

RECT CScrollBarUI::GetButton1Rect() const
{
    return m_rcButton1;
}

RECT CScrollBarUI::GetButton2Rect() const
{
    return m_rcButton2;
}

RECT CScrollBarUI::GetThumbRect() const
{
    return m_rcThumb;
}

void CScrollBarUI::SetPos(RECT rc)
{
    CControlUI::SetPos(rc);
    if (m_bHorizontal) LayOut(m_rcItem.right - m_rcItem.left, m_cxyFixed.cy);
    else LayOut(m_rcItem.bottom - m_rcItem.top, m_cxyFixed.cx);
}

// Lays the buttons and the thumb out along the bar's axis: a = start edge, b = end
// edge on the axis; the cross axis always spans the button size from the top/left.
void CScrollBarUI::LayOut(int nLength, int nButton)
{
    int a = m_bHorizontal ? m_rcItem.left : m_rcItem.top;
    int b = m_bHorizontal ? m_rcItem.right : m_rcItem.bottom;
    int c = m_bHorizontal ? m_rcItem.top : m_rcItem.left;
    auto place = [this, c, nButton](RECT& rcOut, int from, int to) {
        if (m_bHorizontal) ::SetRect(&rcOut, from, c, to, c + nButton);
        else ::SetRect(&rcOut, c, from, c + nButton, to);
    };
    auto placeEmpty = [this, c](RECT& rcOut, int at) {
        if (m_bHorizontal) ::SetRect(&rcOut, at, c, at, c);
        else ::SetRect(&rcOut, c, at, c, at);
    };

    int nTrack = nLength;
    if (m_bShowButton1) nTrack -= nButton;
    if (m_bShowButton2) nTrack -= nButton;
    if (nButton >= nTrack) {
        int nHalf = nButton < nLength / 2 ? nButton : nLength / 2;
        if (m_bShowButton1) place(m_rcButton1, a, a + nHalf);
        else placeEmpty(m_rcButton1, a);
        if (m_bShowButton2) place(m_rcButton2, b - nHalf, b);
        else placeEmpty(m_rcButton2, b);
        ::SetRectEmpty(&m_rcThumb);
        return;
    }
    if (m_bShowButton1) place(m_rcButton1, a, a + nButton);
    else placeEmpty(m_rcButton1, a);
    if (m_bShowButton2) place(m_rcButton2, b - nButton, b);
    else placeEmpty(m_rcButton2, b);
    int nStart = m_bHorizontal ? m_rcButton1.right : m_rcButton1.bottom;
    int nEnd = m_bHorizontal ? m_rcButton2.left : m_rcButton2.top;
    if (m_nRange <= 0) {
        place(m_rcThumb, nStart, nEnd);
        return;
    }
    int nThumb = static_cast<int>(static_cast<LONGLONG>(nLength) * nTrack / (nLength + m_nRange));
    if (nThumb < nButton) nThumb = nButton;
    int nFrom = nStart + static_cast<int>(static_cast<LONGLONG>(nTrack - nThumb) * m_nScrollPos / m_nRange);
    int nTo = nFrom + nThumb;
    if (nTo > nEnd) {
        nFrom = nEnd - nThumb;
        nTo = nEnd;
    }
    place(m_rcThumb, nFrom, nTo);
}

} // namespace UpdUI
