#include "ContainerUI.h"

#include <cwchar>

#include "AttributeValueUI.h"
#include "PainterUI.h"
#include "ScrollbarUI.h"

namespace {

// A new bar scrolls its owner and takes the skin's defaults for its direction.
CScrollbarUI* NewBar(CContainerUI* pOwner, CWindowManagerUI* pManager, bool bHorizontal)
{
    CScrollbarUI* pBar = new CScrollbarUI;
    if (bHorizontal) pBar->SetHorizontal(true);
    pBar->SetOwner(pOwner);
    pBar->SetManager(pManager, nullptr);
    if (pManager != nullptr) {
        LPCWSTR pDefault = pManager->GetDefaultAttributeList(bHorizontal ? L"HScrollBar" : L"VScrollBar");
        if (pDefault != nullptr) pBar->ApplyAttributeList(pDefault);
    }
    return pBar;
}

bool IsBarVisible(CScrollbarUI* pBar)
{
    return pBar != nullptr && pBar->IsVisible();
}

bool IsBarActive(CScrollbarUI* pBar)
{
    return IsBarVisible(pBar) && pBar->IsEnabled();
}

void DeleteBar(CScrollbarUI*& pBar)
{
    if (pBar == nullptr) return;
    delete pBar;
    pBar = nullptr;
}

bool Meets(const RECT& a, const RECT& b)
{
    RECT rc;
    return ::IntersectRect(&rc, &a, &b) != FALSE;
}

} // namespace

CContainerUI::CContainerUI()
    : m_rcInset(), m_iChildPadding(0), m_bAutoDestroy(true), m_bMouseChildEnabled(true), m_bScrollProcess(false),
      m_pVerticalScrollBar(nullptr), m_pHorizontalScrollBar(nullptr)
{ }

CContainerUI::~CContainerUI()
{
    if (m_bAutoDestroy) {
        for (int i = 0; i < m_items.GetSize(); i++) delete static_cast<CControlUI*>(m_items.GetAt(i));
    }
    m_items.Empty();
    DeleteBar(m_pVerticalScrollBar);
    DeleteBar(m_pHorizontalScrollBar);
}

LPCWSTR CContainerUI::GetControlClass() const
{
    return L"ContainerUI";
}

LPVOID CContainerUI::GetInterface(LPCWSTR pstrName)
{
    if (pstrName != nullptr && wcscmp(pstrName, L"IContainer") == 0) return static_cast<IContainerUI*>(this);
    if (pstrName != nullptr && wcscmp(pstrName, L"Container") == 0) return static_cast<CContainerUI*>(this);
    return CControlUI::GetInterface(pstrName);
}

CControlUI* CContainerUI::GetItemAt(int iIndex) const
{
    if (iIndex < 0 || iIndex >= m_items.GetSize()) return nullptr;
    return static_cast<CControlUI*>(m_items.GetAt(iIndex));
}

// The container's own walks go over its own children: a subclass may give the item
// operations another list (the list control's rows live in its body).
CControlUI* CContainerUI::ChildAt(int iIndex) const
{
    return static_cast<CControlUI*>(m_items.GetAt(iIndex));
}

int CContainerUI::GetItemIndex(CControlUI* pControl) const
{
    return m_items.Find(pControl);
}

// A move to an index the array refuses puts the child back where it was instead of
// dropping it from the list.
bool CContainerUI::SetItemIndex(CControlUI* pControl, int iIndex)
{
    int iOld = m_items.Find(pControl);
    if (iOld < 0) return false;
    Invalidate();
    m_items.Remove(iOld);
    if (m_items.InsertAt(iIndex, pControl)) return true;
    m_items.InsertAt(iOld, pControl);
    return false;
}

int CContainerUI::GetCount() const
{
    return m_items.GetSize();
}

bool CContainerUI::Add(CControlUI* pControl)
{
    return AddAt(pControl, m_items.GetSize());
}

bool CContainerUI::AddAt(CControlUI* pControl, int iIndex)
{
    if (pControl == nullptr) return false;
    if (m_pManager != nullptr)
        m_pManager->InitControls(pControl, this);
    else
        pControl->SetManager(nullptr, this);
    NeedUpdate();
    return m_items.InsertAt(iIndex, pControl);
}

