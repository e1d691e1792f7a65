#include "ControlUI.h"

#include <cwchar>

#include "AttributeValueUI.h"
#include "PainterUI.h"

namespace {

const int kDefaultMaxSize = 9999;

bool IsEmptyRect(const RECT& rc)
{
    return rc.right <= rc.left || rc.bottom <= rc.top;
}

} // namespace

CControlUI::CControlUI()
    : m_pManager(nullptr), m_pParent(nullptr), m_bUpdateNeeded(true), m_rcItem(), m_rcPadding(), m_cXY(), m_cxyFixed(),
      m_cxyMin(), m_cxyMax{ kDefaultMaxSize, kDefaultMaxSize }, m_bVisible(true), m_bInternVisible(true),
      m_bEnabled(true), m_bMouseEnabled(true), m_bFocused(false), m_bFloat(false), m_bSetPos(false), m_tRelativePos(),
      m_chShortcut(L'\0'), m_pTag(0), m_dwBackColor(0), m_dwBackColor2(0), m_dwBorderColor(0), m_nBorderSize(1),
      m_rcPaint()
{ }

CControlUI::~CControlUI()
{
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

void CControlUI::SetManager(CWindowManagerUI* pManager, CControlUI* pParent)
{
    m_pManager = pManager;
    m_pParent = pParent;
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
    m_sText = pstrText;
}

const RECT& CControlUI::GetPos() const
{
    return m_rcItem;
}

RECT CControlUI::ClipToAncestors(RECT rc) const
{
    for (CControlUI* pParent = m_pParent; pParent != nullptr; pParent = pParent->GetParent()) {
        RECT rcParent = pParent->GetPos();
        if (!::IntersectRect(&rc, &rc, &rcParent)) return RECT{ 0, 0, 0, 0 };
    }
    return rc;
}

void CControlUI::SendFloatPosChanged()
{
    if (m_bSetPos) return;
    m_bSetPos = true;
    m_pManager->SendNotify(this, NotifyFloatPosChanged);
    m_bSetPos = false;
}

void CControlUI::SetPos(RECT rc)
{
    if (rc.right < rc.left) rc.right = rc.left;
    if (rc.bottom < rc.top) rc.bottom = rc.top;

    RECT rcOld = IsEmptyRect(m_rcItem) ? rc : m_rcItem;
    m_rcItem = rc;
    if (m_pManager == nullptr) return;

    if (m_bFloat) {
        SendFloatPosChanged();
        if (m_pParent != nullptr) {
            const RECT& rcParent = m_pParent->GetPos();
            m_cXY.cx = m_cXY.cx >= 0 ? m_rcItem.left - rcParent.left : m_rcItem.right - rcParent.right;
            m_cXY.cy = m_cXY.cy >= 0 ? m_rcItem.top - rcParent.top : m_rcItem.bottom - rcParent.bottom;
        }
    }

    m_bUpdateNeeded = false;
    RECT rcInvalidate = rcOld;
    ::UnionRect(&rcInvalidate, &rcOld, &m_rcItem);
    rcInvalidate = ClipToAncestors(rcInvalidate);
    if (!IsEmptyRect(rcInvalidate)) m_pManager->Invalidate(rcInvalidate);
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

CStringUI CControlUI::GetUserData() const
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

bool CControlUI::IsOwnVisible() const
{
    return m_bVisible;
}

void CControlUI::SetVisible(bool bVisible)
{
    if (m_bVisible == bVisible) return;
    bool bWasVisible = IsVisible();
    m_bVisible = bVisible;
    if (m_bFocused) m_bFocused = false;
    if (IsVisible() != bWasVisible) NeedPlacementUpdate();
    DropFocusIfHidden();
}

void CControlUI::SetInternalVisible(bool bVisible)
{
    m_bInternVisible = bVisible;
    DropFocusIfHidden();
}

// Keys must not keep going to a control nobody can see; the manager lets go of it so
// it can take the focus again once shown.
void CControlUI::DropFocusIfHidden()
{
    if (IsVisible() || m_pManager == nullptr || m_pManager->GetFocus() != this) return;
    m_pManager->SetFocus(nullptr);
}

bool CControlUI::IsEnabled() const
{
    return m_bEnabled;
}

void CControlUI::SetEnabled(bool bEnable)
{
    if (m_bEnabled == bEnable) return;
    m_bEnabled = bEnable;
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
        if (!m_bMouseEnabled || !::PtInRect(&m_rcItem, *static_cast<LPPOINT>(pData))) return nullptr;
    }
    return Proc(this, pData);
}

void CControlUI::DoEvent(TEventRecUI& event)
{
    switch (event.type) {
    case EventKillFocus:
        m_bFocused = false;
        Invalidate();
        return;
    case EventSetFocus:
        m_bFocused = true;
        Invalidate();
        return;
    case EventSetCursor:
        ::SetCursor(::LoadCursorW(nullptr, MAKEINTRESOURCEW(32512))); // IDC_ARROW
        return;
    case EventTimer:
        if (m_pManager != nullptr) m_pManager->SendNotify(this, NotifyTimer, event.wParam, event.lParam);
        return;
    default:
        if (m_pParent != nullptr) m_pParent->DoEvent(event);
        return;
    }
}

void CControlUI::SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue)
{
    if (wcscmp(pstrName, L"pos") == 0) {
        RECT rc = CAttributeValueUI::ParseRect(pstrValue);
        SIZE szXY = { rc.left >= 0 ? rc.left : rc.right, rc.top >= 0 ? rc.top : rc.bottom };
        SetFixedXY(szXY);
        const int nMax = CAttributeValueUI::MaxCoordinate; // each side is held, their distance too
        SetFixedWidth(CAttributeValueUI::Clamp(rc.right - rc.left, -nMax, nMax));
        SetFixedHeight(CAttributeValueUI::Clamp(rc.bottom - rc.top, -nMax, nMax));
    } else if (wcscmp(pstrName, L"relativepos") == 0) {
        int v[4];
        CAttributeValueUI::ParseInts(pstrValue, v, 4);
        SetRelativePos(v[0], v[1], v[2], v[3]);
    } else if (wcscmp(pstrName, L"padding") == 0) {
        SetPadding(CAttributeValueUI::ParseRect(pstrValue));
    } else if (wcscmp(pstrName, L"bkcolor") == 0) {
        SetBkColor(CAttributeValueUI::ParseColor(pstrValue));
    } else if (wcscmp(pstrName, L"bkcolor2") == 0) {
        SetBkColor2(CAttributeValueUI::ParseColor(pstrValue));
    } else if (wcscmp(pstrName, L"bordercolor") == 0) {
        SetBorderColor(CAttributeValueUI::ParseColor(pstrValue));
    } else if (wcscmp(pstrName, L"bordersize") == 0) {
        SetBorderSize(CAttributeValueUI::ParseBorderSize(pstrValue));
    } else if (wcscmp(pstrName, L"bkimage") == 0) {
        SetBkImage(pstrValue);
    } else if (wcscmp(pstrName, L"ftimage") == 0) {
        SetForeImage(pstrValue);
    } else if (wcscmp(pstrName, L"width") == 0) {
        SetFixedWidth(CAttributeValueUI::ParseCoordinate(pstrValue));
    } else if (wcscmp(pstrName, L"height") == 0) {
        SetFixedHeight(CAttributeValueUI::ParseCoordinate(pstrValue));
    } else if (wcscmp(pstrName, L"minwidth") == 0) {
        SetMinWidth(CAttributeValueUI::ParseCoordinate(pstrValue));
    } else if (wcscmp(pstrName, L"minheight") == 0) {
        SetMinHeight(CAttributeValueUI::ParseCoordinate(pstrValue));
    } else if (wcscmp(pstrName, L"maxwidth") == 0) {
        SetMaxWidth(CAttributeValueUI::ParseCoordinate(pstrValue));
    } else if (wcscmp(pstrName, L"maxheight") == 0) {
        SetMaxHeight(CAttributeValueUI::ParseCoordinate(pstrValue));
    } else if (wcscmp(pstrName, L"name") == 0) {
        SetName(pstrValue);
    } else if (wcscmp(pstrName, L"text") == 0) {
        SetText(pstrValue);
    } else if (wcscmp(pstrName, L"tooltip") == 0) {
        SetToolTip(pstrValue);
    } else if (wcscmp(pstrName, L"userdata") == 0) {
        SetUserData(pstrValue);
    } else if (wcscmp(pstrName, L"enabled") == 0) {
        SetEnabled(CAttributeValueUI::ParseBool(pstrValue));
    } else if (wcscmp(pstrName, L"mouse") == 0) {
        SetMouseEnabled(CAttributeValueUI::ParseBool(pstrValue));
    } else if (wcscmp(pstrName, L"visible") == 0) {
        SetVisible(CAttributeValueUI::ParseBool(pstrValue));
    } else if (wcscmp(pstrName, L"float") == 0) {
        SetFloat(CAttributeValueUI::ParseBool(pstrValue));
    } else if (wcscmp(pstrName, L"shortcut") == 0) {
        SetShortcut(pstrValue[0]);
    }
}

