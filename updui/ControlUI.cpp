#include "ControlUI.h"

#include <cstdlib>
#include <cwchar>

#include "AttributeValueUI.h"
#include "PainterUI.h"
#include "RenderClipUI.h"
#include "MarkupNumberUI.h"

namespace UpdUI {

namespace {

const int kDefaultMaxSize = 9999;

// Background colours tolerate blanks before the '#'.
DWORD ParseBkColor(LPCWSTR pstrValue)
{
    while (*pstrValue == L' ') ++pstrValue;
    return CAttributeValueUI::ParseColor(pstrValue);
}

bool IsNotBlack(DWORD dwPixel)
{
    return (dwPixel & 0x00FFFFFF) != 0;
}

} // namespace

CControlUI::CControlUI()
    : m_pManager(nullptr), m_pParent(nullptr), m_bUpdateNeeded(true), m_bMenuUsed(false),
      m_hShapeRgn(::CreateRectRgn(0, 0, 0, 0)), m_rcItem(), m_rcPadding(), m_cXY(), m_cxyFixed(), m_cxyMin(),
      m_cxyMax(), m_bVisible(true), m_bInternVisible(true), m_bEnabled(true), m_bShapedHitTest(false),
      m_bBkImageChanged(false), m_bMouseEnabled(true), m_bKeyboardEnabled(true), m_bFocused(false), m_bFloat(false),
      m_bInSizeListeners(false), m_tRelativePos(), m_chShortcut(L'\0'), m_pTag(0), m_dwBackColor(0), m_dwBackColor2(0),
      m_dwBackColor3(0), m_dwBorderColor(0), m_dwFocusBorderColor(0), m_bColorHsl(false), m_nBorderSize(0),
      m_cxyBorderRound(), m_rcPaint()
{
    m_cxyMax.cx = kDefaultMaxSize;
    m_cxyMax.cy = kDefaultMaxSize;
}

CControlUI::~CControlUI()
{
    if (m_hShapeRgn != nullptr) ::DeleteObject(m_hShapeRgn);
    OnDestroy.CallAll(this);
    if (m_pManager != nullptr) m_pManager->ReapObjects(this);
}

CStringUI CControlUI::GetName() const
{
    return m_sName;
}

void CControlUI::SetName(LPCWSTR pstrName)
{
    m_sName = pstrName;
}

LPCWSTR CControlUI::GetControlClass() const
{
    return L"ControlUI";
}

LPVOID CControlUI::GetInterface(LPCWSTR pstrName)
{
    if (pstrName != nullptr && wcscmp(pstrName, L"Control") == 0) return this;
    return nullptr;
}

UINT CControlUI::GetControlFlags() const
{
    return 0;
}

bool CControlUI::Activate()
{
    return IsVisible() && IsEnabled();
}

CWindowManagerUI* CControlUI::GetManager() const
{
    return m_pManager;
}

void CControlUI::SetManager(CWindowManagerUI* pManager, CControlUI* pParent, bool bInit)
{
    m_pManager = pManager;
    m_pParent = pParent;
    if (bInit && m_pParent != nullptr) Init();
}

CControlUI* CControlUI::GetParent() const
{
    return m_pParent;
}

CStringUI CControlUI::GetText() const
{
    return m_sText;
}

void CControlUI::SetText(LPCWSTR pstrText)
{
    if (m_sText == pstrText) return;
    m_sText = pstrText;
    Invalidate();
}

const RECT& CControlUI::GetPos() const
{
    return m_rcItem;
}

RECT CControlUI::ClipToAncestors(RECT rc) const
{
    for (CControlUI* pParent = m_pParent; pParent != nullptr; pParent = pParent->GetParent()) {
        RECT rcParent = pParent->GetPos();
        if (!::IntersectRect(&rc, &rc, &rcParent)) {
            ::SetRectEmpty(&rc);
            return rc;
        }
    }
    return rc;
}

// A float control keeps its fixed offsets measured from the edge they were measured
// from before the move.
void CControlUI::UpdateFloatFixedXY()
{
    if (!m_bFloat || m_pParent == nullptr) return;
    const RECT& rcParent = m_pParent->GetPos();
    m_cXY.cx = m_cXY.cx < 0 ? m_rcItem.right - rcParent.right : m_rcItem.left - rcParent.left;
    m_cXY.cy = m_cXY.cy < 0 ? m_rcItem.bottom - rcParent.bottom : m_rcItem.top - rcParent.top;
    m_cxyFixed.cx = m_rcItem.right - m_rcItem.left;
    m_cxyFixed.cy = m_rcItem.bottom - m_rcItem.top;
}

void CControlUI::SetPos(RECT rc)
{
    if (rc.right < rc.left) rc.right = rc.left;
    if (rc.bottom < rc.top) rc.bottom = rc.top;

    CRectUI invalidateRc = ::IsRectEmpty(&m_rcItem) ? rc : m_rcItem;
    m_rcItem = rc;
    if (m_pManager == nullptr) return;

    if (!m_bInSizeListeners) {
        m_bInSizeListeners = true;
        OnSize.CallAll(this);
        m_bInSizeListeners = false;
    }
    UpdateFloatFixedXY();

    m_bUpdateNeeded = false;
    invalidateRc.Join(m_rcItem);
    RECT rcClip = ClipToAncestors(invalidateRc);
    if (::IsRectEmpty(&rcClip)) return;
    m_pManager->Invalidate(rcClip);
}

int CControlUI::GetWidth() const
{
    return m_rcItem.right - m_rcItem.left;
}

int CControlUI::GetHeight() const
{
    return m_rcItem.bottom - m_rcItem.top;
}

int CControlUI::GetX() const
{
    return m_rcItem.left;
}

int CControlUI::GetY() const
{
    return m_rcItem.top;
}

RECT CControlUI::GetPadding() const
{
    return m_rcPadding;
}

void CControlUI::SetPadding(RECT rcPadding)
{
    m_rcPadding = rcPadding;
    NeedParentUpdate();
}

SIZE CControlUI::GetFixedXY() const
{
    return m_cXY;
}

void CControlUI::SetFixedXY(SIZE szXY)
{
    m_cXY = szXY;
    NeedPlacementUpdate();
}

int CControlUI::GetFixedWidth() const
{
    return m_cxyFixed.cx;
}

void CControlUI::SetFixedWidth(int cx)
{
    if (cx < 0) return;
    m_cxyFixed.cx = cx;
    NeedPlacementUpdate();
}

int CControlUI::GetFixedHeight() const
{
    return m_cxyFixed.cy;
}

void CControlUI::SetFixedHeight(int cy)
{
    if (cy < 0) return;
    m_cxyFixed.cy = cy;
    NeedPlacementUpdate();
}

int CControlUI::GetMinWidth() const
{
    return m_cxyMin.cx;
}

void CControlUI::SetMinWidth(int cx)
{
    if (cx < 0 || m_cxyMin.cx == cx) return;
    m_cxyMin.cx = cx;
    NeedPlacementUpdate();
}

int CControlUI::GetMaxWidth() const
{
    return m_cxyMax.cx;
}

void CControlUI::SetMaxWidth(int cx)
{
    if (cx < 0 || m_cxyMax.cx == cx) return;
    m_cxyMax.cx = cx;
    NeedPlacementUpdate();
}

int CControlUI::GetMinHeight() const
{
    return m_cxyMin.cy;
}

void CControlUI::SetMinHeight(int cy)
{
    if (cy < 0 || m_cxyMin.cy == cy) return;
    m_cxyMin.cy = cy;
    NeedPlacementUpdate();
}

int CControlUI::GetMaxHeight() const
{
    return m_cxyMax.cy;
}

void CControlUI::SetMaxHeight(int cy)
{
    if (cy < 0 || m_cxyMax.cy == cy) return;
    m_cxyMax.cy = cy;
    NeedPlacementUpdate();
}

void CControlUI::SetRelativePos(int nMoveX, int nMoveY, int nZoomX, int nZoomY)
{
    m_tRelativePos.bRelative = true;
    m_tRelativePos.nMoveXPercent = nMoveX;
    m_tRelativePos.nMoveYPercent = nMoveY;
    m_tRelativePos.nZoomXPercent = nZoomX;
    m_tRelativePos.nZoomYPercent = nZoomY;
}

void CControlUI::SetRelativeParentSize(SIZE sz)
{
    m_tRelativePos.szParent = sz;
}

TRelativePosUI CControlUI::GetRelativePos() const
{
    return m_tRelativePos;
}

bool CControlUI::IsRelativePos() const
{
    return m_tRelativePos.bRelative;
}

CStringUI CControlUI::GetToolTip() const
{
    return m_sToolTip;
}

void CControlUI::SetToolTip(LPCWSTR pstrText)
{
    m_sToolTip = pstrText;
}

wchar_t CControlUI::GetShortcut() const
{
    return m_chShortcut;
}

void CControlUI::SetShortcut(wchar_t ch)
{
    m_chShortcut = ch;
}

bool CControlUI::IsContextMenuUsed() const
{
    return m_bMenuUsed;
}

void CControlUI::SetContextMenuUsed(bool bMenuUsed)
{
    m_bMenuUsed = bMenuUsed;
}

const CStringUI& CControlUI::GetUserData()
{
    return m_sUserData;
}

void CControlUI::SetUserData(LPCWSTR pstrText)
{
    m_sUserData = pstrText;
}

UINT_PTR CControlUI::GetTag() const
{
    return m_pTag;
}

void CControlUI::SetTag(UINT_PTR pTag)
{
    m_pTag = pTag;
}

bool CControlUI::IsVisible() const
{
    return m_bVisible && m_bInternVisible;
}

void CControlUI::SetVisible(bool bVisible)
{
    if (m_bVisible == bVisible) return;
    bool bWasVisible = IsVisible();
    m_bVisible = bVisible;
    m_bFocused = false;
    if (!bVisible && m_pManager != nullptr && m_pManager->GetFocus() == this) m_pManager->SetFocus(nullptr);
    if (IsVisible() != bWasVisible) NeedParentUpdate();
}

void CControlUI::SetInternalVisible(bool bVisible)
{
    m_bInternVisible = bVisible;
    if (!bVisible && m_pManager != nullptr && m_pManager->GetFocus() == this) m_pManager->SetFocus(nullptr);
}

bool CControlUI::IsEnabled() const
{
    return m_bEnabled;
}

bool CControlUI::IsShapedHitTest() const
{
    return m_bShapedHitTest;
}

void CControlUI::SetEnabled(bool bEnable)
{
    if (m_bEnabled == bEnable) return;
    m_bEnabled = bEnable;
    Invalidate();
}

void CControlUI::SetShapedHitTest(bool bShaped)
{
    if (m_bShapedHitTest == bShaped) return;
    m_bShapedHitTest = bShaped;
    Invalidate();
}

bool CControlUI::IsMouseEnabled() const
{
    return m_bMouseEnabled;
}

void CControlUI::SetMouseEnabled(bool bEnable)
{
    m_bMouseEnabled = bEnable;
}

bool CControlUI::IsKeyboardEnabled() const
{
    return m_bKeyboardEnabled;
}

void CControlUI::SetKeyboardEnabled(bool bEnable)
{
    m_bKeyboardEnabled = bEnable;
}

bool CControlUI::IsFocused() const
{
    return m_bFocused;
}

void CControlUI::SetFocus()
{
    if (m_pManager != nullptr) m_pManager->SetFocus(this);
}

bool CControlUI::IsFloat() const
{
    return m_bFloat;
}

void CControlUI::SetFloat(bool bFloat)
{
    if (m_bFloat == bFloat) return;
    m_bFloat = bFloat;
    NeedParentUpdate();
}

CControlUI* CControlUI::FindControl(FINDCONTROLPROC Proc, LPVOID pData, UINT uFlags)
{
    if ((uFlags & UIFIND_VISIBLE) != 0 && !IsVisible()) return nullptr;
    if ((uFlags & UIFIND_ENABLED) != 0 && !IsEnabled()) return nullptr;
    if ((uFlags & UIFIND_HITTEST) != 0) {
        if (!m_bMouseEnabled) return nullptr;
        POINT pt = *static_cast<const POINT*>(pData);
        // The shape region is in the background image's coordinates, which start at the
        // control's top left corner.
        bool bHit = ::PtInRect(&m_rcItem, pt) != FALSE;
        if (bHit && m_bShapedHitTest)
            bHit = ::PtInRegion(m_hShapeRgn, pt.x - m_rcItem.left, pt.y - m_rcItem.top) != FALSE;
        if (!bHit) return nullptr;
    }
    return Proc(this, pData);
}

void CControlUI::Init()
{
    DoInit();
    OnInit.CallAll(this);
}

void CControlUI::DoInit() { }

void CControlUI::Event(TEventRecUI& event)
{
    if (OnEvent.CallAll(&event)) DoEvent(event);
}

void CControlUI::DoEvent(TEventRecUI& event)
{
    switch (event.type) {
    case EventContextMenu:
        if (m_bMenuUsed) {
            if (m_pManager != nullptr) m_pManager->SendNotify(this, L"menu", event.wParam, event.lParam);
            return;
        }
        break;
    case EventKillFocus:
        m_bFocused = false;
        Invalidate();
        return;
    case EventSetFocus:
        m_bFocused = true;
        Invalidate();
        return;
    case EventSetCursor: ::SetCursor(::LoadCursorW(nullptr, IDC_ARROW)); return;
    case EventTimer:
        if (m_pManager != nullptr) m_pManager->SendNotify(this, L"timer", event.wParam, event.lParam);
        return;
    default: break;
    }
    if (m_pParent != nullptr) m_pParent->DoEvent(event);
}

void CControlUI::SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue)
{
    if (pstrName == nullptr || pstrValue == nullptr) return;
    if (wcscmp(pstrName, L"pos") == 0) {
        RECT rc = CAttributeValueUI::ParseRect(pstrValue);
        SIZE szXY = { rc.left >= 0 ? rc.left : rc.right, rc.top >= 0 ? rc.top : rc.bottom };
        SetFixedXY(szXY);
        SetFixedWidth(rc.right - rc.left);
        SetFixedHeight(rc.bottom - rc.top);
    } else if (wcscmp(pstrName, L"relativepos") == 0) {
        RECT rc = CAttributeValueUI::ParseRect(pstrValue);
        SetRelativePos(rc.left, rc.top, rc.right, rc.bottom);
    } else if (wcscmp(pstrName, L"padding") == 0) {
        SetPadding(CAttributeValueUI::ParseRect(pstrValue));
    } else if (wcscmp(pstrName, L"bkcolor") == 0 || wcscmp(pstrName, L"bkcolor1") == 0) {
        SetBkColor(ParseBkColor(pstrValue));
    } else if (wcscmp(pstrName, L"bkcolor2") == 0) {
        SetBkColor2(ParseBkColor(pstrValue));
    } else if (wcscmp(pstrName, L"bkcolor3") == 0) {
        SetBkColor3(ParseBkColor(pstrValue));
    } else if (wcscmp(pstrName, L"bordercolor") == 0) {
        SetBorderColor(CAttributeValueUI::ParseColor(pstrValue));
    } else if (wcscmp(pstrName, L"focusbordercolor") == 0) {
        SetFocusBorderColor(CAttributeValueUI::ParseColor(pstrValue));
    } else if (wcscmp(pstrName, L"colorhsl") == 0) {
        SetColorHsl(CAttributeValueUI::IsTrue(pstrValue));
    } else if (wcscmp(pstrName, L"bordersize") == 0) {
        SetBorderSize(static_cast<int>(MarkupNumber::Pen(pstrValue)));
    } else if (wcscmp(pstrName, L"borderround") == 0) {
        SetBorderRound(CAttributeValueUI::ParseSize(pstrValue));
    } else if (wcscmp(pstrName, L"bkimage") == 0) {
        SetBkImage(pstrValue);
    } else if (wcscmp(pstrName, L"width") == 0) {
        SetFixedWidth(static_cast<int>(MarkupNumber::Coord(pstrValue)));
    } else if (wcscmp(pstrName, L"height") == 0) {
        SetFixedHeight(static_cast<int>(MarkupNumber::Coord(pstrValue)));
    } else if (wcscmp(pstrName, L"minwidth") == 0) {
        SetMinWidth(static_cast<int>(MarkupNumber::Coord(pstrValue)));
    } else if (wcscmp(pstrName, L"minheight") == 0) {
        SetMinHeight(static_cast<int>(MarkupNumber::Coord(pstrValue)));
    } else if (wcscmp(pstrName, L"maxwidth") == 0) {
        SetMaxWidth(static_cast<int>(MarkupNumber::Coord(pstrValue)));
    } else if (wcscmp(pstrName, L"maxheight") == 0) {
        SetMaxHeight(static_cast<int>(MarkupNumber::Coord(pstrValue)));
    } else if (wcscmp(pstrName, L"name") == 0) {
        SetName(pstrValue);
    } else if (wcscmp(pstrName, L"text") == 0) {
        SetText(pstrValue);
    } else if (wcscmp(pstrName, L"tooltip") == 0) {
        SetToolTip(pstrValue);
    } else if (wcscmp(pstrName, L"userdata") == 0) {
        SetUserData(pstrValue);
    } else if (wcscmp(pstrName, L"enabled") == 0) {
        SetEnabled(CAttributeValueUI::IsTrue(pstrValue));
    } else if (wcscmp(pstrName, L"mouse") == 0) {
        SetMouseEnabled(CAttributeValueUI::IsTrue(pstrValue));
    } else if (wcscmp(pstrName, L"keyboard") == 0) {
        SetKeyboardEnabled(CAttributeValueUI::IsTrue(pstrValue));
    } else if (wcscmp(pstrName, L"visible") == 0) {
        SetVisible(CAttributeValueUI::IsTrue(pstrValue));
    } else if (wcscmp(pstrName, L"random") == 0) {
        SetShapedHitTest(CAttributeValueUI::IsTrue(pstrValue));
    } else if (wcscmp(pstrName, L"float") == 0) {
        SetFloat(CAttributeValueUI::IsTrue(pstrValue));
    } else if (wcscmp(pstrName, L"shortcut") == 0) {
        SetShortcut(pstrValue[0]);
    } else if (wcscmp(pstrName, L"menu") == 0) {
        SetContextMenuUsed(CAttributeValueUI::IsTrue(pstrValue));
    }
}

