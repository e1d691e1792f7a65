#include "SliderUI.h"

#include <cstdlib>
#include <cwchar>

#include "AttributeValueUI.h"
#include "ControlStateUI.h"

namespace UpdUI {

namespace {

const int kDefaultThumbSize = 10;

// a * b / c in 64 bits; c must not be 0.
int MulDiv64(LONGLONG a, LONGLONG b, LONGLONG c)
{
    return static_cast<int>(a * b / c);
}

} // namespace

CSliderUI::CSliderUI() : m_uButtonState(0), m_szThumb{ kDefaultThumbSize, kDefaultThumbSize }, m_nStep(1) { }

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
    CControlUI::SetEnabled(bEnable);
    if (!IsEnabled()) m_uButtonState = 0;
}

UINT CSliderUI::GetButtonState() const
{
    return m_uButtonState;
}

int CSliderUI::GetChangeStep() const
{
    return m_nStep;
}

void CSliderUI::SetChangeStep(int nStep)
{
    m_nStep = nStep;
}

SIZE CSliderUI::GetThumbSize() const
{
    return m_szThumb;
}

void CSliderUI::SetThumbSize(SIZE szXY)
{
    m_szThumb = szXY;
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

RECT CSliderUI::GetThumbRect() const
{
    LONGLONG llRange = static_cast<LONGLONG>(m_nMax) - m_nMin;
    LONGLONG llPart = static_cast<LONGLONG>(m_nValue) - m_nMin;
    if (llRange <= 0) {
        llRange = 1;
        llPart = 0;
    }
    RECT rc = {};
    if (m_bHorizontal) {
        int cx = m_rcItem.right - m_rcItem.left;
        rc.left = m_rcItem.left + MulDiv64(cx - m_szThumb.cx, llPart, llRange);
        rc.top = (m_rcItem.top + m_rcItem.bottom - m_szThumb.cy) / 2;
        rc.right = rc.left + m_szThumb.cx;
        rc.bottom = rc.top + m_szThumb.cy;
    } else {
        int cy = m_rcItem.bottom - m_rcItem.top;
        rc.left = (m_rcItem.left + m_rcItem.right - m_szThumb.cx) / 2;
        rc.right = rc.left + m_szThumb.cx;
        rc.bottom = m_rcItem.bottom - MulDiv64(cy - m_szThumb.cy, llPart, llRange);
        rc.top = rc.bottom - m_szThumb.cy;
    }
    return rc;
}

// The thumb's centre follows the point; the track's ends stand for the range's ends.
int CSliderUI::ValueFromPoint(POINT pt) const
{
    LONGLONG llRange = static_cast<LONGLONG>(m_nMax) - m_nMin;
    if (m_bHorizontal) {
        int nHalf = m_szThumb.cx / 2;
        int nTrack = m_rcItem.right - m_rcItem.left - m_szThumb.cx;
        if (pt.x >= m_rcItem.right - nHalf) return m_nMax;
        if (pt.x <= m_rcItem.left + nHalf) return m_nMin;
        if (nTrack <= 0) return m_nMin;
        return m_nMin + MulDiv64(pt.x - nHalf - m_rcItem.left, llRange, nTrack);
    }
    int nHalf = m_szThumb.cy / 2;
    int nTrack = m_rcItem.bottom - m_rcItem.top - m_szThumb.cy;
    if (pt.y >= m_rcItem.bottom - nHalf) return m_nMin;
    if (pt.y <= m_rcItem.top + nHalf) return m_nMax;
    if (nTrack <= 0) return m_nMin;
    return m_nMin + MulDiv64(llRange, m_rcItem.bottom - nHalf - pt.y, nTrack);
}

// A disabled slider shows its value but does not let the user change it.
void CSliderUI::DoEvent(TEventRecUI& event)
{
    if (!IsMouseEnabled() && IsMouseEvent(event.type)) {
        if (m_pParent != nullptr)
            m_pParent->DoEvent(event);
        else
            CLabelUI::DoEvent(event);
        return;
    }
    RECT rcThumb = GetThumbRect();
    bool bInThumb = ::PtInRect(&rcThumb, event.mousePoint) != FALSE;
    switch (event.type) {
    case EventButtonDown:
    case EventDoubleClick:
        if (IsEnabled() && bInThumb) m_uButtonState |= UISTATE_CAPTURED;
        return;
    case EventContextMenu: return;
    case EventButtonUp:
        m_uButtonState &= ~UISTATE_CAPTURED;
        if (!IsEnabled()) return;
        m_nValue = ValueFromPoint(event.mousePoint);
        if (m_pManager != nullptr) m_pManager->SendNotify(this, L"valuechanged");
        Invalidate();
        return;
    case EventScrollWheel:
        if (!IsEnabled() || (event.wParam != 0 && event.wParam != 1)) break;
        SetValue(event.wParam == 0 ? m_nValue + m_nStep : m_nValue - m_nStep);
        if (m_pManager != nullptr) m_pManager->SendNotify(this, L"valuechanged");
        return;
    case EventMouseMove:
        if ((m_uButtonState & UISTATE_CAPTURED) == 0) return;
        m_nValue = ValueFromPoint(event.mousePoint);
        Invalidate();
        return;
    case EventSetCursor:
        if (!IsEnabled() || !bInThumb) break;
        ::SetCursor(::LoadCursorW(nullptr, IDC_HAND));
        return;
    case EventMouseEnter:
        if (!IsEnabled()) break;
        m_uButtonState |= UISTATE_HOT;
        Invalidate();
        return;
    case EventMouseLeave:
        if (!IsEnabled()) break;
        m_uButtonState &= ~UISTATE_HOT;
        Invalidate();
        return;
    default: break;
    }
    CControlUI::DoEvent(event);
}

void CSliderUI::SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue)
{
    if (pstrName == nullptr || pstrValue == nullptr) return;
    if (wcscmp(pstrName, L"thumbimage") == 0) {
        SetThumbImage(pstrValue);
    } else if (wcscmp(pstrName, L"thumbhotimage") == 0) {
        SetThumbHotImage(pstrValue);
    } else if (wcscmp(pstrName, L"thumbpushedimage") == 0) {
        SetThumbPushedImage(pstrValue);
    } else if (wcscmp(pstrName, L"thumbsize") == 0) {
        RECT rc = CAttributeValueUI::ParseRect(pstrValue);
        SIZE sz = { rc.left, rc.top };
        SetThumbSize(sz);
    } else if (wcscmp(pstrName, L"step") == 0) {
        SetChangeStep(static_cast<int>(wcstol(pstrValue, nullptr, 10)));
    } else {
        CProgressUI::SetAttribute(pstrName, pstrValue);
    }
}

void CSliderUI::PaintStatusImage(HDC hDC)
{
    CProgressUI::PaintStatusImage(hDC);
    RECT rcThumb = GetThumbRect();
    ::OffsetRect(&rcThumb, -m_rcItem.left, -m_rcItem.top);
    m_sImageModify.Format(L"dest='%d,%d,%d,%d'", rcThumb.left, rcThumb.top, rcThumb.right, rcThumb.bottom);
    if ((m_uButtonState & UISTATE_CAPTURED) != 0) {
        if (DrawImageOrForget(hDC, m_sThumbPushedImage, m_sImageModify.GetData())) return;
    } else if ((m_uButtonState & UISTATE_HOT) != 0) {
        if (DrawImageOrForget(hDC, m_sThumbHotImage, m_sImageModify.GetData())) return;
    }
    DrawImageOrForget(hDC, m_sThumbImage, m_sImageModify.GetData());
}

} // namespace UpdUI
