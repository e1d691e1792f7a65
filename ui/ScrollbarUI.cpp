#include "ScrollbarUI.h"

#include <climits>
#include <initializer_list>
#include <cwchar>

#include "AttributeValueUI.h"
#include "ContainerUI.h"
#include "ControlStateUI.h"
#include "PainterUI.h"

namespace {

const DWORD kFallbackFrameColor = 0xFF85E4FF;
const int kFallbackFrameSize = 2;

bool IsEmptyRect(const RECT& rc)
{
    return rc.right <= rc.left || rc.bottom <= rc.top;
}

// Thumb length and offset use 64-bit products: a long list's range times the track
// length can pass what an int holds.
int ScaleDiv(int a, int b, int c)
{
    if (c == 0) return 0;
    long long v = static_cast<long long>(a) * b / c;
    if (v > INT_MAX) return INT_MAX;
    if (v < INT_MIN) return INT_MIN;
    return static_cast<int>(v);
}

} // namespace

CScrollbarUI::CScrollbarUI()
    : m_bHorizontal(false), m_nRange(100), m_nScrollPos(0), m_nLineSize(8), m_pOwner(nullptr), m_ptLastMouse{ 0, 0 },
      m_nLastScrollPos(0), m_nLastScrollOffset(0),
      m_nScrollRepeatDelay(0), m_button1{ { 0, 0, 0, 0 }, 0, {} }, m_button2{ { 0, 0, 0, 0 }, 0, {} }, m_thumb{
          { 0, 0, 0, 0 }, 0, {}
      }
{
    m_cxyFixed.cx = DEFAULT_SCROLLBAR_SIZE;
}

CScrollbarUI::~CScrollbarUI()
{
    if (m_pManager != nullptr) m_pManager->KillTimer(this, REPEAT_TIMER_KEY);
}

LPCWSTR CScrollbarUI::GetControlClass() const
{
    return L"ScrollbarUI";
}

LPVOID CScrollbarUI::GetInterface(LPCWSTR pstrName)
{
    if (pstrName != nullptr && wcscmp(pstrName, L"Scrollbar") == 0) return this;
    return CControlUI::GetInterface(pstrName);
}

CContainerUI* CScrollbarUI::GetOwner() const
{
    return m_pOwner;
}

void CScrollbarUI::SetOwner(CContainerUI* pOwner)
{
    m_pOwner = pOwner;
}

bool CScrollbarUI::IsHorizontal() const
{
    return m_bHorizontal;
}

void CScrollbarUI::SetHorizontal(bool bHorizontal)
{
    if (m_bHorizontal == bHorizontal) return;
    m_bHorizontal = bHorizontal;
    if (m_bHorizontal) {
        if (m_cxyFixed.cy == 0) {
            m_cxyFixed.cx = 0;
            m_cxyFixed.cy = DEFAULT_SCROLLBAR_SIZE;
        }
    } else if (m_cxyFixed.cx == 0) {
        m_cxyFixed.cx = DEFAULT_SCROLLBAR_SIZE;
        m_cxyFixed.cy = 0;
    }
    if (m_pOwner != nullptr)
        m_pOwner->NeedUpdate();
    else
        NeedParentUpdate();
}

int CScrollbarUI::GetScrollRange() const
{
    return m_nRange;
}

void CScrollbarUI::SetScrollRange(int nRange)
{
    if (m_nRange == nRange) return;
    m_nRange = nRange < 0 ? 0 : nRange;
    if (m_nScrollPos > m_nRange) m_nScrollPos = m_nRange;
    SetPos(m_rcItem);
}

int CScrollbarUI::GetScrollPos() const
{
    return m_nScrollPos;
}

void CScrollbarUI::SetScrollPos(int nPos)
{
    if (m_nScrollPos == nPos) return;
    if (nPos < 0) nPos = 0;
    if (nPos > m_nRange) nPos = m_nRange;
    m_nScrollPos = nPos;
    SetPos(m_rcItem);
}

int CScrollbarUI::GetLineSize() const
{
    return m_nLineSize;
}

