#include "MenuUI.h"

#include <cwchar>
#include <new>

#include "AttributeValueUI.h"
#include "FaceOfUI.h"
#include "ItemAlignUI.h"
#include "MenuWnd.h"
#include "PainterUI.h"

namespace {

const int kItemHeightExtra = 13;
const int kMenuControlHeightExtra = 12;
const int kWidthExtra = 30;
const DWORD kPopupExStyle = WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_WINDOWEDGE;

IMenuListItemUI* ItemFace(CControlUI* pControl)
{
    return FaceOfUI<IMenuListItemUI>(pControl, L"ListItem");
}

} // namespace

CMenuUI::CMenuUI() : m_pWindow(nullptr), m_nMenuWidth(0), m_szMenuCorner{ 0, 0 }, m_iCurSel(-1), m_hTopMenuWnd(nullptr)
{ }

// A menu deleted while its popup is open takes the popup (and its sub-menus) along,
// so no popup is left with a dangling menu.
CMenuUI::~CMenuUI()
{
    if (m_pWindow != nullptr && m_pWindow->GetWindowHandle() != nullptr) ::DestroyWindow(m_pWindow->GetWindowHandle());
}

LPCWSTR CMenuUI::GetControlClass() const
{
    return L"CMenuUI";
}

LPVOID CMenuUI::GetInterface(LPCWSTR pstrName)
{
    if (pstrName != nullptr && wcscmp(pstrName, L"ListOwner") == 0) return static_cast<IMenuListOwnerUI*>(this);
    return CContainerUI::GetInterface(pstrName);
}

UINT CMenuUI::GetControlFlags() const
{
    return UIFLAG_TABSTOP;
}

CStringUI CMenuUI::GetText() const
{
    CControlUI* pItem = GetItemAt(m_iCurSel);
    return pItem != nullptr ? pItem->GetText() : CStringUI();
}

// Only the control itself has a place in the host window; the items are placed by
// the popup.
void CMenuUI::SetPos(RECT rc)
{
    CControlUI::SetPos(rc);
}

void CMenuUI::SetEnabled(bool bEnable)
{
    CControlUI::SetEnabled(bEnable);
}

void CMenuUI::DoPaint(HDC hDC, const RECT& rcPaint)
{
    CControlUI::DoPaint(hDC, rcPaint);
}

SIZE CMenuUI::EstimateSize(SIZE szAvailable)
{
    if (m_cxyFixed.cy != 0 || m_pManager == nullptr) return CControlUI::EstimateSize(szAvailable);
    return SIZE{ m_cxyFixed.cx, m_pManager->GetDefaultFontInfo().tmHeight + kMenuControlHeightExtra };
}

CMenuWnd* CMenuUI::GetMenuWindow() const
{
    return m_pWindow;
}

void CMenuUI::SetMenuWindow(CMenuWnd* pWindow)
{
    m_pWindow = pWindow;
}

HWND CMenuUI::GetTopMenuWindow() const
{
    return m_hTopMenuWnd;
}

int CMenuUI::GetMenuWidth() const
{
    return m_nMenuWidth;
}

SIZE CMenuUI::GetMenuCorner() const
{
    return m_szMenuCorner;
}

HWND CMenuUI::GetHostWindow() const
{
    return m_pManager != nullptr ? m_pManager->GetPaintWindow() : nullptr;
}

TMenuInfoUI* CMenuUI::GetMenuInfo()
{
    return &m_menuInfo;
}

int CMenuUI::GetCurSel() const
{
    return m_iCurSel;
}

// ---------------------------------------------------------------------------
// Item list: every item knows its menu and its position.

void CMenuUI::RenumberItems(int iFrom)
{
    for (int i = iFrom < 0 ? 0 : iFrom; i < GetCount(); i++) {
        IMenuListItemUI* pItem = ItemFace(GetItemAt(i));
        if (pItem != nullptr) pItem->SetIndex(i);
    }
}

bool CMenuUI::Add(CControlUI* pControl)
{
    IMenuListItemUI* pItem = ItemFace(pControl);
    if (pItem != nullptr) {
        pItem->SetOwner(this);
        pItem->SetIndex(GetCount());
    }
    return CContainerUI::AddAt(pControl, GetCount());
}