bool CContainerUI::Remove(CControlUI* pControl)
{
    if (pControl == nullptr) return false;
    int iIndex = m_items.Find(pControl);
    if (iIndex < 0) return false;
    NeedUpdate();
    m_items.Remove(iIndex);
    if (m_bAutoDestroy) delete pControl;
    return true;
}

bool CContainerUI::RemoveAt(int iIndex)
{
    CControlUI* pControl = GetItemAt(iIndex);
    if (pControl == nullptr) return false;
    return Remove(pControl);
}

void CContainerUI::RemoveAll()
{
    if (m_bAutoDestroy) {
        for (int i = 0; i < m_items.GetSize(); i++) delete static_cast<CControlUI*>(m_items.GetAt(i));
    }
    m_items.Empty();
    NeedUpdate();
}

RECT CContainerUI::GetInset() const
{
    return m_rcInset;
}

void CContainerUI::SetInset(RECT rcInset)
{
    m_rcInset = rcInset;
    NeedUpdate();
}

int CContainerUI::GetChildPadding() const
{
    return m_iChildPadding;
}

void CContainerUI::SetChildPadding(int iPadding)
{
    m_iChildPadding = iPadding;
    NeedUpdate();
}

bool CContainerUI::IsAutoDestroy() const
{
    return m_bAutoDestroy;
}

void CContainerUI::SetAutoDestroy(bool bAuto)
{
    m_bAutoDestroy = bAuto;
}

bool CContainerUI::IsMouseChildEnabled() const
{
    return m_bMouseChildEnabled;
}

void CContainerUI::SetMouseChildEnabled(bool bEnable)
{
    m_bMouseChildEnabled = bEnable;
}

int CContainerUI::FindSelectable(int iIndex, bool bForward) const
{
    int nCount = GetCount();
    if (nCount == 0) return -1;
    if (iIndex < 0) iIndex = 0;
    if (iIndex >= nCount) iIndex = nCount - 1;
    if (bForward) {
        for (int i = iIndex; i < nCount; i++) {
            CControlUI* pControl = GetItemAt(i);
            if (pControl->GetInterface(L"ListItem") != nullptr && pControl->IsVisible() && pControl->IsEnabled())
                return i;
        }
        return -1;
    }
    for (int i = iIndex; i >= 0; i--) {
        CControlUI* pControl = GetItemAt(i);
        if (pControl->GetInterface(L"ListItem") != nullptr && pControl->IsVisible() && pControl->IsEnabled()) return i;
    }
    return FindSelectable(0, true);
}

RECT CContainerUI::GetInnerRect() const
{
    RECT rc = m_rcItem;
    rc.left += m_rcInset.left;
    rc.top += m_rcInset.top;
    rc.right -= m_rcInset.right;
    rc.bottom -= m_rcInset.bottom;
    return rc;
}

RECT CContainerUI::GetViewRect() const
{
    RECT rc = GetInnerRect();
    if (IsBarVisible(m_pVerticalScrollBar)) rc.right -= m_pVerticalScrollBar->GetFixedWidth();
    if (IsBarVisible(m_pHorizontalScrollBar)) rc.bottom -= m_pHorizontalScrollBar->GetFixedHeight();
    return rc;
}

void CContainerUI::SetPos(RECT rc)
{
    CControlUI::SetPos(rc);
    if (m_items.IsEmpty()) return;
    RECT rcInner = GetInnerRect();
    for (int i = 0; i < m_items.GetSize(); i++) {
        CControlUI* pControl = ChildAt(i);
        if (!pControl->IsVisible()) continue;
        if (pControl->IsFloat())
            SetFloatPos(i);
        else
            pControl->SetPos(rcInner);
    }
}

