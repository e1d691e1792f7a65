#include "SliderUI.h"

#include <cwchar>

#include "AttributeValueUI.h"
#include "ControlStateUI.h"

CSliderUI::CSliderUI() : m_uSliderState(0), m_szThumb{ 10, 10 }
{
    m_uTextStyle = DT_CENTER | DT_SINGLELINE;
}

CSliderUI::~CSliderUI() = default;

LPCWSTR CSliderUI::GetControlClass() const
{
    return L"SliderUI";
}

LPVOID CSliderUI::GetInterface(LPCWSTR pstrName)
{
    if (pstrName != nullptr && wcscmp(pstrName, L"Slider") == 0) return this;
    return CProgressUI::GetInterface(pstrName);
}

UINT CSliderUI::GetControlFlags() const
{
    return IsEnabled() ? UIFLAG_SETCURSOR : 0;
}

void CSliderUI::SetEnabled(bool bEnable)
{
    CProgressUI::SetEnabled(bEnable);
    if (!IsEnabled()) m_uSliderState = 0;
}

UINT CSliderUI::GetSliderState() const
{
    return m_uSliderState;
}

SIZE CSliderUI::GetThumbSize() const
{
    return m_szThumb;
}

void CSliderUI::SetThumbSize(SIZE szThumb)
{
    m_szThumb = szThumb;
}

LPCWSTR CSliderUI::GetThumbImage() const
{
    return m_sThumbImage.GetData();
}
void CSliderUI::SetThumbImage(LPCWSTR pStrImage)
{
    SetImage(m_sThumbImage, pStrImage);
}
LPCWSTR CSliderUI::GetThumbHotImage() const
{
    return m_sThumbHotImage.GetData();
}
void CSliderUI::SetThumbHotImage(LPCWSTR pStrImage)
{
    SetImage(m_sThumbHotImage, pStrImage);
}
LPCWSTR CSliderUI::GetThumbPushedImage() const
{
    return m_sThumbPushedImage.GetData();
}
void CSliderUI::SetThumbPushedImage(LPCWSTR pStrImage)
{
    SetImage(m_sThumbPushedImage, pStrImage);
}

void CSliderUI::SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue)
{
    if (wcscmp(pstrName, L"thumbimage") == 0) {
        SetThumbImage(pstrValue);
    } else if (wcscmp(pstrName, L"thumbhotimage") == 0) {
        SetThumbHotImage(pstrValue);
    } else if (wcscmp(pstrName, L"thumbpushedimage") == 0) {
        SetThumbPushedImage(pstrValue);
    } else if (wcscmp(pstrName, L"thumbsize") == 0) {
        int v[2] = { 0, 0 };
        CAttributeValueUI::ParseInts(pstrValue, v, 2);
        SetThumbSize(SIZE{ v[0], v[1] });
    } else {
        CProgressUI::SetAttribute(pstrName, pstrValue);
    }
}

// ---------------------------------------------------------------------------------
// Geometry. The range is taken as painting leaves it, so a range not yet painted
// (min >= max) cannot divide by zero.

RECT CSliderUI::GetThumbRect() const
{
    int nMin = 0;
    int nMax = 0;
    GetNormalizedRange(nMin, nMax);
    const long long nRange = static_cast<long long>(nMax) - nMin;
    long long nPart = static_cast<long long>(m_nValue) - nMin;
    if (nPart < 0) nPart = 0;
    if (nPart > nRange) nPart = nRange;
    const RECT& rc = m_rcItem;
    const int cx = m_szThumb.cx;
    const int cy = m_szThumb.cy;
    if (m_bHorizontal) {
        const int left = rc.left + ScaleExtent(rc.right - rc.left - cx, nPart, nRange);
        const int top = static_cast<int>((rc.bottom + rc.top - cy) * 0.5);
        return RECT{ left, top, left + cx, top + cy };
    }
    const int left = static_cast<int>((rc.right + rc.left - cx) * 0.5);
    const int top = (rc.bottom - cy) - ScaleExtent(rc.bottom - rc.top - cy, nPart, nRange);
    return RECT{ left, top, left + cx, top + cy };
}