SIZE CControlUI::EstimateSize(SIZE /*szAvailable*/)
{
    return m_cxyFixed;
}

void CControlUI::Invalidate()
{
    if (!IsVisible() || m_pManager == nullptr) return;
    RECT rc = ClipToAncestors(m_rcItem);
    if (!::IsRectEmpty(&rc)) m_pManager->Invalidate(rc);
}

bool CControlUI::IsUpdateNeeded() const
{
    return m_bUpdateNeeded;
}

void CControlUI::NeedUpdate()
{
    if (!IsVisible()) return;
    m_bUpdateNeeded = true;
    Invalidate();
    if (m_pManager != nullptr) m_pManager->NeedUpdate();
}

void CControlUI::NeedParentUpdate()
{
    if (m_pParent != nullptr) {
        m_pParent->NeedUpdate();
        m_pParent->Invalidate();
    } else {
        NeedUpdate();
    }
    if (m_pManager != nullptr) m_pManager->NeedUpdate();
}

// A float control places itself; any other control is placed by its parent's layout.
void CControlUI::NeedPlacementUpdate()
{
    if (m_bFloat)
        NeedUpdate();
    else
        NeedParentUpdate();
}

DWORD CControlUI::GetAdjustColor(DWORD dwColor) const
{
    if (!m_bColorHsl) return dwColor;
    short H = 0, S = 0, L = 0;
    CWindowManagerUI::GetSkinHsl(&H, &S, &L);
    return CPainterUI::AdjustColor(dwColor, H, S, L);
}