void CScrollbarUI::SetLineSize(int nSize)
{
    m_nLineSize = nSize;
}

RECT CScrollbarUI::GetButton1Rect() const
{
    return m_button1.rc;
}

RECT CScrollbarUI::GetButton2Rect() const
{
    return m_button2.rc;
}

RECT CScrollbarUI::GetThumbRect() const
{
    return m_thumb.rc;
}

UINT CScrollbarUI::GetButton1State() const
{
    return m_button1.uState;
}

UINT CScrollbarUI::GetButton2State() const
{
    return m_button2.uState;
}

UINT CScrollbarUI::GetThumbState() const
{
    return m_thumb.uState;
}

void CScrollbarUI::SetEnabled(bool bEnable)
{
    CControlUI::SetEnabled(bEnable);
    if (!IsEnabled()) {
        m_button1.uState = 0;
        m_button2.uState = 0;
        m_thumb.uState = 0;
    }
}

// ---------------------------------------------------------------------------------
// Geometry. Everything is computed along the bar's axis (y for a vertical bar, x for a
// horizontal one); s is the button size, the bar's fixed thickness.

int CScrollbarUI::ButtonSize() const
{
    return m_bHorizontal ? m_cxyFixed.cy : m_cxyFixed.cx;
}

int CScrollbarUI::AxisLength() const
{
    return m_bHorizontal ? m_rcItem.right - m_rcItem.left : m_rcItem.bottom - m_rcItem.top;
}

int CScrollbarUI::AxisCoord(POINT pt) const
{
    return m_bHorizontal ? pt.x : pt.y;
}

int CScrollbarUI::ThumbStart() const
{
    return m_bHorizontal ? m_thumb.rc.left : m_thumb.rc.top;
}

int CScrollbarUI::ThumbEnd() const
{
    return m_bHorizontal ? m_thumb.rc.right : m_thumb.rc.bottom;
}

void CScrollbarUI::SetPos(RECT rc)
{
    CControlUI::SetPos(rc);
    LayoutParts();
}

void CScrollbarUI::LayoutParts()
{
    const int s = ButtonSize();
    const int length = AxisLength();
    const int track = length - 2 * s;
    const int start = m_bHorizontal ? m_rcItem.left : m_rcItem.top;
    const int end = start + length;
    const int cross = m_bHorizontal ? m_rcItem.top : m_rcItem.left;

    int b1End, b2Start, thumbStart = 0, thumbEnd = 0;
    if (s < track) {
        b1End = start + s;
        b2Start = end - s;
        if (m_nRange > 0) {
            int thumbLength = ScaleDiv(length, track, m_nRange + length);
            if (thumbLength < s) thumbLength = s;
            thumbStart = start + s + ScaleDiv(track - thumbLength, m_nScrollPos, m_nRange);
            if (thumbStart + thumbLength > end - s) thumbStart = end - s - thumbLength;
            thumbEnd = thumbStart + thumbLength;
        } else {
            thumbStart = start + s;
            thumbEnd = end - s;
        }
    } else {
        const int m = length / 2 < s ? length / 2 : s;
        b1End = start + m;
        b2Start = end - m;
    }

    auto makeRect = [&](int a, int b) -> RECT {
        return m_bHorizontal ? RECT{ a, cross, b, cross + s } : RECT{ cross, a, cross + s, b };
    };
    m_button1.rc = makeRect(start, b1End);
    m_button2.rc = makeRect(b2Start, end);
    m_thumb.rc = thumbEnd > thumbStart ? makeRect(thumbStart, thumbEnd) : RECT{ 0, 0, 0, 0 };
}

// ---------------------------------------------------------------------------------
// Actions: with an owner the owner scrolls, without one the bar moves itself.

void CScrollbarUI::Scroll(int nDelta)
{
    SetScrollPos(m_nScrollPos + nDelta);
}

void CScrollbarUI::StepButton1()
{
    if (m_pOwner == nullptr)
        Scroll(-m_nLineSize);
    else if (m_bHorizontal)
        m_pOwner->LineLeft();
    else
        m_pOwner->LineUp();
}