// name="value" pairs separated by exactly one blank; the first malformed pair ends
// the list.
void CControlUI::ApplyAttributeList(LPCWSTR pstrList)
{
    if (pstrList == nullptr) return;
    LPCWSTR p = pstrList;
    while (*p != L'\0') {
        LPCWSTR pEqual = wcschr(p, L'=');
        if (pEqual == nullptr || pEqual[1] != L'"') return;
        CStringUI sName(p, static_cast<int>(pEqual - p));
        LPCWSTR pValue = pEqual + 2;
        LPCWSTR pQuote = wcschr(pValue, L'"');
        if (pQuote == nullptr) return;
        CStringUI sValue(pValue, static_cast<int>(pQuote - pValue));
        SetAttribute(sName.GetData(), sValue.GetData());
        p = pQuote + 1;
        if (*p != L' ' || p[1] == L' ') return; // exactly one blank between pairs
        p++;
    }
}

SIZE CControlUI::EstimateSize(SIZE /*szAvailable*/)
{
    return m_cxyFixed;
}

void CControlUI::DoPaint(HDC hDC, const RECT& rcPaint)
{
    if (!::IntersectRect(&m_rcPaint, &rcPaint, &m_rcItem)) return;
    PaintBkColor(hDC);
    PaintBkImage(hDC);
    PaintStatusImage(hDC);
    PaintText(hDC);
    PaintForeImage(hDC);
    PaintBorder(hDC);
}