int CSliderUI::GetValueAt(POINT pt) const
{
    int nMin = 0;
    int nMax = 0;
    GetNormalizedRange(nMin, nMax);
    const long long nRange = static_cast<long long>(nMax) - nMin;
    const RECT& rc = m_rcItem;
    if (m_bHorizontal) {
        const int cx = m_szThumb.cx;
        if (pt.x >= rc.right - cx / 2) return nMax;
        if (pt.x <= rc.left + cx / 2) return nMin;
        const long long nTrack = static_cast<long long>(rc.right) - rc.left - cx;
        if (nTrack <= 0) return nMin;
        return static_cast<int>(nMin + (pt.x - (rc.left + cx / 2)) * nRange / nTrack);
    }
    const int cy = m_szThumb.cy;
    if (pt.y >= rc.bottom - cy / 2) return nMin;
    if (pt.y <= rc.top + cy / 2) return nMax;
    const long long nTrack = static_cast<long long>(rc.bottom) - rc.top - cy;
    if (nTrack <= 0) return nMin;
    return static_cast<int>(nMin + nRange * (rc.bottom - cy / 2 - pt.y) / nTrack);
}

// ---------------------------------------------------------------------------------
// Events

void CSliderUI::DoEvent(TEventRecUI& event)
{
    if (!IsMouseEnabled() && IsMouseEvent(event.type)) {
        if (m_pParent != nullptr)
            m_pParent->DoEvent(event);
        else
            CProgressUI::DoEvent(event);
        return;
    }
    if (HandleMouseEvent(event)) return;
    CControlUI::DoEvent(event);
}

// True when the event is finished here.
bool CSliderUI::HandleMouseEvent(TEventRecUI& event)
{
    const bool bCaptured = (m_uSliderState & UISTATE_CAPTURED) != 0;
    switch (event.type) {
    case EventButtonDown:
    case EventDoubleClick:
        if (!IsEnabled()) return false;
        m_uSliderState |= UISTATE_CAPTURED;
        m_nValue = GetValueAt(event.mousePoint);
        Invalidate();
        return true;
    case EventMouseMove:
        if (bCaptured) {
            m_nValue = GetValueAt(event.mousePoint);
            if (m_pManager != nullptr) m_pManager->SendNotify(this, NotifyValueChanging);
            Invalidate();
        } else if (m_pManager != nullptr) {
            m_pManager->SendNotify(this, NotifyHoverValue, 0, GetValueAt(event.mousePoint));
        }
        return true;
    case EventButtonUp:
        if (!bCaptured) return false;
        // Cleared first: a handler of the change may disable or hide the slider.
        m_uSliderState &= ~UISTATE_CAPTURED;
        if (m_pManager != nullptr) m_pManager->SendNotify(this, NotifyValueChanged);
        Invalidate();
        return true;
    case EventSetCursor:
        if (!IsEnabled()) return false;
        ::SetCursor(::LoadCursorW(nullptr, IDC_HAND));
        return true;
    case EventMouseEnter:
    case EventMouseLeave:
        if (!IsEnabled()) return false;
        SetStateBits(m_uSliderState, UISTATE_HOT, event.type == EventMouseEnter);
        Invalidate();
        return true;
    default: return false;
    }
}

// ---------------------------------------------------------------------------------
// Painting

CStringUI* CSliderUI::CurrentThumbStateImage()
{
    if ((m_uSliderState & UISTATE_CAPTURED) != 0) return &m_sThumbPushedImage;
    if ((m_uSliderState & UISTATE_HOT) != 0) return &m_sThumbHotImage;
    return nullptr;
}

void CSliderUI::PaintStatusImage(HDC hDC)
{
    CProgressUI::PaintStatusImage(hDC);
    RECT rcThumb = GetThumbRect();
    ::OffsetRect(&rcThumb, -m_rcItem.left, -m_rcItem.top);
    m_sThumbModify.SmallFormat(L"dest='%d,%d,%d,%d'", rcThumb.left, rcThumb.top, rcThumb.right, rcThumb.bottom);
    CStringUI* pStateImage = CurrentThumbStateImage();
    if (pStateImage != nullptr && DrawImageOrForget(hDC, *pStateImage, m_sThumbModify.GetData())) return;
    DrawImageOrForget(hDC, m_sThumbImage, m_sThumbModify.GetData());
}
