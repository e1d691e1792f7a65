#include "DialogLayoutUI.h"

#include <algorithm>
#include <cwchar>

#include "ScrollbarUI.h"

namespace {

RECT FixedRectOf(const CControlUI* pControl)
{
    const SIZE xy = pControl->GetFixedXY();
    return RECT{ xy.cx, xy.cy, xy.cx + pControl->GetFixedWidth(), xy.cy + pControl->GetFixedHeight() };
}

} // namespace

CDialogLayoutUI::CDialogLayoutUI() : m_aModes(sizeof(TStretchModeUI)) { }

CDialogLayoutUI::~CDialogLayoutUI()
{
    m_aModes.Empty();
}

LPCWSTR CDialogLayoutUI::GetControlClass() const
{
    return L"DialogLayoutUI";
}

LPVOID CDialogLayoutUI::GetInterface(LPCWSTR pstrName)
{
    if (pstrName != nullptr && wcscmp(pstrName, L"DialogLayout") == 0) return this;
    return CContainerUI::GetInterface(pstrName);
}

CDialogLayoutUI::TStretchModeUI* CDialogLayoutUI::GetRecord(int iIndex) const
{
    return static_cast<TStretchModeUI*>(m_aModes.GetAt(iIndex));
}

const CDialogLayoutUI::TStretchModeUI* CDialogLayoutUI::FindRecord(CControlUI* pControl) const
{
    for (int i = 0; i < m_aModes.GetSize(); i++) {
        const TStretchModeUI* pRec = GetRecord(i);
        if (pRec->pControl == pControl) return pRec;
    }
    return nullptr;
}

void CDialogLayoutUI::SetStretchMode(CControlUI* pControl, UINT uMode)
{
    TStretchModeUI rec = { pControl, uMode, FixedRectOf(pControl) };
    m_aModes.Add(&rec);
}

UINT CDialogLayoutUI::GetStretchMode(CControlUI* pControl) const
{
    const TStretchModeUI* pRec = FindRecord(pControl);
    return pRec != nullptr ? pRec->uMode : 0;
}

// Rebuilds the records in child order (a child without one starts its own group),
// returns the bounding box of the visible non-float children and makes every record's
// rectangle relative to that box.
RECT CDialogLayoutUI::RecalcArea()
{
    CValArrayUI aModes(sizeof(TStretchModeUI));
    RECT rcBound = { 9999, 9999, 0, 0 };
    bool bAny = false;
    for (int i = 0; i < m_items.GetSize(); i++) {
        CControlUI* pControl = static_cast<CControlUI*>(m_items.GetAt(i));
        const TStretchModeUI* pOld = FindRecord(pControl);
        TStretchModeUI rec = { pControl, pOld != nullptr ? pOld->uMode : UISTRETCH_NEWGROUP, FixedRectOf(pControl) };
        aModes.Add(&rec);
        if (!pControl->IsVisible() || pControl->IsFloat()) continue;
        rcBound.left = bAny ? std::min(rcBound.left, rec.rcItem.left) : rec.rcItem.left;
        rcBound.top = bAny ? std::min(rcBound.top, rec.rcItem.top) : rec.rcItem.top;
        rcBound.right = bAny ? std::max(rcBound.right, rec.rcItem.right) : rec.rcItem.right;
        rcBound.bottom = bAny ? std::max(rcBound.bottom, rec.rcItem.bottom) : rec.rcItem.bottom;
        bAny = true;
    }
    // Nothing visible takes room: an empty box rather than an inside-out one.
    if (!bAny) rcBound = RECT{ 0, 0, 0, 0 };
    for (int i = 0; i < aModes.GetSize(); i++) {
        TStretchModeUI* pRec = static_cast<TStretchModeUI*>(aModes.GetAt(i));
        ::OffsetRect(&pRec->rcItem, -rcBound.left, -rcBound.top);
    }
    m_aModes = aModes;
    return rcBound;
}

SIZE CDialogLayoutUI::EstimateSize(SIZE szAvailable)
{
    const RECT rcBound = RecalcArea();
    SIZE sz = { rcBound.right - rcBound.left, rcBound.bottom - rcBound.top };
    if (m_pVerticalScrollBar != nullptr) {
        if (sz.cx > szAvailable.cx) sz.cx = szAvailable.cx;
        if (sz.cy > szAvailable.cy) sz.cy = szAvailable.cy;
    }
    return sz;
}