void CScrollbarUI::StepButton2()
{
    if (m_pOwner == nullptr)
        Scroll(m_nLineSize);
    else if (m_bHorizontal)
        m_pOwner->LineRight();
    else
        m_pOwner->LineDown();
}

void CScrollbarUI::StepRail(POINT pt)
{
    const int coord = AxisCoord(pt);
    const int page = AxisLength();
    if (coord < ThumbStart()) {
        if (m_pOwner == nullptr)
            Scroll(-page);
        else if (m_bHorizontal)
            m_pOwner->PageLeft();
        else
            m_pOwner->PageUp();
    } else if (coord > ThumbEnd()) {
        if (m_pOwner == nullptr)
            Scroll(page);
        else if (m_bHorizontal)
            m_pOwner->PageRight();
        else
            m_pOwner->PageDown();
    }
}

void CScrollbarUI::ApplyThumbDrag()
{
    const int nPos = m_nLastScrollPos + m_nLastScrollOffset;
    if (m_pOwner == nullptr) {
        SetScrollPos(nPos);
    } else {
        SIZE sz = m_pOwner->GetScrollPos();
        if (m_bHorizontal)
            sz.cx = nPos;
        else
            sz.cy = nPos;
        m_pOwner->SetScrollPos(sz);
    }
    Invalidate();
}

// ---------------------------------------------------------------------------------
// Events

void CScrollbarUI::ForwardEvent(TEventRecUI& event)
{
    if (m_pOwner != nullptr)
        m_pOwner->DoEvent(event);
    else
        CControlUI::DoEvent(event);
}

void CScrollbarUI::DoEvent(TEventRecUI& event)
{
    if (!IsMouseEnabled() && IsMouseEvent(event.type)) {
        ForwardEvent(event);
        return;
    }
    bool bHandled = false;
    switch (event.type) {
    case EventButtonDown:
    case EventDoubleClick: bHandled = OnButtonDown(event); break;
    case EventButtonUp: bHandled = OnButtonUp(); break;
    case EventMouseMove: bHandled = OnMouseMove(event); break;
    case EventTimer: bHandled = OnTimer(event); break;
    case EventMouseEnter: bHandled = OnMouseEnter(event); break;
    case EventMouseLeave: bHandled = OnMouseLeave(); break;
    case EventSetFocus:
    case EventKillFocus: bHandled = true; break;
    default: break;
    }
    if (!bHandled) ForwardEvent(event);
}

bool CScrollbarUI::OnButtonDown(const TEventRecUI& event)
{
    if (!IsEnabled()) return false;
    m_nLastScrollOffset = 0;
    m_nScrollRepeatDelay = 0;
    if (m_pManager != nullptr) m_pManager->SetTimer(this, REPEAT_TIMER_KEY, REPEAT_ELAPSE);

    const POINT pt = event.mousePoint;
    if (PtInRect(&m_button1.rc, pt)) {
        m_button1.uState |= UISTATE_PUSHED;
        StepButton1();
    } else if (PtInRect(&m_button2.rc, pt)) {
        m_button2.uState |= UISTATE_PUSHED;
        StepButton2();
    } else if (PtInRect(&m_thumb.rc, pt)) {
        m_thumb.uState |= UISTATE_CAPTURED | UISTATE_PUSHED;
        m_ptLastMouse = pt;
        m_nLastScrollPos = m_nScrollPos;
    } else {
        StepRail(pt);
    }
    return true;
}

bool CScrollbarUI::OnButtonUp()
{
    m_nScrollRepeatDelay = 0;
    m_nLastScrollOffset = 0;
    if (m_pManager != nullptr) m_pManager->KillTimer(this, REPEAT_TIMER_KEY);

    if ((m_thumb.uState & (UISTATE_CAPTURED | UISTATE_PUSHED)) != 0)
        m_thumb.uState &= ~(UISTATE_CAPTURED | UISTATE_PUSHED);
    else if ((m_button1.uState & UISTATE_PUSHED) != 0)
        m_button1.uState &= ~UISTATE_PUSHED;
    else if ((m_button2.uState & UISTATE_PUSHED) != 0)
        m_button2.uState &= ~UISTATE_PUSHED;
    else
        return true;
    Invalidate();
    return true;
}