bool CMenuUI::AddAt(CControlUI* pControl, int iIndex)
{
    if (!CContainerUI::AddAt(pControl, iIndex)) return false;
    IMenuListItemUI* pItem = ItemFace(pControl);
    if (pItem != nullptr) pItem->SetOwner(this);
    RenumberItems(GetItemIndex(pControl));
    return true;
}

bool CMenuUI::Remove(CControlUI* pControl)
{
    int iIndex = GetItemIndex(pControl);
    if (!CContainerUI::Remove(pControl)) return false;
    RenumberItems(iIndex);
    return true;
}

bool CMenuUI::RemoveAt(int iIndex)
{
    CControlUI* pControl = GetItemAt(iIndex);
    return pControl != nullptr && Remove(pControl);
}

void CMenuUI::RemoveAll()
{
    m_iCurSel = -1;
    CContainerUI::RemoveAll();
}

// Every item carries its position after a move.
bool CMenuUI::SetItemIndex(CControlUI* pControl, int iIndex)
{
    if (!CContainerUI::SetItemIndex(pControl, iIndex)) return false;
    RenumberItems(0);
    return true;
}

bool CMenuUI::SelectItem(int iIndex)
{
    if (iIndex == m_iCurSel) return true;
    if (m_iCurSel >= 0) {
        IMenuListItemUI* pOld = ItemFace(GetItemAt(m_iCurSel));
        if (pOld == nullptr) return false;
        pOld->Select(false);
        m_iCurSel = -1;
    }
    if (GetCount() == 0) return false;
    if (iIndex < 0) iIndex = 0;
    if (iIndex >= GetCount()) iIndex = GetCount() - 1;
    CControlUI* pControl = GetItemAt(iIndex);
    IMenuListItemUI* pItem = ItemFace(pControl);
    if (pControl == nullptr || !pControl->IsVisible() || !pControl->IsEnabled() || pItem == nullptr) return false;
    m_iCurSel = iIndex;
    pControl->SetFocus();
    pItem->Select(true);
    if (m_pManager != nullptr) m_pManager->SendNotify(this, NotifyItemSelect);
    Invalidate();
    return true;
}

// ---------------------------------------------------------------------------
// Events and attributes

void CMenuUI::DoEvent(TEventRecUI& event)
{
    if (!IsMouseEnabled() && IsMouseEvent(event.type)) {
        if (m_pParent != nullptr)
            m_pParent->DoEvent(event);
        else
            CContainerUI::DoEvent(event);
        return;
    }
    switch (event.type) {
    case EventSetFocus:
    case EventKillFocus: Invalidate(); return;
    case EventKeyDown:
        switch (event.keyChar) {
        case VK_PRIOR:
        case VK_NEXT:
        case VK_END:
        case VK_HOME:
        case VK_UP:
        case VK_DOWN:
        case VK_F4: return;
        default: break;
        }
        break;
    case EventMouseMove:
    case EventButtonDown:
    case EventButtonUp:
    case EventMouseLeave:
    case EventMouseEnter:
    case EventScrollWheel: return;
    default: break;
    }
    CControlUI::DoEvent(event);
}

void CMenuUI::SetItemAlign(LPCWSTR pstrValue)
{
    m_menuInfo.uTextStyle = CItemAlignUI::Apply(m_menuInfo.uTextStyle, pstrValue);
}

// Images drawn at a fixed spot of the item get that spot unless the skin names one.
void CMenuUI::SetImageWithDest(CStringUI& sImage, LPCWSTR pstrValue, LPCWSTR pstrDest)
{
    sImage = pstrValue;
    if (!sImage.IsEmpty() && sImage.Find(L"dest='") < 0) sImage += pstrDest;
}