// Number of sized records in the group that starts at iFirst (the group ends at the
// next record that starts a group or a line); at least 1.
int CDialogLayoutUI::CountSizedInGroup(int iFirst) const
{
    int nCount = 0;
    for (int i = iFirst; i < m_aModes.GetSize(); i++) {
        const UINT uMode = GetRecord(i)->uMode;
        if (i > iFirst && (uMode & (UISTRETCH_NEWGROUP | UISTRETCH_NEWLINE)) != 0) break;
        if ((uMode & UISTRETCH_SIZE_XY) != 0) nCount++;
    }
    return nCount == 0 ? 1 : nCount;
}

void CDialogLayoutUI::SetPos(RECT rc)
{
    CControlUI::SetPos(rc);
    if (m_items.GetSize() == 0) return;
    const RECT rcBound = RecalcArea();
    rc = GetInnerRect();

    if (m_pHorizontalScrollBar != nullptr && m_pHorizontalScrollBar->IsVisible()) {
        const int cy = m_pHorizontalScrollBar->GetFixedHeight();
        rc.bottom -= cy;
        m_pHorizontalScrollBar->SetPos(RECT{ rc.left, rc.bottom, rc.right, rc.bottom + cy });
    }
    if (m_pVerticalScrollBar != nullptr) {
        const bool bWasVisible = m_pVerticalScrollBar->IsVisible();
        const int cx = m_pVerticalScrollBar->GetFixedWidth();
        if (bWasVisible) rc.right -= cx;
        ProcessScrollBar(rc, 0, rcBound.bottom - rcBound.top);
        if (m_pVerticalScrollBar->IsVisible() != bWasVisible) rc.right += bWasVisible ? cx : -cx;
    }

    const SIZE szExtra = { std::max<LONG>(0, (rc.right - rc.left) - (rcBound.right - rcBound.left)),
                           std::max<LONG>(0, (rc.bottom - rc.top) - (rcBound.bottom - rcBound.top)) };
    const SIZE szScroll = GetScrollPos();
    SIZE szPerChild = { 0, 0 };
    SIZE szMoved = { 0, 0 };
    for (int i = 0; i < m_aModes.GetSize(); i++) {
        const TStretchModeUI& rec = *GetRecord(i);
        if (!rec.pControl->IsVisible()) continue;
        if (rec.pControl->IsFloat()) {
            SetFloatPos(i);
            continue;
        }
        if (i == 0 || (rec.uMode & UISTRETCH_NEWGROUP) != 0) {
            const int n = CountSizedInGroup(i);
            szPerChild = SIZE{ szExtra.cx / n, szExtra.cy / n };
            szMoved = SIZE{ 0, 0 };
        }
        if ((rec.uMode & UISTRETCH_NEWLINE) != 0) szMoved = SIZE{ 0, 0 };
        PlaceChild(rec, POINT{ rc.left - szScroll.cx, rc.top - szScroll.cy }, szPerChild, szMoved);
    }
}

// ptOrigin is the layout's scrolled top-left corner.
void CDialogLayoutUI::PlaceChild(const TStretchModeUI& rec, POINT ptOrigin, SIZE szPerChild, SIZE& szMoved)
{
    RECT r = rec.rcItem;
    ::OffsetRect(&r, ptOrigin.x, ptOrigin.y);
    if ((rec.uMode & UISTRETCH_MOVE_X) != 0) ::OffsetRect(&r, szMoved.cx, 0);
    if ((rec.uMode & UISTRETCH_MOVE_Y) != 0) ::OffsetRect(&r, 0, szMoved.cy);
    if ((rec.uMode & UISTRETCH_SIZE_X) != 0) r.right += szPerChild.cx;
    if ((rec.uMode & UISTRETCH_SIZE_Y) != 0) r.bottom += szPerChild.cy;
    if ((rec.uMode & UISTRETCH_SIZE_XY) != 0) {
        szMoved.cx += szPerChild.cx;
        szMoved.cy += szPerChild.cy;
    }

    CControlUI* pControl = rec.pControl;
    const int cx = r.right - r.left;
    const int cy = r.bottom - r.top;
    if (cx > pControl->GetMaxWidth()) r.right = r.left + pControl->GetMaxWidth();
    if (cx < pControl->GetMinWidth()) r.right = r.left + pControl->GetMinWidth();
    if (cy > pControl->GetMaxHeight()) r.bottom = r.top + pControl->GetMaxHeight();
    if (cy < pControl->GetMinHeight()) r.bottom = r.top + pControl->GetMinHeight();
    pControl->SetPos(r);
}