// name="value" pairs separated by exactly one blank; anything else ends the list.
void CControlUI::ApplyAttributeList(LPCWSTR pstrList)
{
    if (pstrList == nullptr) return;
    CStringUI sName;
    CStringUI sValue;
    LPCWSTR p = pstrList;
    while (*p != L'\0') {
        LPCWSTR pNameStart = p;
        while (*p != L'\0' && *p != L'=') p = ::CharNextW(p);
        sName.Assign(pNameStart, static_cast<int>(p - pNameStart));
        if (*p++ != L'=') return;
        if (*p++ != L'"') return;
        LPCWSTR pValueStart = p;
        while (*p != L'\0' && *p != L'"') p = ::CharNextW(p);
        if (*p != L'"') return;
        sValue.Assign(pValueStart, static_cast<int>(p - pValueStart));
        ++p;
        SetAttribute(sName.GetData(), sValue.GetData());
        if (*p++ != L' ') return;
    }
}

bool CControlUI::DrawImage(HDC hDC, LPCWSTR pStrImage, LPCWSTR pStrModify)
{
    return CPainterUI::DrawImageDesc(hDC, m_pManager, m_rcItem, m_rcPaint, pStrImage, pStrModify);
}

void CControlUI::SetImage(CStringUI& sImage, LPCWSTR pStrImage)
{
    sImage = pStrImage;
    Invalidate();
}