bool CScrollbarUI::OnMouseMove(const TEventRecUI& event)
{
    if ((m_thumb.uState & UISTATE_CAPTURED) != 0) {
        // A thumb that fills its track (range 0) or a bar too short for a thumb leaves
        // no room to drag in: the offset stays 0 instead of dividing by nothing.
        const int room = AxisLength() - 2 * ButtonSize() - (ThumbEnd() - ThumbStart());
        const int travel = AxisCoord(event.mousePoint) - AxisCoord(m_ptLastMouse);
        m_nLastScrollOffset = room > 0 ? ScaleDiv(travel, m_nRange, room) : 0;
        return true;
    }
    const bool bOverThumb = PtInRect(&m_thumb.rc, event.mousePoint) != FALSE;
    if ((m_thumb.uState & UISTATE_HOT) != 0) {
        if (!bOverThumb) {
            m_thumb.uState &= ~UISTATE_HOT;
            Invalidate();
        }
    } else if (IsEnabled() && bOverThumb) {
        m_thumb.uState |= UISTATE_HOT;
        Invalidate();
    }
    return true;
}

bool CScrollbarUI::OnTimer(const TEventRecUI& event)
{
    if (event.wParam != REPEAT_TIMER_KEY) return false;
    ++m_nScrollRepeatDelay;
    if ((m_thumb.uState & UISTATE_CAPTURED) != 0) {
        ApplyThumbDrag();
        return true;
    }
    if (m_nScrollRepeatDelay < REPEAT_FIRST_TICK) return true;
    if ((m_button1.uState & UISTATE_PUSHED) != 0) {
        StepButton1();
    } else if ((m_button2.uState & UISTATE_PUSHED) != 0) {
        StepButton2();
    } else if (m_pManager != nullptr) {
        POINT pt;
        if (::GetCursorPos(&pt)) {
            ::ScreenToClient(m_pManager->GetPaintWindow(), &pt);
            StepRail(pt);
        }
    }
    return true;
}

bool CScrollbarUI::OnMouseEnter(const TEventRecUI& event)
{
    if (!IsEnabled()) return false;
    m_button1.uState |= UISTATE_HOT;
    m_button2.uState |= UISTATE_HOT;
    if (PtInRect(&m_thumb.rc, event.mousePoint)) m_thumb.uState |= UISTATE_HOT;
    Invalidate();
    return true;
}

bool CScrollbarUI::OnMouseLeave()
{
    if (!IsEnabled()) return false;
    m_button1.uState &= ~UISTATE_HOT;
    m_button2.uState &= ~UISTATE_HOT;
    m_thumb.uState &= ~UISTATE_HOT;
    Invalidate();
    return true;
}

// ---------------------------------------------------------------------------------
// Attributes

bool CScrollbarUI::SetImageAttribute(LPCWSTR pstrName, LPCWSTR pstrValue)
{
    static const LPCWSTR kStates[IMAGE_COUNT] = { L"normalimage", L"hotimage", L"pushedimage", L"disabledimage" };
    struct
    {
        LPCWSTR prefix;
        CStringUI* images;
    } const parts[] = {
        { L"button1", m_button1.sImages },
        { L"button2", m_button2.sImages },
        { L"thumb", m_thumb.sImages },
        { L"rail", m_sRailImages },
        { L"bk", m_sBkImages },
    };
    for (const auto& part : parts) {
        const size_t n = wcslen(part.prefix);
        if (wcsncmp(pstrName, part.prefix, n) != 0) continue;
        for (int i = 0; i < IMAGE_COUNT; i++) {
            if (wcscmp(pstrName + n, kStates[i]) != 0) continue;
            SetImage(part.images[i], pstrValue);
            return true;
        }
    }
    return false;
}