void CContainerUI::SetFloatPos(int iIndex)
{
    CControlUI* pControl = ChildAt(iIndex);
    if (pControl == nullptr || !pControl->IsVisible() || !pControl->IsFloat()) return;

    SIZE szXY = pControl->GetFixedXY();
    int w = pControl->GetFixedWidth();
    int h = pControl->GetFixedHeight();
    RECT rc;
    if (szXY.cx < 0) {
        rc.left = m_rcItem.right + szXY.cx - w;
        rc.right = m_rcItem.right + szXY.cx;
    } else {
        rc.left = m_rcItem.left + szXY.cx;
        rc.right = rc.left + w;
    }
    if (szXY.cy < 0) {
        rc.top = m_rcItem.bottom + szXY.cy - h;
        rc.bottom = m_rcItem.bottom + szXY.cy;
    } else {
        rc.top = m_rcItem.top + szXY.cy;
        rc.bottom = rc.top + h;
    }

    if (pControl->IsRelativePos()) {
        TRelativePosUI pos = pControl->GetRelativePos();
        SIZE szParent = { m_rcItem.right - m_rcItem.left, m_rcItem.bottom - m_rcItem.top };
        if (pos.szParent.cx != 0) {
            int dx = szParent.cx - pos.szParent.cx;
            int dy = szParent.cy - pos.szParent.cy;
            rc.left += dx * pos.nMoveXPercent / 100;
            rc.top += dy * pos.nMoveYPercent / 100;
            rc.bottom = rc.top + dy * pos.nZoomYPercent / 100 + h;
            rc.right = rc.left + dx * pos.nZoomXPercent / 100 + w;
        }
        pControl->SetRelativeParentSize(szParent);
    }
    pControl->SetPos(rc);
}

// Called by layouts with their inner rectangle (already less the bars). When the
// content fits, the bar is hidden with range and position 0: a bar must never scroll
// into empty space.
void CContainerUI::ProcessScrollBar(RECT rc, int /*cxRequired*/, int cyRequired)
{
    if (IsBarVisible(m_pHorizontalScrollBar)) {
        int cyBar = m_pHorizontalScrollBar->GetFixedHeight();
        m_pHorizontalScrollBar->SetPos(RECT{ rc.left, rc.bottom, rc.right, rc.bottom + cyBar });
    }
    if (m_pVerticalScrollBar == nullptr) return;

    CScrollbarUI* pBar = m_pVerticalScrollBar;
    int cyAvailable = rc.bottom - rc.top;
    int cyRange = cyRequired - cyAvailable;

    if (cyAvailable < cyRequired && !pBar->IsVisible()) {
        pBar->SetVisible(true);
        m_pVerticalScrollBar->SetScrollRange(cyRange);
        m_pVerticalScrollBar->SetScrollPos(0);
        m_bScrollProcess = true;
        SetPos(m_rcItem); // lay out again with the bar's width taken off
        m_bScrollProcess = false;
        return;
    }
    if (!pBar->IsVisible()) return;

    if (cyRange > 0) {
        pBar->SetPos(RECT{ rc.right, rc.top, rc.right + pBar->GetFixedWidth(), rc.bottom });
        if (m_pVerticalScrollBar->GetScrollRange() == cyRange) return;
        int iOldPos = m_pVerticalScrollBar->GetScrollPos();
        m_pVerticalScrollBar->SetScrollRange(cyRange);
        if (m_pVerticalScrollBar->GetScrollPos() >= iOldPos) return;
    } else {
        pBar->SetVisible(false);
        m_pVerticalScrollBar->SetScrollPos(0);
        m_pVerticalScrollBar->SetScrollRange(0);
    }
    SetPos(m_rcItem);
}

SIZE CContainerUI::GetScrollPos() const
{
    SIZE sz = { 0, 0 };
    if (IsBarVisible(m_pVerticalScrollBar)) sz.cy = m_pVerticalScrollBar->GetScrollPos();
    if (IsBarVisible(m_pHorizontalScrollBar)) sz.cx = m_pHorizontalScrollBar->GetScrollPos();
    return sz;
}

SIZE CContainerUI::GetScrollRange() const
{
    SIZE sz = { 0, 0 };
    if (IsBarVisible(m_pVerticalScrollBar)) sz.cy = m_pVerticalScrollBar->GetScrollRange();
    if (IsBarVisible(m_pHorizontalScrollBar)) sz.cx = m_pHorizontalScrollBar->GetScrollRange();
    return sz;
}