bool CControlUI::SetImageByName(const TImageSlotUI* aSlots, int nSlots, LPCWSTR pstrName, LPCWSTR pStrImage)
{
    for (int i = 0; i < nSlots; i++) {
        if (wcscmp(pstrName, aSlots[i].pstrName) != 0) continue;
        SetImage(*aSlots[i].pImage, pStrImage);
        return true;
    }
    return false;
}

bool CControlUI::DrawImageOrForget(HDC hDC, CStringUI& sImage, LPCWSTR pStrModify)
{
    if (sImage.IsEmpty()) return false;
    if (DrawImage(hDC, sImage.GetData(), pStrModify)) return true;
    sImage.Empty();
    return false;
}

void CControlUI::DoPaint(HDC hDC, const RECT& rcPaint)
{
    if (!::IntersectRect(&m_rcPaint, &rcPaint, &m_rcItem)) return;
    if (m_cxyBorderRound.cx > 0 || m_cxyBorderRound.cy > 0) {
        CRenderClipUI roundClip;
        CRenderClipUI::GenerateRound(hDC, m_rcPaint, m_rcItem, m_cxyBorderRound.cx, m_cxyBorderRound.cy, roundClip);
        PaintBkColor(hDC);
        PaintBkImage(hDC);
        PaintStatusImage(hDC);
        PaintText(hDC);
        PaintBorder(hDC);
        return;
    }
    PaintBkColor(hDC);
    PaintBkImage(hDC);
    PaintStatusImage(hDC);
    PaintText(hDC);
    PaintBorder(hDC);
}