void CMenuUI::SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue)
{
    TMenuInfoUI& info = m_menuInfo;
    if (wcscmp(pstrName, L"itemfont") == 0)
        info.nFont = CAttributeValueUI::ParseInt(pstrValue);
    else if (wcscmp(pstrName, L"itemalign") == 0)
        SetItemAlign(pstrValue);
    else if (wcscmp(pstrName, L"itemtextpadding") == 0) {
        info.rcTextPadding = CAttributeValueUI::ParseRect(pstrValue);
        Invalidate();
    } else if (wcscmp(pstrName, L"itemtextcolor") == 0) {
        info.dwTextColor = CAttributeValueUI::ParseColor(pstrValue);
        Invalidate();
    } else if (wcscmp(pstrName, L"itembkcolor") == 0)
        info.dwBkColor = CAttributeValueUI::ParseColor(pstrValue);
    else if (wcscmp(pstrName, L"itembkimage") == 0)
        info.sBkImage = pstrValue;
    else if (wcscmp(pstrName, L"itemcheckimage") == 0)
        SetImageWithDest(info.sCheckImage, pstrValue, L" dest='5,7,14,15'");
    else if (wcscmp(pstrName, L"itemnextimage") == 0)
        info.sNextImage = pstrValue;
    else if (wcscmp(pstrName, L"itemimage") == 0)
        info.sImage = pstrValue;
    else if (wcscmp(pstrName, L"itemselectedtextcolor") == 0)
        info.dwSelectedTextColor = CAttributeValueUI::ParseColor(pstrValue);
    else if (wcscmp(pstrName, L"itemselectedbkcolor") == 0)
        info.dwSelectedBkColor = CAttributeValueUI::ParseColor(pstrValue);
    else if (wcscmp(pstrName, L"itemselectedimage") == 0)
        info.sSelectedImage = pstrValue;
    else if (wcscmp(pstrName, L"itemhottextcolor") == 0)
        info.dwHotTextColor = CAttributeValueUI::ParseColor(pstrValue);
    else if (wcscmp(pstrName, L"itemhotbkcolor") == 0)
        info.dwHotBkColor = CAttributeValueUI::ParseColor(pstrValue);
    else if (wcscmp(pstrName, L"itemhotimage") == 0)
        info.sHotImage = pstrValue;
    else if (wcscmp(pstrName, L"itemdisabledtextcolor") == 0)
        info.dwDisabledTextColor = CAttributeValueUI::ParseColor(pstrValue);
    else if (wcscmp(pstrName, L"itemdisabledbkcolor") == 0)
        info.dwDisabledBkColor = CAttributeValueUI::ParseColor(pstrValue);
    else if (wcscmp(pstrName, L"itemdisabledimage") == 0)
        info.sDisabledImage = pstrValue;
    else if (wcscmp(pstrName, L"itemlinecolor") == 0)
        info.dwLineColor = CAttributeValueUI::ParseColor(pstrValue);
    else if (wcscmp(pstrName, L"itemshowhtml") == 0) {
        bool bShowHtml = CAttributeValueUI::ParseBool(pstrValue);
        if (bShowHtml != info.bShowHtml) Invalidate();
        info.bShowHtml = bShowHtml;
    } else if (wcscmp(pstrName, L"menucorner") == 0) {
        int v[2] = {};
        CAttributeValueUI::ParseInts(pstrValue, v, 2);
        m_szMenuCorner = SIZE{ v[0], v[1] };
    } else if (wcscmp(pstrName, L"menuwidth") == 0)
        m_nMenuWidth = CAttributeValueUI::ParseCoordinate(pstrValue);
    else
        CContainerUI::SetAttribute(pstrName, pstrValue);
}

// ---------------------------------------------------------------------------
// Popup

int CMenuUI::GetItemHeight()
{
    if (m_pManager == nullptr) return kItemHeightExtra;
    return m_pManager->GetDefaultFontInfo().tmHeight + kItemHeightExtra;
}

int CMenuUI::MeasureItemText(LPCWSTR pstrText, int nHeight)
{
    return MeasureText(m_pManager, m_menuInfo, pstrText, nHeight);
}

int CMenuUI::MeasureText(CWindowManagerUI* pManager, const TMenuInfoUI& info, LPCWSTR pstrText, int nHeight)
{
    if (pManager == nullptr || pstrText == nullptr || pstrText[0] == L'\0') return 0;
    RECT rc = { 0, 0, 9999, nHeight };
    UINT uStyle = (info.uTextStyle & ~(DT_CENTER | DT_RIGHT)) | DT_CALCRECT | DT_SINGLELINE;
    HDC hDC = pManager->GetPaintDC();
    if (info.bShowHtml) {
        int nLinks = 0;
        CPainterUI::DrawMarkupText(hDC, pManager, rc, pstrText, 0, nullptr, nullptr, nLinks, uStyle);
    } else {
        CPainterUI::DrawPlainText(hDC, pManager, rc, pstrText, 0, info.nFont, uStyle);
    }
    return rc.right - rc.left;
}