void CContainerUI::SetScrollPos(SIZE szPos)
{
    int cx = 0;
    int cy = 0;
    if (IsBarVisible(m_pVerticalScrollBar)) {
        int iOld = m_pVerticalScrollBar->GetScrollPos();
        m_pVerticalScrollBar->SetScrollPos(szPos.cy);
        cy = m_pVerticalScrollBar->GetScrollPos() - iOld;
    }
    if (IsBarVisible(m_pHorizontalScrollBar)) {
        int iOld = m_pHorizontalScrollBar->GetScrollPos();
        m_pHorizontalScrollBar->SetScrollPos(szPos.cx);
        cx = m_pHorizontalScrollBar->GetScrollPos() - iOld;
    }
    if (cx == 0 && cy == 0) return;

    for (int i = 0; i < m_items.GetSize(); i++) {
        CControlUI* pControl = ChildAt(i);
        if (!pControl->IsVisible() || pControl->IsFloat()) continue;
        RECT rc = pControl->GetPos();
        ::OffsetRect(&rc, -cx, -cy);
        pControl->SetPos(rc);
    }
    Invalidate();
}

// A line down is the default font's height and a gap; a page is the inside of the
// container less the scroll bar across it.
int CContainerUI::LineHeight() const
{
    return m_pManager != nullptr ? m_pManager->GetDefaultFontInfo().tmHeight + 8 : 8;
}

int CContainerUI::PageHeight() const
{
    const RECT rc = GetViewRect();
    return rc.bottom - rc.top;
}

int CContainerUI::PageWidth() const
{
    const RECT rc = GetViewRect();
    return rc.right - rc.left;
}

void CContainerUI::ScrollBy(int dx, int dy)
{
    SIZE sz = GetScrollPos();
    sz.cx += dx;
    sz.cy += dy;
    SetScrollPos(sz);
}

void CContainerUI::LineUp()
{
    ScrollBy(0, -LineHeight());
}

void CContainerUI::LineDown()
{
    ScrollBy(0, LineHeight());
}

void CContainerUI::PageUp()
{
    ScrollBy(0, -PageHeight());
}

void CContainerUI::PageDown()
{
    ScrollBy(0, PageHeight());
}

void CContainerUI::HomeUp()
{
    SIZE sz = GetScrollPos();
    sz.cy = 0;
    SetScrollPos(sz);
}

void CContainerUI::EndDown()
{
    SIZE sz = GetScrollPos();
    sz.cy = GetScrollRange().cy;
    SetScrollPos(sz);
}

void CContainerUI::LineLeft()
{
    ScrollBy(-8, 0);
}

void CContainerUI::LineRight()
{
    ScrollBy(8, 0);
}

void CContainerUI::PageLeft()
{
    ScrollBy(-PageWidth(), 0);
}

void CContainerUI::PageRight()
{
    ScrollBy(PageWidth(), 0);
}

void CContainerUI::HomeLeft()
{
    SIZE sz = GetScrollPos();
    sz.cx = 0;
    SetScrollPos(sz);
}

void CContainerUI::EndRight()
{
    SIZE sz = GetScrollPos();
    sz.cx = GetScrollRange().cx;
    SetScrollPos(sz);
}

void CContainerUI::EnableScrollBar(bool bEnableVertical, bool bEnableHorizontal)
{
    if (!bEnableVertical)
        DeleteBar(m_pVerticalScrollBar);
    else if (m_pVerticalScrollBar == nullptr)
        m_pVerticalScrollBar = NewBar(this, m_pManager, false);
    if (!bEnableHorizontal)
        DeleteBar(m_pHorizontalScrollBar);
    else if (m_pHorizontalScrollBar == nullptr)
        m_pHorizontalScrollBar = NewBar(this, m_pManager, true);
    NeedUpdate();
}

CScrollbarUI* CContainerUI::GetVerticalScrollBar() const
{
    return m_pVerticalScrollBar;
}

CScrollbarUI* CContainerUI::GetHorizontalScrollBar() const
{
    return m_pHorizontalScrollBar;
}

void CContainerUI::SetManager(CWindowManagerUI* pManager, CControlUI* pParent)
{
    for (int i = 0; i < m_items.GetSize(); i++) ChildAt(i)->SetManager(pManager, this);
    if (m_pVerticalScrollBar != nullptr) m_pVerticalScrollBar->SetManager(pManager, this);
    if (m_pHorizontalScrollBar != nullptr) m_pHorizontalScrollBar->SetManager(pManager, this);
    CControlUI::SetManager(pManager, pParent);
}