void CControlUI::PaintBkColor(HDC hDC)
{
    if (m_dwBackColor == 0) return;
    if (m_dwBackColor2 == 0) {
        DWORD dwColor = GetAdjustColor(m_dwBackColor);
        // A translucent colour covers the whole control so that partial repaints do
        // not blend the same pixels twice at different times.
        CPainterUI::DrawColor(hDC, m_dwBackColor >= 0xFF000000 ? m_rcPaint : m_rcItem, dwColor);
        return;
    }
    if (m_dwBackColor3 != 0) {
        RECT rcUpper = m_rcItem;
        rcUpper.bottom = (m_rcItem.top + m_rcItem.bottom) / 2;
        RECT rcLower = m_rcItem;
        rcLower.top = rcUpper.bottom;
        CPainterUI::DrawGradient(hDC, rcUpper, GetAdjustColor(m_dwBackColor), GetAdjustColor(m_dwBackColor2), true, 8);
        CPainterUI::DrawGradient(hDC, rcLower, GetAdjustColor(m_dwBackColor2), GetAdjustColor(m_dwBackColor3), true, 8);
        return;
    }
    CPainterUI::DrawGradient(hDC, m_rcItem, GetAdjustColor(m_dwBackColor), GetAdjustColor(m_dwBackColor2), true, 16);
}