// An opaque colour only needs the part being repainted; a translucent one is drawn
// over the whole position so the blend stays uniform.
void CControlUI::PaintBkColor(HDC hDC)
{
    if (m_dwBackColor == 0) return;
    if (m_dwBackColor2 != 0) {
        CPainterUI::DrawGradient(hDC, m_rcItem, m_dwBackColor, m_dwBackColor2, true, 16);
    } else if (m_dwBackColor >= 0xFF000000) {
        CPainterUI::DrawColor(hDC, m_rcPaint, m_dwBackColor);
    } else {
        // A translucent colour is blended over what lies under it on every paint; kept like an image.
        const CPaintResultCacheUI::TKeyUI key = { nullptr, m_dwBackColor, 0, nullptr, false, 0 };
        auto render = [this](HDC hColorDC, RECT rc) { CPainterUI::DrawColor(hColorDC, rc, m_dwBackColor); };
        if (!m_bkColorCache.Draw(hDC, m_rcItem, m_rcPaint, key, render))
            CPainterUI::DrawColor(hDC, m_rcItem, m_dwBackColor);
    }
}

// A description that fails to draw is forgotten, so a missing image is tried once.
bool CControlUI::DrawImageOrForget(HDC hDC, CStringUI& sImage, LPCWSTR pStrModify)
{
    if (sImage.IsEmpty()) return false;
    if (DrawImage(hDC, sImage.GetData(), pStrModify)) return true;
    sImage.Empty();
    return false;
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

UINT CControlUI::ImageGeneration() const
{
    return m_pManager != nullptr ? m_pManager->GetImageGeneration() : 0;
}

void CControlUI::PaintBkImage(HDC hDC)
{
    if (m_sBkImage.IsEmpty()) return;
    // An image placed with "dest" may reach past the control, where the kept result ends.
    if (wcsstr(m_sBkImage.GetData(), L"dest=") == nullptr) {
        const CPaintResultCacheUI::TKeyUI key = { m_sBkImage.GetData(), 0, 0, nullptr, false, ImageGeneration() };
        auto render = [this](HDC hImageDC, RECT /*rc*/) { DrawImageOrForget(hImageDC, m_sBkImage); };
        if (m_bkImageCache.Draw(hDC, m_rcItem, m_rcPaint, key, render)) return;
    }
    DrawImageOrForget(hDC, m_sBkImage);
}

void CControlUI::PaintForeImage(HDC hDC)
{
    DrawImageOrForget(hDC, m_sForeImage);
}

void CControlUI::PaintStatusImage(HDC /*hDC*/) { }

void CControlUI::PaintText(HDC /*hDC*/) { }

void CControlUI::PaintBorder(HDC hDC)
{
    if (m_dwBorderColor == 0 || m_nBorderSize <= 0) return;
    CPainterUI::DrawRect(hDC, m_rcItem, m_nBorderSize, m_dwBorderColor);
}

void CControlUI::DoPostPaint(HDC /*hDC*/, const RECT& /*rcPaint*/) { }

void CControlUI::Invalidate()
{
    if (!IsVisible()) return;
    RECT rc = ClipToAncestors(m_rcItem);
    if (IsEmptyRect(rc)) return;
    if (m_pManager != nullptr) m_pManager->Invalidate(rc);
}

void CControlUI::NeedUpdate()
{
    m_bUpdateNeeded = true;
    Invalidate();
    if (m_pManager != nullptr) m_pManager->NeedUpdate();
}

void CControlUI::NeedParentUpdate()
{
    if (m_pParent != nullptr)
        m_pParent->NeedUpdate();
    else
        NeedUpdate();
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

bool CControlUI::IsUpdateNeeded() const
{
    return m_bUpdateNeeded;
}

bool CControlUI::DrawImage(HDC hDC, LPCWSTR pStrImage, LPCWSTR pStrModify)
{
    return CPainterUI::DrawImageDesc(hDC, m_pManager, m_rcItem, m_rcPaint, pStrImage, pStrModify);
}

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

LPCWSTR CControlUI::GetBkImage() const
{
    return m_sBkImage.GetData();
}

void CControlUI::SetBkImage(LPCWSTR pStrImage)
{
    if (m_sBkImage.Compare(pStrImage != nullptr ? pStrImage : L"")) return;
    SetImage(m_sBkImage, pStrImage);
}

LPCWSTR CControlUI::GetForeImage() const
{
    return m_sForeImage.GetData();
}

void CControlUI::SetForeImage(LPCWSTR pStrImage)
{
    if (m_sForeImage.Compare(pStrImage != nullptr ? pStrImage : L"")) return;
    SetImage(m_sForeImage, pStrImage);
}