void CContainerUI::SetVisible(bool bVisible)
{
    if (m_bVisible == bVisible) return;
    for (int i = 0; i < m_items.GetSize(); i++) ChildAt(i)->SetInternalVisible(bVisible);
    CControlUI::SetVisible(bVisible);
}

void CContainerUI::SetInternalVisible(bool bVisible)
{
    for (int i = 0; i < m_items.GetSize(); i++) ChildAt(i)->SetInternalVisible(bVisible);
    CControlUI::SetInternalVisible(bVisible);
}

void CContainerUI::SetMouseEnabled(bool bEnable)
{
    if (m_pVerticalScrollBar != nullptr) m_pVerticalScrollBar->SetMouseEnabled(bEnable);
    if (m_pHorizontalScrollBar != nullptr) m_pHorizontalScrollBar->SetMouseEnabled(bEnable);
    CControlUI::SetMouseEnabled(bEnable);
}

// The container is offered to the callback once: before its children with
// UIFIND_ME_FIRST, after them otherwise.
CControlUI* CContainerUI::FindControl(FINDCONTROLPROC Proc, LPVOID pData, UINT uFlags)
{
    if ((uFlags & UIFIND_VISIBLE) != 0 && !IsVisible()) return nullptr;
    if ((uFlags & UIFIND_ENABLED) != 0 && !IsEnabled()) return nullptr;

    CControlUI* pBars[2] = { m_pVerticalScrollBar, m_pHorizontalScrollBar };
    if ((uFlags & UIFIND_HITTEST) != 0) {
        if (!::PtInRect(&m_rcItem, *static_cast<LPPOINT>(pData))) return nullptr;
        if (!m_bMouseChildEnabled) {
            for (CControlUI* pBar : pBars) {
                CControlUI* pResult = pBar != nullptr ? pBar->FindControl(Proc, pData, uFlags) : nullptr;
                if (pResult != nullptr) return pResult;
            }
            return CControlUI::FindControl(Proc, pData, uFlags);
        }
    }
    for (CControlUI* pBar : pBars) {
        CControlUI* pResult = pBar != nullptr ? pBar->FindControl(Proc, pData, uFlags) : nullptr;
        if (pResult != nullptr) return pResult;
    }
    if ((uFlags & UIFIND_ME_FIRST) != 0) {
        CControlUI* pResult = CControlUI::FindControl(Proc, pData, uFlags);
        if (pResult != nullptr) return pResult;
    }
    int nCount = m_items.GetSize();
    for (int n = 0; n < nCount; n++) {
        int i = (uFlags & UIFIND_TOP_FIRST) != 0 ? nCount - 1 - n : n;
        CControlUI* pResult = ChildAt(i)->FindControl(Proc, pData, uFlags);
        if (pResult != nullptr) return pResult;
    }
    if ((uFlags & UIFIND_ME_FIRST) != 0) return nullptr;
    return CControlUI::FindControl(Proc, pData, uFlags);
}

// Keys and the wheel scroll the container along its visible, enabled bar.
bool CContainerUI::HandleScrollKey(TEventRecUI& event)
{
    bool bVertical = IsBarActive(m_pVerticalScrollBar);
    if (!bVertical && !IsBarActive(m_pHorizontalScrollBar)) return false;
    if (event.type == EventKeyDown) {
        switch (event.keyChar) {
        case VK_PRIOR: bVertical ? PageUp() : PageLeft(); return true;
        case VK_NEXT: bVertical ? PageDown() : PageRight(); return true;
        case VK_END: bVertical ? EndDown() : EndRight(); return true;
        case VK_HOME: bVertical ? HomeUp() : HomeLeft(); return true;
        case VK_UP: bVertical ? LineUp() : LineLeft(); return true;
        case VK_DOWN: bVertical ? LineDown() : LineRight(); return true;
        default: return false;
        }
    }
    if (event.type == EventScrollWheel) {
        if (event.wParam == 0) {
            bVertical ? LineUp() : LineLeft();
            return true;
        }
        if (event.wParam == 1) {
            bVertical ? LineDown() : LineRight();
            return true;
        }
    }
    return false;
}