void CControlUI::PaintBkImage(HDC hDC)
{
    if (m_sBkImage.IsEmpty()) return;
    if (m_bBkImageChanged && m_bShapedHitTest) RebuildShapeRegion();
    // An image placed with "dest" may reach past the control, where the kept result ends.
    if (wcsstr(m_sBkImage.GetData(), L"dest=") == nullptr) {
        const CPaintResultCacheUI::TKeyUI key = { m_sBkImage.GetData(), 0, 0, nullptr, false, 0 };
        auto render = [this](HDC hImageDC, RECT /*rc*/) { DrawImageOrForget(hImageDC, m_sBkImage); };
        if (m_bkImageCache.Draw(hDC, m_rcItem, m_rcPaint, key, render)) return;
    }
    DrawImageOrForget(hDC, m_sBkImage);
}

// Hit-test region of a shaped control: the pixels of its background image that are
// not black, as one-row rectangles in the image's own coordinates.
void CControlUI::RebuildShapeRegion()
{
    m_bBkImageChanged = false;
    if (m_pManager == nullptr) return;
    TImageRecUI* pImage = m_pManager->GetImageEx(m_sBkImage.GetData());
    if (pImage == nullptr || pImage->hBitmap == nullptr) return;
    DIBSECTION ds = {};
    if (::GetObjectW(pImage->hBitmap, sizeof(ds), &ds) != sizeof(ds) || ds.dsBm.bmBits == nullptr) return;
    if (ds.dsBm.bmBitsPixel != 32) return;
    HRGN hRgn = ::CreateRectRgn(0, 0, 0, 0);
    if (hRgn == nullptr) return;
    const DWORD* pBits = static_cast<const DWORD*>(ds.dsBm.bmBits);
    int nWidth = ds.dsBm.bmWidth;
    int nHeight = ds.dsBm.bmHeight < 0 ? -ds.dsBm.bmHeight : ds.dsBm.bmHeight;
    for (int y = 0; y < nHeight; ++y) {
        const DWORD* pRow = pBits + static_cast<size_t>(y) * static_cast<size_t>(nWidth);
        int x = 0;
        while (x < nWidth) {
            while (x < nWidth && !IsNotBlack(pRow[x])) ++x;
            int xStart = x;
            while (x < nWidth && IsNotBlack(pRow[x])) ++x;
            if (x > xStart) {
                HRGN hRun = ::CreateRectRgn(xStart, y, x, y + 1);
                if (hRun != nullptr) {
                    ::CombineRgn(hRgn, hRgn, hRun, RGN_OR);
                    ::DeleteObject(hRun);
                }
            }
        }
    }
    if (m_hShapeRgn != nullptr) ::DeleteObject(m_hShapeRgn);
    m_hShapeRgn = hRgn;
}