void CScrollbarUI::SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue)
{
    if (SetImageAttribute(pstrName, pstrValue)) return;
    if (wcscmp(pstrName, L"hor") == 0)
        SetHorizontal(CAttributeValueUI::ParseBool(pstrValue));
    else if (wcscmp(pstrName, L"linesize") == 0)
        SetLineSize(CAttributeValueUI::ParseInt(pstrValue));
    else if (wcscmp(pstrName, L"range") == 0)
        SetScrollRange(CAttributeValueUI::ParseInt(pstrValue));
    else if (wcscmp(pstrName, L"value") == 0)
        SetScrollPos(CAttributeValueUI::ParseInt(pstrValue));
    else
        CControlUI::SetAttribute(pstrName, pstrValue);
}

// ---------------------------------------------------------------------------------
// Painting

void CScrollbarUI::DoPaint(HDC hDC, const RECT& rcPaint)
{
    if (!IntersectRect(&m_rcPaint, &rcPaint, &m_rcItem)) return;
    const UINT uDisabled = IsEnabled() ? 0 : UISTATE_DISABLED;
    for (TPartUI* part : { &m_button1, &m_button2, &m_thumb })
        part->uState = (part->uState & ~UISTATE_DISABLED) | uDisabled;

    PaintPart(hDC, m_sBkImages, m_thumb.uState, nullptr, false);
    PaintPart(hDC, m_button1.sImages, m_button1.uState, &m_button1.rc, true);
    PaintPart(hDC, m_button2.sImages, m_button2.uState, &m_button2.rc, true);
    if (IsEmptyRect(m_thumb.rc)) return;
    PaintPart(hDC, m_thumb.sImages, m_thumb.uState, &m_thumb.rc, true);
    const RECT rcRail = GetRailRect();
    PaintPart(hDC, m_sRailImages, m_thumb.uState, &rcRail, false);
}

// A square of the button size centred on the thumb's middle.
RECT CScrollbarUI::GetRailRect() const
{
    const int s = ButtonSize();
    if (m_bHorizontal) {
        const int left = (m_thumb.rc.left + m_thumb.rc.right) / 2 - s / 2;
        return RECT{ left, m_thumb.rc.top, left + s, m_thumb.rc.bottom };
    }
    const int top = (m_thumb.rc.top + m_thumb.rc.bottom) / 2 - s / 2;
    return RECT{ m_thumb.rc.left, top, m_thumb.rc.right, top + s };
}

void CScrollbarUI::PaintPart(HDC hDC, CStringUI* pImages, UINT uState, const RECT* prcPart, bool bFrameFallback)
{
    int iStateImage = -1;
    if ((uState & UISTATE_DISABLED) != 0)
        iStateImage = IMAGE_DISABLED;
    else if ((uState & UISTATE_PUSHED) != 0)
        iStateImage = IMAGE_PUSHED;
    else if ((uState & UISTATE_HOT) != 0)
        iStateImage = IMAGE_HOT;

    if (iStateImage >= 0 && !pImages[iStateImage].IsEmpty() && DrawOrForget(hDC, pImages[iStateImage], prcPart)) return;
    if (!pImages[IMAGE_NORMAL].IsEmpty() && DrawOrForget(hDC, pImages[IMAGE_NORMAL], prcPart)) return;
    if (bFrameFallback && prcPart != nullptr)
        CPainterUI::DrawRect(hDC, *prcPart, kFallbackFrameSize, kFallbackFrameColor);
}

// A description that cannot be drawn is emptied so it is not tried on every paint.
bool CScrollbarUI::DrawOrForget(HDC hDC, CStringUI& sImage, const RECT* prcPart)
{
    LPCWSTR pstrModify = nullptr;
    if (prcPart != nullptr) {
        m_sImageModify.SmallFormat(L"dest='%d,%d,%d,%d'", prcPart->left - m_rcItem.left, prcPart->top - m_rcItem.top,
                                   prcPart->right - m_rcItem.left, prcPart->bottom - m_rcItem.top);
        pstrModify = m_sImageModify.GetData();
    }
    if (DrawImage(hDC, sImage.GetData(), pstrModify)) return true;
    sImage.Empty();
    return false;
}
