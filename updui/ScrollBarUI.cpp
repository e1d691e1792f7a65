#include "ScrollBarUI.h"

#include <cstdlib>
#include <cwchar>

#include "AttributeValueUI.h"
#include "ContainerUI.h"
#include "ControlStateUI.h"
#include "PainterUI.h"

namespace UpdUI {

namespace {

const int kDefaultBarSize = 16;
const DWORD kFrameColor = 0x0085E4FF;
const int kFrameSize = 2;

struct TImageAttributeUI
{
    LPCWSTR pstrName;
    TScrollPartUI part;
    TScrollImageStateUI state;
};

const TImageAttributeUI kImageAttributes[] = {
    { L"button1normalimage", ScrollPartButton1, ScrollImageNormal },
    { L"button1hotimage", ScrollPartButton1, ScrollImageHot },
    { L"button1pushedimage", ScrollPartButton1, ScrollImagePushed },
    { L"button1disabledimage", ScrollPartButton1, ScrollImageDisabled },
    { L"button2normalimage", ScrollPartButton2, ScrollImageNormal },
    { L"button2hotimage", ScrollPartButton2, ScrollImageHot },
    { L"button2pushedimage", ScrollPartButton2, ScrollImagePushed },
    { L"button2disabledimage", ScrollPartButton2, ScrollImageDisabled },
    { L"thumbnormalimage", ScrollPartThumb, ScrollImageNormal },
    { L"thumbhotimage", ScrollPartThumb, ScrollImageHot },
    { L"thumbpushedimage", ScrollPartThumb, ScrollImagePushed },
    { L"thumbdisabledimage", ScrollPartThumb, ScrollImageDisabled },
    { L"railnormalimage", ScrollPartRail, ScrollImageNormal },
    { L"railhotimage", ScrollPartRail, ScrollImageHot },
    { L"railpushedimage", ScrollPartRail, ScrollImagePushed },
    { L"raildisabledimage", ScrollPartRail, ScrollImageDisabled },
    { L"bknormalimage", ScrollPartBk, ScrollImageNormal },
    { L"bkhotimage", ScrollPartBk, ScrollImageHot },
    { L"bkpushedimage", ScrollPartBk, ScrollImagePushed },
    { L"bkdisabledimage", ScrollPartBk, ScrollImageDisabled },
};

bool IsValidPart(TScrollPartUI part, TScrollImageStateUI state)
{
    return part >= 0 && part < ScrollPartCount && state >= 0 && state < ScrollImageStateCount;
}

} // namespace

CScrollBarUI::CScrollBarUI()
    : m_bHorizontal(false), m_nRange(100), m_nScrollPos(0), m_nLineSize(8), m_pOwner(nullptr), m_ptLastMouse(),
      m_nLastScrollPos(0), m_nLastScrollOffset(0), m_nScrollRepeatDelay(0), m_rcButton1(), m_bShowButton1(true),
      m_uButton1State(0), m_rcButton2(), m_bShowButton2(true), m_uButton2State(0), m_rcThumb(), m_uThumbState(0)
{
    m_cxyFixed.cx = kDefaultBarSize;
}

CScrollBarUI::~CScrollBarUI() = default;

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

void CScrollBarUI::SetEnabled(bool bEnable)
{
    CControlUI::SetEnabled(bEnable);
    if (IsEnabled()) return;
    m_uButton1State = 0;
    m_uButton2State = 0;
    m_uThumbState = 0;
}

void CScrollBarUI::SetFocus()
{
    if (m_pOwner != nullptr)
        m_pOwner->SetFocus();
    else
        CControlUI::SetFocus();
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
    if (m_pOwner != nullptr)
        m_pOwner->NeedUpdate();
    else
        NeedParentUpdate();
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

UINT CScrollBarUI::GetButton1State() const
{
    return m_uButton1State;
}

UINT CScrollBarUI::GetButton2State() const
{
    return m_uButton2State;
}

UINT CScrollBarUI::GetThumbState() const
{
    return m_uThumbState;
}

LPCWSTR CScrollBarUI::GetPartImage(TScrollPartUI part, TScrollImageStateUI state) const
{
    if (!IsValidPart(part, state)) return L"";
    return m_sImages[part][state].GetData();
}

void CScrollBarUI::SetPartImage(TScrollPartUI part, TScrollImageStateUI state, LPCWSTR pStrImage)
{
    if (!IsValidPart(part, state)) return;
    m_sImages[part][state] = pStrImage;
    Invalidate();
}

int CScrollBarUI::ButtonSize() const
{
    return m_bHorizontal ? m_cxyFixed.cy : m_cxyFixed.cx;
}

void CScrollBarUI::SetPos(RECT rc)
{
    CControlUI::SetPos(rc);
    if (m_bHorizontal)
        LayOut(m_rcItem.right - m_rcItem.left, m_cxyFixed.cy);
    else
        LayOut(m_rcItem.bottom - m_rcItem.top, m_cxyFixed.cx);
}

// Lays the buttons and the thumb out along the bar's axis: a = start edge, b = end
// edge on the axis; the cross axis always spans the button size from the top/left.
void CScrollBarUI::LayOut(int nLength, int nButton)
{
    int a = m_bHorizontal ? m_rcItem.left : m_rcItem.top;
    int b = m_bHorizontal ? m_rcItem.right : m_rcItem.bottom;
    int c = m_bHorizontal ? m_rcItem.top : m_rcItem.left;
    auto place = [this, c, nButton](RECT& rcOut, int from, int to) {
        if (m_bHorizontal)
            ::SetRect(&rcOut, from, c, to, c + nButton);
        else
            ::SetRect(&rcOut, c, from, c + nButton, to);
    };
    auto placeEmpty = [this, c](RECT& rcOut, int at) {
        if (m_bHorizontal)
            ::SetRect(&rcOut, at, c, at, c);
        else
            ::SetRect(&rcOut, c, at, c, at);
    };

    int nTrack = nLength;
    if (m_bShowButton1) nTrack -= nButton;
    if (m_bShowButton2) nTrack -= nButton;
    if (nButton >= nTrack) {
        int nHalf = nButton < nLength / 2 ? nButton : nLength / 2;
        if (m_bShowButton1)
            place(m_rcButton1, a, a + nHalf);
        else
            placeEmpty(m_rcButton1, a);
        if (m_bShowButton2)
            place(m_rcButton2, b - nHalf, b);
        else
            placeEmpty(m_rcButton2, b);
        ::SetRectEmpty(&m_rcThumb);
        return;
    }
    if (m_bShowButton1)
        place(m_rcButton1, a, a + nButton);
    else
        placeEmpty(m_rcButton1, a);
    if (m_bShowButton2)
        place(m_rcButton2, b - nButton, b);
    else
        placeEmpty(m_rcButton2, b);
    int nStart = m_bHorizontal ? m_rcButton1.right : m_rcButton1.bottom;
    int nEnd = m_bHorizontal ? m_rcButton2.left : m_rcButton2.top;
    if (m_nRange <= 0) {
        place(m_rcThumb, nStart, nEnd);
        return;
    }
    int nThumb =
        static_cast<int>(static_cast<LONGLONG>(nLength) * nTrack / (static_cast<LONGLONG>(nLength) + m_nRange));
    if (nThumb < nButton) nThumb = nButton;
    int nFrom = nStart + static_cast<int>(static_cast<LONGLONG>(nTrack - nThumb) * m_nScrollPos / m_nRange);
    int nTo = nFrom + nThumb;
    if (nTo > nEnd) {
        nFrom = nEnd - nThumb;
        nTo = nEnd;
    }
    place(m_rcThumb, nFrom, nTo);
}

// ---------------------------------------------------------------- scrolling steps

void CScrollBarUI::NotifyScroll()
{
    if (m_pOwner == nullptr && m_pManager != nullptr) m_pManager->SendNotify(this, L"scroll");
}

void CScrollBarUI::ScrollTo(int nPos)
{
    SetScrollPos(nPos);
    NotifyScroll();
}

void CScrollBarUI::LineBack()
{
    if (m_pOwner == nullptr)
        ScrollTo(m_nScrollPos - m_nLineSize);
    else if (m_bHorizontal)
        m_pOwner->LineLeft();
    else
        m_pOwner->LineUp();
}

void CScrollBarUI::LineForward()
{
    if (m_pOwner == nullptr)
        ScrollTo(m_nScrollPos + m_nLineSize);
    else if (m_bHorizontal)
        m_pOwner->LineRight();
    else
        m_pOwner->LineDown();
}

void CScrollBarUI::PageBack()
{
    if (m_pOwner == nullptr)
        ScrollTo(m_nScrollPos - (m_bHorizontal ? GetWidth() : GetHeight()));
    else if (m_bHorizontal)
        m_pOwner->PageLeft();
    else
        m_pOwner->PageUp();
}

void CScrollBarUI::PageForward()
{
    if (m_pOwner == nullptr)
        ScrollTo(m_nScrollPos + (m_bHorizontal ? GetWidth() : GetHeight()));
    else if (m_bHorizontal)
        m_pOwner->PageRight();
    else
        m_pOwner->PageDown();
}

void CScrollBarUI::PageTowards(POINT pt)
{
    int nAt = m_bHorizontal ? pt.x : pt.y;
    int nThumbStart = m_bHorizontal ? m_rcThumb.left : m_rcThumb.top;
    int nThumbEnd = m_bHorizontal ? m_rcThumb.right : m_rcThumb.bottom;
    if (nAt < nThumbStart)
        PageBack();
    else if (nAt >= nThumbEnd)
        PageForward();
}

// ---------------------------------------------------------------- events

void CScrollBarUI::PassOn(TEventRecUI& event)
{
    if (m_pOwner != nullptr)
        m_pOwner->DoEvent(event);
    else
        CControlUI::DoEvent(event);
}

void CScrollBarUI::OnButtonDown(const TEventRecUI& event)
{
    m_nLastScrollOffset = 0;
    m_nScrollRepeatDelay = 0;
    if (m_pManager != nullptr) m_pManager->SetTimer(this, REPEAT_TIMER_KEY, REPEAT_ELAPSE);
    POINT pt = event.mousePoint;
    if (::PtInRect(&m_rcButton1, pt)) {
        m_uButton1State |= UISTATE_PUSHED;
        LineBack();
    } else if (::PtInRect(&m_rcButton2, pt)) {
        m_uButton2State |= UISTATE_PUSHED;
        LineForward();
    } else if (::PtInRect(&m_rcThumb, pt)) {
        m_uThumbState |= UISTATE_CAPTURED | UISTATE_PUSHED;
        m_ptLastMouse = pt;
        m_nLastScrollPos = m_nScrollPos;
        NotifyScroll();
    } else {
        PageTowards(pt);
    }
    Invalidate();
}

void CScrollBarUI::OnButtonUp()
{
    m_nScrollRepeatDelay = 0;
    m_nLastScrollOffset = 0;
    if (m_pManager != nullptr) m_pManager->KillTimer(this, REPEAT_TIMER_KEY);
    if ((m_uThumbState & UISTATE_CAPTURED) != 0)
        m_uThumbState &= ~(UISTATE_CAPTURED | UISTATE_PUSHED);
    else if ((m_uButton1State & UISTATE_PUSHED) != 0)
        m_uButton1State &= ~UISTATE_PUSHED;
    else if ((m_uButton2State & UISTATE_PUSHED) != 0)
        m_uButton2State &= ~UISTATE_PUSHED;
    Invalidate();
}

// The thumb follows the pointer by the share of the range that the pointer's travel
// is of the free track; a bar without free track does not move.
void CScrollBarUI::OnMouseMove(const TEventRecUI& event)
{
    POINT pt = event.mousePoint;
    if ((m_uThumbState & UISTATE_CAPTURED) != 0) {
        int nLength = m_bHorizontal ? GetWidth() : GetHeight();
        int nThumb = m_bHorizontal ? m_rcThumb.right - m_rcThumb.left : m_rcThumb.bottom - m_rcThumb.top;
        int nFree = nLength - 2 * ButtonSize() - nThumb;
        int nTravel = m_bHorizontal ? pt.x - m_ptLastMouse.x : pt.y - m_ptLastMouse.y;
        m_nLastScrollOffset = nFree > 0 ? static_cast<int>(static_cast<LONGLONG>(nTravel) * m_nRange / nFree) : 0;
        return;
    }
    if (!IsEnabled()) return;
    bool bOverThumb = ::PtInRect(&m_rcThumb, pt) != FALSE;
    bool bHot = (m_uThumbState & UISTATE_HOT) != 0;
    if (bOverThumb == bHot) return;
    SetStateBits(m_uThumbState, UISTATE_HOT, bOverThumb);
    Invalidate();
}

// Auto-repeat: the held button or rail repeats after the first REPEAT_DELAY_TICKS
// ticks; a dragged thumb is applied on every tick.
void CScrollBarUI::OnRepeatTimer()
{
    ++m_nScrollRepeatDelay;
    if ((m_uThumbState & UISTATE_CAPTURED) != 0) {
        int nPos = m_nLastScrollPos + m_nLastScrollOffset;
        if (m_pOwner != nullptr) {
            SIZE sz = m_pOwner->GetScrollPos();
            if (m_bHorizontal)
                sz.cx = nPos;
            else
                sz.cy = nPos;
            m_pOwner->SetScrollPos(sz);
        } else {
            SetScrollPos(nPos);
        }
        Invalidate();
        NotifyScroll();
        return;
    }
    if (m_nScrollRepeatDelay <= REPEAT_DELAY_TICKS) return;
    if ((m_uButton1State & UISTATE_PUSHED) != 0)
        LineBack();
    else if ((m_uButton2State & UISTATE_PUSHED) != 0)
        LineForward();
    else if (m_pManager != nullptr)
        PageTowards(m_pManager->GetMousePos());
}

void CScrollBarUI::OnMouseEnter(const TEventRecUI& event)
{
    m_uButton1State |= UISTATE_HOT;
    m_uButton2State |= UISTATE_HOT;
    if (::PtInRect(&m_rcThumb, event.mousePoint)) m_uThumbState |= UISTATE_HOT;
    Invalidate();
}

void CScrollBarUI::OnMouseLeave()
{
    m_uButton1State &= ~UISTATE_HOT;
    m_uButton2State &= ~UISTATE_HOT;
    m_uThumbState &= ~UISTATE_HOT;
    Invalidate();
}

void CScrollBarUI::DoEvent(TEventRecUI& event)
{
    if (!IsMouseEnabled() && IsMouseEvent(event.type)) {
        PassOn(event);
        return;
    }
    switch (event.type) {
    case EventButtonDown:
    case EventDoubleClick:
        if (!IsEnabled()) break;
        OnButtonDown(event);
        return;
    case EventButtonUp: OnButtonUp(); return;
    case EventMouseMove: OnMouseMove(event); return;
    case EventTimer:
        if (event.wParam != REPEAT_TIMER_KEY) break;
        OnRepeatTimer();
        return;
    case EventMouseEnter:
        if (!IsEnabled()) break;
        OnMouseEnter(event);
        return;
    case EventMouseLeave:
        if (!IsEnabled()) break;
        OnMouseLeave();
        return;
    case EventContextMenu:
    case EventKillFocus:
    case EventSetFocus: return;
    default: break;
    }
    PassOn(event);
}

void CScrollBarUI::SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue)
{
    if (pstrName == nullptr || pstrValue == nullptr) return;
    for (const TImageAttributeUI& attr : kImageAttributes) {
        if (wcscmp(pstrName, attr.pstrName) == 0) {
            SetPartImage(attr.part, attr.state, pstrValue);
            return;
        }
    }
    if (wcscmp(pstrName, L"hor") == 0)
        SetHorizontal(CAttributeValueUI::IsTrue(pstrValue));
    else if (wcscmp(pstrName, L"showbutton1") == 0)
        SetShowButton1(CAttributeValueUI::IsTrue(pstrValue));
    else if (wcscmp(pstrName, L"showbutton2") == 0)
        SetShowButton2(CAttributeValueUI::IsTrue(pstrValue));
    else if (wcscmp(pstrName, L"linesize") == 0)
        SetLineSize(static_cast<int>(wcstol(pstrValue, nullptr, 10)));
    else if (wcscmp(pstrName, L"range") == 0)
        SetScrollRange(static_cast<int>(wcstol(pstrValue, nullptr, 10)));
    else if (wcscmp(pstrName, L"value") == 0)
        SetScrollPos(static_cast<int>(wcstol(pstrValue, nullptr, 10)));
    else
        CControlUI::SetAttribute(pstrName, pstrValue);
}

// ---------------------------------------------------------------- painting

void CScrollBarUI::PaintBk(HDC hDC)
{
    CStringUI* pImages = m_sImages[ScrollPartBk];
    bool bHot = ((m_uButton1State | m_uButton2State | m_uThumbState) & UISTATE_HOT) != 0;
    CStringUI* pImage = nullptr;
    if (!IsEnabled())
        pImage = &pImages[ScrollImageDisabled];
    else if ((m_uThumbState & UISTATE_PUSHED) != 0)
        pImage = &pImages[ScrollImagePushed];
    else if (bHot)
        pImage = &pImages[ScrollImageHot];
    if (pImage != nullptr && DrawImageOrForget(hDC, *pImage, nullptr)) return;
    DrawImageOrForget(hDC, pImages[ScrollImageNormal], nullptr);
}

bool CScrollBarUI::PaintPart(HDC hDC, TScrollPartUI part, UINT uState, const RECT& rcPart)
{
    m_sImageModify.Format(L" dest='%d,%d,%d,%d'", rcPart.left - m_rcItem.left, rcPart.top - m_rcItem.top,
                          rcPart.right - m_rcItem.left, rcPart.bottom - m_rcItem.top);
    CStringUI* pImages = m_sImages[part];
    CStringUI* pImage = nullptr;
    if (!IsEnabled())
        pImage = &pImages[ScrollImageDisabled];
    else if ((uState & UISTATE_PUSHED) != 0)
        pImage = &pImages[ScrollImagePushed];
    else if ((uState & UISTATE_HOT) != 0)
        pImage = &pImages[ScrollImageHot];
    if (pImage != nullptr && DrawImageOrForget(hDC, *pImage, m_sImageModify.GetData())) return true;
    return DrawImageOrForget(hDC, pImages[ScrollImageNormal], m_sImageModify.GetData());
}

// The grip: an image of the bar's button size centred on the thumb.
void CScrollBarUI::PaintRail(HDC hDC)
{
    if (::IsRectEmpty(&m_rcThumb)) return;
    int nSize = ButtonSize();
    RECT rc = m_rcThumb;
    if (m_bHorizontal) {
        rc.left = (m_rcThumb.left + m_rcThumb.right) / 2 - nSize / 2;
        rc.right = rc.left + nSize;
    } else {
        rc.top = (m_rcThumb.top + m_rcThumb.bottom) / 2 - nSize / 2;
        rc.bottom = rc.top + nSize;
    }
    PaintPart(hDC, ScrollPartRail, m_uThumbState, rc);
}

void CScrollBarUI::DoPaint(HDC hDC, const RECT& rcPaint)
{
    if (!::IntersectRect(&m_rcPaint, &rcPaint, &m_rcItem)) return;
    PaintBk(hDC);
    if (m_bShowButton1 && !PaintPart(hDC, ScrollPartButton1, m_uButton1State, m_rcButton1))
        CPainterUI::DrawRect(hDC, m_rcButton1, kFrameSize, kFrameColor);
    if (m_bShowButton2 && !PaintPart(hDC, ScrollPartButton2, m_uButton2State, m_rcButton2))
        CPainterUI::DrawRect(hDC, m_rcButton2, kFrameSize, kFrameColor);
    if (!::IsRectEmpty(&m_rcThumb) && !PaintPart(hDC, ScrollPartThumb, m_uThumbState, m_rcThumb))
        CPainterUI::DrawRect(hDC, m_rcThumb, kFrameSize, kFrameColor);
    PaintRail(hDC);
}

} // namespace UpdUI