void CControlUI::PaintStatusImage(HDC /*hDC*/) { }

void CControlUI::PaintText(HDC /*hDC*/) { }

void CControlUI::PaintBorder(HDC hDC)
{
    if (m_nBorderSize <= 0) return;
    DWORD dwColor = (m_bFocused && m_dwFocusBorderColor != 0) ? m_dwFocusBorderColor : m_dwBorderColor;
    dwColor = GetAdjustColor(dwColor);
    if (m_cxyBorderRound.cx > 0 || m_cxyBorderRound.cy > 0) {
        CPainterUI::DrawRoundRect(hDC, m_rcItem, m_nBorderSize, m_cxyBorderRound.cx, m_cxyBorderRound.cy, dwColor);
    } else {
        CPainterUI::DrawRect(hDC, m_rcItem, m_nBorderSize, dwColor);
    }
}

void CControlUI::DoPostPaint(HDC /*hDC*/, const RECT& /*rcPaint*/) { }

DWORD CControlUI::GetBkColor() const
{
    return m_dwBackColor;
}

void CControlUI::SetBkColor(DWORD dwBackColor)
{
    if (m_dwBackColor == dwBackColor) return;
    m_dwBackColor = dwBackColor;
    Invalidate();
}

DWORD CControlUI::GetBkColor2() const
{
    return m_dwBackColor2;
}