// Width from the widest item text; separators are the children that are plain
// containers, counted from iFirstSeparatorItem on.
CMenuPlacementUI::TMenuSizeUI CMenuUI::MeasurePopup(int iFirstSeparatorItem)
{
    CMenuPlacementUI::TMenuSizeUI size = { GetCount(), 0, GetItemHeight(), 0 };
    int nWidest = 0;
    for (int i = 0; i < GetCount(); i++) {
        CControlUI* pItem = GetItemAt(i);
        CStringUI sText = pItem->GetText();
        int nWidth = MeasureItemText(sText.GetData(), size.nItemHeight) + m_menuInfo.rcTextPadding.left +
            m_menuInfo.rcTextPadding.right;
        if (nWidth > nWidest) nWidest = nWidth;
        if (i >= iFirstSeparatorItem && wcscmp(pItem->GetControlClass(), L"ContainerUI") == 0) size.nSeparators++;
    }
    size.nWidth = m_nMenuWidth != 0 ? m_nMenuWidth : nWidest + kWidthExtra;
    return size;
}

void CMenuUI::EnsureNextImageDest(int nWidth)
{
    if (m_menuInfo.sNextImage.IsEmpty() || m_menuInfo.sNextImage.Find(L"dest='") >= 0) return;
    CStringUI sDest;
    sDest.SmallFormat(L" dest='%d,%d,%d,%d'", nWidth - 12, 7, nWidth - 7, 16);
    CStringUI sValue = m_menuInfo.sNextImage;
    sValue += sDest;
    SetAttribute(L"itemnextimage", sValue.GetData());
}

SIZE CMenuUI::MonitorSizeOf(HWND hWnd)
{
    MONITORINFO info = {};
    info.cbSize = sizeof(MONITORINFO);
    ::GetMonitorInfoW(::MonitorFromWindow(hWnd, MONITOR_DEFAULTTONEAREST), &info);
    return SIZE{ info.rcMonitor.right - info.rcMonitor.left, info.rcMonitor.bottom - info.rcMonitor.top };
}

void CMenuUI::OpenPopup(const RECT& rcWindow, HWND hWndTopMenu)
{
    m_pWindow = new (std::nothrow) CMenuWnd(this);
    if (m_pWindow == nullptr) return;
    CMenuWnd* pWindow = m_pWindow;
    HWND hWnd = pWindow->Create(nullptr, nullptr, WS_POPUP, kPopupExStyle, rcWindow.left, rcWindow.top,
                                rcWindow.right - rcWindow.left, rcWindow.bottom - rcWindow.top);
    if (hWnd == nullptr) {
        // A window that failed during creation has already freed its object.
        if (m_pWindow == pWindow && pWindow->GetWindowHandle() == nullptr) delete pWindow;
        m_pWindow = nullptr;
        return;
    }
    CMenuWnd::AddPopup(hWnd);
    m_hTopMenuWnd = hWndTopMenu != nullptr ? hWndTopMenu : hWnd;
    ::ShowWindow(hWnd, SW_SHOW);
    HWND hWndHost = GetHostWindow();
    if (hWndHost != nullptr) ::SendMessageW(hWndHost, WM_NCACTIVATE, TRUE, 0);
}

bool CMenuUI::Activate()
{
    if (!CControlUI::Activate()) return false;
    if (m_pWindow != nullptr) return true;
    POINT pt = {};
    ::GetCursorPos(&pt);
    CMenuWnd::ClearPopupList();
    CMenuPlacementUI::TMenuSizeUI size = MeasurePopup(0);
    EnsureNextImageDest(size.nWidth);
    OpenPopup(CMenuPlacementUI::TopPopup(pt, size, MonitorSizeOf(GetHostWindow())), nullptr);
    Invalidate();
    return true;
}

bool CMenuUI::ActivateBeside(const RECT& rcParent, const RECT& rcItem, HWND hWndTopMenu)
{
    if (!CControlUI::Activate() || m_pWindow != nullptr) return false;
    CMenuPlacementUI::TMenuSizeUI size = MeasurePopup(1);
    OpenPopup(CMenuPlacementUI::SubPopup(rcParent, rcItem, size, MonitorSizeOf(GetHostWindow())), hWndTopMenu);
    return m_pWindow != nullptr;
}

void CMenuUI::TakeBackItems()
{
    SetManager(m_pManager, m_pParent);
    SetPos(m_rcItem);
}