void CContainerUI::DoEvent(TEventRecUI& event)
{
    if (!IsMouseEnabled() && event.type >= EventMouseMove && event.type <= EventScrollWheel) {
        if (m_pParent != nullptr)
            m_pParent->DoEvent(event);
        else
            CControlUI::DoEvent(event);
        return;
    }
    if (event.type == EventSetFocus) {
        m_bFocused = true;
        return;
    }
    if (event.type == EventKillFocus) {
        m_bFocused = false;
        return;
    }
    if (HandleScrollKey(event)) return;
    CControlUI::DoEvent(event);
}

void CContainerUI::SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue)
{
    if (wcscmp(pstrName, L"inset") == 0) {
        SetInset(CAttributeValueUI::ParseRect(pstrValue));
    } else if (wcscmp(pstrName, L"mousechild") == 0) {
        SetMouseChildEnabled(CAttributeValueUI::ParseBool(pstrValue));
    } else if (wcscmp(pstrName, L"vscrollbar") == 0) {
        EnableScrollBar(CAttributeValueUI::ParseBool(pstrValue), m_pHorizontalScrollBar != nullptr);
    } else if (wcscmp(pstrName, L"hscrollbar") == 0) {
        EnableScrollBar(m_pVerticalScrollBar != nullptr, CAttributeValueUI::ParseBool(pstrValue));
    } else if (wcscmp(pstrName, L"childpadding") == 0) {
        SetChildPadding(CAttributeValueUI::ParseCoordinate(pstrValue));
    } else {
        CControlUI::SetAttribute(pstrName, pstrValue);
    }
}

// Children inside the inner rectangle are clipped to it; float children may reach
// into the inset and are clipped only to the container.
void CContainerUI::PaintChildren(HDC hDC, const RECT& rcPaint)
{
    RECT rcInner = GetInnerRect();
    if (IsBarVisible(m_pVerticalScrollBar)) rcInner.right -= m_pVerticalScrollBar->GetFixedWidth();
    if (IsBarVisible(m_pHorizontalScrollBar)) rcInner.bottom -= m_pHorizontalScrollBar->GetFixedHeight();

    RECT rcTemp;
    if (!::IntersectRect(&rcTemp, &rcPaint, &rcInner)) {
        for (int i = 0; i < m_items.GetSize(); i++) {
            CControlUI* pControl = ChildAt(i);
            if (!pControl->IsVisible() || !pControl->IsFloat()) continue;
            if (!Meets(rcPaint, pControl->GetPos()) || !Meets(m_rcItem, pControl->GetPos())) continue;
            pControl->DoPaint(hDC, rcPaint);
        }
        return;
    }

    CRenderClipUI childClip;
    CRenderClipUI::Generate(hDC, rcTemp, childClip);
    for (int i = 0; i < m_items.GetSize(); i++) {
        CControlUI* pControl = ChildAt(i);
        if (!pControl->IsVisible() || !Meets(rcPaint, pControl->GetPos())) continue;
        if (pControl->IsFloat()) {
            if (!Meets(m_rcItem, pControl->GetPos())) continue;
            CRenderClipUI::SelectOldClip(hDC, childClip);
            pControl->DoPaint(hDC, rcPaint);
            CRenderClipUI::SelectNewClip(hDC, childClip);
        } else if (Meets(rcInner, pControl->GetPos())) {
            pControl->DoPaint(hDC, rcPaint);
        }
    }
}

void CContainerUI::DoPaint(HDC hDC, const RECT& rcPaint)
{
    RECT rcTemp;
    if (!::IntersectRect(&rcTemp, &rcPaint, &m_rcItem)) return;
    CRenderClipUI clip;
    CRenderClipUI::Generate(hDC, rcTemp, clip);

    CControlUI::DoPaint(hDC, rcPaint);
    if (!m_items.IsEmpty()) PaintChildren(hDC, rcPaint);

    CControlUI* pBars[2] = { m_pVerticalScrollBar, m_pHorizontalScrollBar };
    for (CControlUI* pBar : pBars) {
        if (pBar != nullptr && pBar->IsVisible() && Meets(rcPaint, pBar->GetPos())) pBar->DoPaint(hDC, rcPaint);
    }
}