void CControlUI::SetBkColor2(DWORD dwBackColor)
{
    if (m_dwBackColor2 == dwBackColor) return;
    m_dwBackColor2 = dwBackColor;
    Invalidate();
}

DWORD CControlUI::GetBkColor3() const
{
    return m_dwBackColor3;
}

void CControlUI::SetBkColor3(DWORD dwBackColor)
{
    if (m_dwBackColor3 == dwBackColor) return;
    m_dwBackColor3 = dwBackColor;
    Invalidate();
}

LPCWSTR CControlUI::GetBkImage() const
{
    return m_sBkImage.GetData();
}

void CControlUI::SetBkImage(LPCWSTR pStrImage)
{
    if (m_sBkImage == pStrImage) return;
    m_sBkImage = pStrImage;
    m_bBkImageChanged = true;
    Invalidate();
}

DWORD CControlUI::GetBorderColor() const
{
    return m_dwBorderColor;
}

void CControlUI::SetBorderColor(DWORD dwBorderColor)
{
    if (m_dwBorderColor == dwBorderColor) return;
    m_dwBorderColor = dwBorderColor;
    Invalidate();
}

DWORD CControlUI::GetFocusBorderColor() const
{
    return m_dwFocusBorderColor;
}

void CControlUI::SetFocusBorderColor(DWORD dwBorderColor)
{
    if (m_dwFocusBorderColor == dwBorderColor) return;
    m_dwFocusBorderColor = dwBorderColor;
    Invalidate();
}

bool CControlUI::IsColorHsl() const
{
    return m_bColorHsl;
}

void CControlUI::SetColorHsl(bool bColorHsl)
{
    if (m_bColorHsl == bColorHsl) return;
    m_bColorHsl = bColorHsl;
    Invalidate();
}

int CControlUI::GetBorderSize() const
{
    return m_nBorderSize;
}

void CControlUI::SetBorderSize(int nSize)
{
    if (m_nBorderSize == nSize) return;
    m_nBorderSize = nSize;
    Invalidate();
}

SIZE CControlUI::GetBorderRound() const
{
    return m_cxyBorderRound;
}

void CControlUI::SetBorderRound(SIZE cxyRound)
{
    m_cxyBorderRound = cxyRound;
    Invalidate();
}

HRGN CControlUI::GetShapeRegion() const
{
    return m_hShapeRgn;
}

} // namespace UpdUI
