#include "ContainerUI.h"

#include <cstdlib>
#include <cwchar>

#include "AttributeValueUI.h"
#include "RenderClipUI.h"
#include "ScrollBarUI.h"
#include "MarkupNumberUI.h"

namespace UpdUI {

namespace {

const int kLineStep = 8;

bool Meets(const RECT& a, const RECT& b)
{
    RECT rcTemp;
    return ::IntersectRect(&rcTemp, &a, &b) != FALSE;
}

} // namespace

CContainerUI::CContainerUI()
    : m_rcInset(), m_iChildPadding(0), m_bAutoDestroy(true), m_bDelayedDestroy(true), m_bMouseChildEnabled(true),
      m_bScrollProcess(false), m_pVerticalScrollBar(nullptr), m_pHorizontalScrollBar(nullptr)
{ }

CContainerUI::~CContainerUI()
{
    m_bDelayedDestroy = false;
    RemoveAll();
    delete m_pVerticalScrollBar;
    delete m_pHorizontalScrollBar;
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
    return static_cast<CControlUI*>(m_items.GetAt(iIndex));
}

int CContainerUI::GetItemIndex(CControlUI* pControl) const
{
    return m_items.Find(pControl);
}

bool CContainerUI::SetItemIndex(CControlUI* pControl, int iIndex)
{
    int iOld = m_items.Find(pControl);
    if (iOld < 0) return false;
    NeedUpdate();
    m_items.Remove(iOld);
    if (m_items.InsertAt(iIndex, pControl)) return true;
    // A bad index leaves the child where it was instead of losing it.
    m_items.InsertAt(iOld, pControl);
    return false;
}

int CContainerUI::GetCount() const
{
    return m_items.GetCount();
}

bool CContainerUI::Add(CControlUI* pControl)
{
    return AddAt(pControl, m_items.GetCount());
}

bool CContainerUI::AddAt(CControlUI* pControl, int iIndex)
{
    if (pControl == nullptr || iIndex < 0 || iIndex > m_items.GetCount()) return false;
    if (m_pManager != nullptr) m_pManager->InitControls(pControl, this);
    if (IsVisible())
        NeedUpdate();
    else
        pControl->SetInternalVisible(false);
    return m_items.InsertAt(iIndex, pControl);
}

// With a manager and delayed destruction the child outlives the current message, so a
// control may remove itself from inside its own event handling.
void CContainerUI::DisposeChild(CControlUI* pControl)
{
    if (!m_bAutoDestroy) return;
    if (m_bDelayedDestroy && m_pManager != nullptr)
        m_pManager->AddDelayedCleanup(pControl);
    else
        delete pControl;
}

bool CContainerUI::Remove(CControlUI* pControl)
{
    if (pControl == nullptr) return false;
    int iIndex = m_items.Find(pControl);
    if (iIndex < 0) return false;
    NeedUpdate();
    m_items.Remove(iIndex);
    DisposeChild(pControl);
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
    // The list is emptied first, so that a destructor walking back into this container
    // finds no stale children.
    int nCount = m_items.GetCount();
    CControlUI** ppChildren = nullptr;
    if (m_bAutoDestroy && nCount > 0) ppChildren = new CControlUI*[static_cast<size_t>(nCount)];
    for (int i = 0; ppChildren != nullptr && i < nCount; ++i) {
        ppChildren[i] = static_cast<CControlUI*>(m_items[i]);
    }
    m_items.Empty();
    for (int i = 0; ppChildren != nullptr && i < nCount; ++i) {
        DisposeChild(ppChildren[i]);
    }
    delete[] ppChildren;
    NeedUpdate();
}

void CContainerUI::SetManager(CWindowManagerUI* pManager, CControlUI* pParent, bool bInit)
{
    for (int i = 0; i < m_items.GetCount(); ++i) {
        static_cast<CControlUI*>(m_items[i])->SetManager(pManager, this, bInit);
    }
    if (m_pVerticalScrollBar != nullptr) m_pVerticalScrollBar->SetManager(pManager, this, bInit);
    if (m_pHorizontalScrollBar != nullptr) m_pHorizontalScrollBar->SetManager(pManager, this, bInit);
    CControlUI::SetManager(pManager, pParent, bInit);
}

void CContainerUI::SetPos(RECT rc)
{
    CControlUI::SetPos(rc);
    if (m_items.IsEmpty()) return;
    RECT rcInner = { rc.left + m_rcInset.left, rc.top + m_rcInset.top, rc.right - m_rcInset.right,
                     rc.bottom - m_rcInset.bottom };
    for (int i = 0; i < m_items.GetCount(); ++i) {
        CControlUI* pControl = static_cast<CControlUI*>(m_items[i]);
        if (!pControl->IsVisible()) continue;
        if (pControl->IsFloat())
            SetFloatPos(i);
        else
            pControl->SetPos(rcInner);
    }
}

void CContainerUI::SetVisible(bool bVisible)
{
    if (m_bVisible == bVisible) return;
    CControlUI::SetVisible(bVisible);
    for (int i = 0; i < m_items.GetCount(); ++i) {
        static_cast<CControlUI*>(m_items[i])->SetInternalVisible(IsVisible());
    }
}

void CContainerUI::SetInternalVisible(bool bVisible)
{
    CControlUI::SetInternalVisible(bVisible);
    for (int i = 0; i < m_items.GetCount(); ++i) {
        static_cast<CControlUI*>(m_items[i])->SetInternalVisible(IsVisible());
    }
}

void CContainerUI::SetMouseEnabled(bool bEnable)
{
    if (m_pVerticalScrollBar != nullptr) m_pVerticalScrollBar->SetMouseEnabled(bEnable);
    if (m_pHorizontalScrollBar != nullptr) m_pHorizontalScrollBar->SetMouseEnabled(bEnable);
    CControlUI::SetMouseEnabled(bEnable);
}

bool CContainerUI::IsInvisibleBar(CScrollBarUI* pBar) const
{
    return pBar == nullptr || !pBar->IsVisible();
}

int CContainerUI::ClampToLimits(int nValue, int nMin, int nMax)
{
    if (nValue < nMin) nValue = nMin;
    if (nValue > nMax) nValue = nMax;
    return nValue;
}

RECT CContainerUI::GetInnerRect() const
{
    return { m_rcItem.left + m_rcInset.left, m_rcItem.top + m_rcInset.top, m_rcItem.right - m_rcInset.right,
             m_rcItem.bottom - m_rcInset.bottom };
}

// The inner rectangle without the room the visible bars take.
RECT CContainerUI::GetClientRect() const
{
    RECT rc = GetInnerRect();
    if (!IsInvisibleBar(m_pVerticalScrollBar)) rc.right -= m_pVerticalScrollBar->GetFixedWidth();
    if (!IsInvisibleBar(m_pHorizontalScrollBar)) rc.bottom -= m_pHorizontalScrollBar->GetFixedHeight();
    return rc;
}

CControlUI* CContainerUI::FindInChildren(FINDCONTROLPROC Proc, LPVOID pData, UINT uFlags)
{
    RECT rcClient = GetClientRect();
    int nCount = m_items.GetCount();
    bool bTopFirst = (uFlags & UIFIND_TOP_FIRST) != 0;
    for (int n = 0; n < nCount; ++n) {
        int i = bTopFirst ? nCount - 1 - n : n;
        CControlUI* pResult = static_cast<CControlUI*>(m_items[i])->FindControl(Proc, pData, uFlags);
        if (pResult == nullptr) continue;
        if ((uFlags & UIFIND_HITTEST) == 0 || pResult->IsFloat() ||
            ::PtInRect(&rcClient, *static_cast<const POINT*>(pData))) {
            return pResult;
        }
    }
    return nullptr;
}

CControlUI* CContainerUI::FindControl(FINDCONTROLPROC Proc, LPVOID pData, UINT uFlags)
{
    if ((uFlags & UIFIND_VISIBLE) != 0 && !IsVisible()) return nullptr;
    if ((uFlags & UIFIND_ENABLED) != 0 && !IsEnabled()) return nullptr;
    if ((uFlags & UIFIND_HITTEST) != 0) {
        if (!::PtInRect(&m_rcItem, *static_cast<const POINT*>(pData))) return nullptr;
        if (!m_bMouseChildEnabled) {
            CControlUI* pResult = nullptr;
            if (m_pVerticalScrollBar != nullptr) pResult = m_pVerticalScrollBar->FindControl(Proc, pData, uFlags);
            if (pResult == nullptr && m_pHorizontalScrollBar != nullptr) {
                pResult = m_pHorizontalScrollBar->FindControl(Proc, pData, uFlags);
            }
            return pResult != nullptr ? pResult : CControlUI::FindControl(Proc, pData, uFlags);
        }
    }
    CControlUI* pResult = nullptr;
    if (m_pVerticalScrollBar != nullptr) pResult = m_pVerticalScrollBar->FindControl(Proc, pData, uFlags);
    if (pResult == nullptr && m_pHorizontalScrollBar != nullptr) {
        pResult = m_pHorizontalScrollBar->FindControl(Proc, pData, uFlags);
    }
    if (pResult != nullptr) return pResult;

    if ((uFlags & UIFIND_ME_FIRST) != 0) {
        pResult = CControlUI::FindControl(Proc, pData, uFlags);
        if (pResult != nullptr) return pResult;
    }
    pResult = FindInChildren(Proc, pData, uFlags);
    if (pResult != nullptr) return pResult;
    if ((uFlags & UIFIND_ME_FIRST) == 0) return CControlUI::FindControl(Proc, pData, uFlags);
    return nullptr;
}

bool CContainerUI::ScrollKey(TEventRecUI& event, bool bVertical)
{
    if (event.type == EventKeyDown) {
        switch (event.keyChar) {
        case VK_PRIOR: bVertical ? PageUp() : PageLeft(); return true;
        case VK_NEXT: bVertical ? PageDown() : PageRight(); return true;
        case VK_HOME: bVertical ? HomeUp() : HomeLeft(); return true;
        case VK_END: bVertical ? EndDown() : EndRight(); return true;
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
    if (!m_bMouseEnabled && event.type > EventMouseBegin && event.type < EventMouseEnd) {
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
    CScrollBarUI* pV = m_pVerticalScrollBar;
    CScrollBarUI* pH = m_pHorizontalScrollBar;
    if (pV != nullptr && pV->IsVisible() && pV->IsEnabled()) {
        if (ScrollKey(event, true)) return;
    } else if (pH != nullptr && pH->IsVisible() && pH->IsEnabled()) {
        if (ScrollKey(event, false)) return;
    }
    CControlUI::DoEvent(event);
}

void CContainerUI::SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue)
{
    if (pstrName == nullptr || pstrValue == nullptr) return;
    if (wcscmp(pstrName, L"inset") == 0) {
        SetInset(CAttributeValueUI::ParseRect(pstrValue));
    } else if (wcscmp(pstrName, L"mousechild") == 0) {
        SetMouseChildEnabled(CAttributeValueUI::IsTrue(pstrValue));
    } else if (wcscmp(pstrName, L"vscrollbar") == 0) {
        EnableScrollBar(CAttributeValueUI::IsTrue(pstrValue), m_pHorizontalScrollBar != nullptr);
    } else if (wcscmp(pstrName, L"vscrollbarstyle") == 0) {
        EnableScrollBar(true, m_pHorizontalScrollBar != nullptr);
        if (m_pVerticalScrollBar != nullptr) m_pVerticalScrollBar->ApplyAttributeList(pstrValue);
    } else if (wcscmp(pstrName, L"hscrollbar") == 0) {
        EnableScrollBar(m_pVerticalScrollBar != nullptr, CAttributeValueUI::IsTrue(pstrValue));
    } else if (wcscmp(pstrName, L"hscrollbarstyle") == 0) {
        EnableScrollBar(m_pVerticalScrollBar != nullptr, true);
        if (m_pHorizontalScrollBar != nullptr) m_pHorizontalScrollBar->ApplyAttributeList(pstrValue);
    } else if (wcscmp(pstrName, L"childpadding") == 0) {
        SetChildPadding(static_cast<int>(MarkupNumber::Coord(pstrValue)));
    } else {
        CControlUI::SetAttribute(pstrName, pstrValue);
    }
}

void CContainerUI::PaintChildren(HDC hDC, const RECT& rcPaint)
{
    RECT rcClient = GetClientRect();
    RECT rcInner = {};
    if (::IntersectRect(&rcInner, &rcPaint, &rcClient)) {
        CRenderClipUI childClip;
        CRenderClipUI::Generate(hDC, rcInner, childClip);
        for (int i = 0; i < m_items.GetCount(); ++i) {
            CControlUI* pControl = static_cast<CControlUI*>(m_items[i]);
            if (!pControl->IsVisible() || !Meets(rcPaint, pControl->GetPos())) continue;
            if (pControl->IsFloat()) {
                if (!Meets(m_rcItem, pControl->GetPos())) continue;
                CRenderClipUI::SelectOldClip(hDC, childClip);
                pControl->DoPaint(hDC, rcPaint);
                CRenderClipUI::SelectNewClip(hDC, childClip);
            } else if (Meets(rcClient, pControl->GetPos())) {
                pControl->DoPaint(hDC, rcPaint);
            }
        }
        return;
    }
    for (int i = 0; i < m_items.GetCount(); ++i) {
        CControlUI* pControl = static_cast<CControlUI*>(m_items[i]);
        if (!pControl->IsVisible() || !pControl->IsFloat()) continue;
        if (Meets(rcPaint, pControl->GetPos()) && Meets(m_rcItem, pControl->GetPos())) pControl->DoPaint(hDC, rcPaint);
    }
}

void CContainerUI::DoPaint(HDC hDC, const RECT& rcPaint)
{
    RECT rcTemp = {};
    if (!::IntersectRect(&rcTemp, &rcPaint, &m_rcItem)) return;
    CRenderClipUI clip;
    CRenderClipUI::Generate(hDC, rcTemp, clip);
    CControlUI::DoPaint(hDC, rcPaint);
    if (!m_items.IsEmpty()) PaintChildren(hDC, rcPaint);
    if (!IsInvisibleBar(m_pVerticalScrollBar) && Meets(rcPaint, m_pVerticalScrollBar->GetPos())) {
        m_pVerticalScrollBar->DoPaint(hDC, rcPaint);
    }
    if (!IsInvisibleBar(m_pHorizontalScrollBar) && Meets(rcPaint, m_pHorizontalScrollBar->GetPos())) {
        m_pHorizontalScrollBar->DoPaint(hDC, rcPaint);
    }
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

bool CContainerUI::IsDelayedDestroy() const
{
    return m_bDelayedDestroy;
}

void CContainerUI::SetDelayedDestroy(bool bDelayed)
{
    m_bDelayedDestroy = bDelayed;
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
    int nCount = m_items.GetCount();
    if (nCount == 0) return -1;
    if (iIndex < 0) iIndex = 0;
    if (iIndex > nCount - 1) iIndex = nCount - 1;
    auto selectable = [this](int i) {
        CControlUI* pControl = static_cast<CControlUI*>(m_items[i]);
        return pControl->GetInterface(L"ListItem") != nullptr && pControl->IsVisible() && pControl->IsEnabled();
    };
    if (bForward) {
        for (int i = iIndex; i < nCount; ++i) {
            if (selectable(i)) return i;
        }
        return -1;
    }
    for (int i = iIndex; i >= 0; --i) {
        if (selectable(i)) return i;
    }
    return FindSelectable(0, true);
}

SIZE CContainerUI::GetScrollPos() const
{
    SIZE sz = { 0, 0 };
    if (!IsInvisibleBar(m_pVerticalScrollBar)) sz.cy = m_pVerticalScrollBar->GetScrollPos();
    if (!IsInvisibleBar(m_pHorizontalScrollBar)) sz.cx = m_pHorizontalScrollBar->GetScrollPos();
    return sz;
}

SIZE CContainerUI::GetScrollRange() const
{
    SIZE sz = { 0, 0 };
    if (!IsInvisibleBar(m_pVerticalScrollBar)) sz.cy = m_pVerticalScrollBar->GetScrollRange();
    if (!IsInvisibleBar(m_pHorizontalScrollBar)) sz.cx = m_pHorizontalScrollBar->GetScrollRange();
    return sz;
}

void CContainerUI::SetScrollPos(SIZE szPos)
{
    int cx = 0;
    int cy = 0;
    if (!IsInvisibleBar(m_pVerticalScrollBar)) {
        int iOld = m_pVerticalScrollBar->GetScrollPos();
        m_pVerticalScrollBar->SetScrollPos(szPos.cy);
        cy = m_pVerticalScrollBar->GetScrollPos() - iOld;
    }
    if (!IsInvisibleBar(m_pHorizontalScrollBar)) {
        int iOld = m_pHorizontalScrollBar->GetScrollPos();
        m_pHorizontalScrollBar->SetScrollPos(szPos.cx);
        cx = m_pHorizontalScrollBar->GetScrollPos() - iOld;
    }
    if (cx == 0 && cy == 0) return;
    for (int i = 0; i < m_items.GetCount(); ++i) {
        CControlUI* pControl = static_cast<CControlUI*>(m_items[i]);
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
    if (m_pManager == nullptr) return kLineStep;
    TFontInfoUI* pFont = m_pManager->GetDefaultFontInfo();
    return (pFont != nullptr ? pFont->tm.tmHeight : 0) + kLineStep;
}

int CContainerUI::PageHeight() const
{
    const RECT rc = GetClientRect();
    return rc.bottom - rc.top;
}

int CContainerUI::PageWidth() const
{
    const RECT rc = GetClientRect();
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
    ScrollBy(-kLineStep, 0);
}

void CContainerUI::LineRight()
{
    ScrollBy(kLineStep, 0);
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
    if (bEnableVertical && m_pVerticalScrollBar == nullptr) {
        m_pVerticalScrollBar = new CScrollBarUI;
        m_pVerticalScrollBar->SetOwner(this);
        m_pVerticalScrollBar->SetManager(m_pManager, nullptr, false);
        if (m_pManager != nullptr) {
            LPCWSTR pDefaultAttributes = m_pManager->GetDefaultAttributeList(L"VScrollBar");
            if (pDefaultAttributes != nullptr) m_pVerticalScrollBar->ApplyAttributeList(pDefaultAttributes);
        }
    } else if (!bEnableVertical && m_pVerticalScrollBar != nullptr) {
        delete m_pVerticalScrollBar;
        m_pVerticalScrollBar = nullptr;
    }
    if (bEnableHorizontal && m_pHorizontalScrollBar == nullptr) {
        m_pHorizontalScrollBar = new CScrollBarUI;
        m_pHorizontalScrollBar->SetHorizontal(true);
        m_pHorizontalScrollBar->SetOwner(this);
        m_pHorizontalScrollBar->SetManager(m_pManager, nullptr, false);
        if (m_pManager != nullptr) {
            LPCWSTR pDefaultAttributes = m_pManager->GetDefaultAttributeList(L"HScrollBar");
            if (pDefaultAttributes != nullptr) m_pHorizontalScrollBar->ApplyAttributeList(pDefaultAttributes);
        }
    } else if (!bEnableHorizontal && m_pHorizontalScrollBar != nullptr) {
        delete m_pHorizontalScrollBar;
        m_pHorizontalScrollBar = nullptr;
    }
    NeedUpdate();
}

CScrollBarUI* CContainerUI::GetVerticalScrollBar() const
{
    return m_pVerticalScrollBar;
}

CScrollBarUI* CContainerUI::GetHorizontalScrollBar() const
{
    return m_pHorizontalScrollBar;
}

void CContainerUI::SetFloatPos(int iIndex)
{
    CControlUI* pControl = GetItemAt(iIndex);
    if (pControl == nullptr || !pControl->IsVisible() || !pControl->IsFloat()) return;
    SIZE szXY = pControl->GetFixedXY();
    SIZE sz = { pControl->GetFixedWidth(), pControl->GetFixedHeight() };
    RECT rc = {};
    if (szXY.cx < 0) {
        rc.left = m_rcItem.right + szXY.cx - sz.cx;
        rc.right = m_rcItem.right + szXY.cx;
    } else {
        rc.left = m_rcItem.left + szXY.cx;
        rc.right = rc.left + sz.cx;
    }
    rc.top = szXY.cy < 0 ? m_rcItem.bottom + szXY.cy - sz.cy : m_rcItem.top + szXY.cy;
    rc.bottom = rc.top + sz.cy;

    if (pControl->IsRelativePos()) {
        TRelativePosUI tRelativePos = pControl->GetRelativePos();
        SIZE szParent = { m_rcItem.right - m_rcItem.left, m_rcItem.bottom - m_rcItem.top };
        if (tRelativePos.szParent.cx != 0) {
            int nIncreaseX = szParent.cx - tRelativePos.szParent.cx;
            int nIncreaseY = szParent.cy - tRelativePos.szParent.cy;
            rc.left += nIncreaseX * tRelativePos.nMoveXPercent / 100;
            rc.top += nIncreaseY * tRelativePos.nMoveYPercent / 100;
            rc.right = rc.left + sz.cx + nIncreaseX * tRelativePos.nZoomXPercent / 100;
            rc.bottom = rc.top + sz.cy + nIncreaseY * tRelativePos.nZoomYPercent / 100;
        }
        pControl->SetRelativeParentSize(szParent);
    }
    pControl->SetPos(rc);
}

void CContainerUI::ProcessScrollBar(RECT rc, int /*cxRequired*/, int cyRequired)
{
    if (!IsInvisibleBar(m_pHorizontalScrollBar)) {
        RECT rcBar = { rc.left, rc.bottom, rc.right, rc.bottom + m_pHorizontalScrollBar->GetFixedHeight() };
        m_pHorizontalScrollBar->SetPos(rcBar);
    }
    if (m_pVerticalScrollBar == nullptr) return;
    int cyScroll = cyRequired - (rc.bottom - rc.top);
    if (rc.bottom - rc.top < cyRequired && !m_pVerticalScrollBar->IsVisible()) {
        m_pVerticalScrollBar->SetVisible(true);
        m_pVerticalScrollBar->SetScrollRange(cyScroll);
        m_pVerticalScrollBar->SetScrollPos(0);
        m_bScrollProcess = true;
        SetPos(m_rcItem);
        m_bScrollProcess = false;
        return;
    }
    if (!m_pVerticalScrollBar->IsVisible()) return;
    if (cyScroll > 0 || m_bScrollProcess) {
        RECT rcBar = { rc.right, rc.top, rc.right + m_pVerticalScrollBar->GetFixedWidth(), rc.bottom };
        m_pVerticalScrollBar->SetPos(rcBar);
        if (m_pVerticalScrollBar->GetScrollRange() == cyScroll) return;
        int iOldPos = m_pVerticalScrollBar->GetScrollPos();
        m_pVerticalScrollBar->SetScrollRange(cyScroll < 0 ? -cyScroll : cyScroll);
        if (m_pVerticalScrollBar->GetScrollRange() == 0) {
            m_pVerticalScrollBar->SetVisible(false);
            m_pVerticalScrollBar->SetScrollPos(0);
        }
        if (m_pVerticalScrollBar->GetScrollPos() >= iOldPos) return;
    } else {
        m_pVerticalScrollBar->SetVisible(false);
        m_pVerticalScrollBar->SetScrollPos(0);
        m_pVerticalScrollBar->SetScrollRange(0);
    }
    SetPos(m_rcItem);
}

} // namespace UpdUI
