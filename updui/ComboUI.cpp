#include "ComboUI.h"

#include <cstdlib>
#include <cwchar>

#include "AttributeValueUI.h"
#include "ComboWnd.h"
#include "ControlStateUI.h"
#include "MarkupNumberUI.h"

namespace UpdUI {

namespace {

const int kFaceMargin = 12;

IListItemUI* ItemFace(CControlUI* pControl)
{
    return pControl != nullptr ? static_cast<IListItemUI*>(pControl->GetInterface(L"ListItem")) : nullptr;
}

} // namespace

CComboUI::CComboUI() : m_pDropWnd(nullptr), m_iCurSel(-1), m_rcTextPadding(), m_szDropBox{ 0, 150 }, m_uButtonState(0)
{ }

// An open drop-down still shows the rows: they come back before they are deleted.
CComboUI::~CComboUI()
{
    if (m_pDropWnd != nullptr) m_pDropWnd->DetachOwner();
}

LPCWSTR CComboUI::GetControlClass() const
{
    return L"ComboUI";
}

LPVOID CComboUI::GetInterface(LPCWSTR pstrName)
{
    if (pstrName == nullptr) return nullptr;
    if (wcscmp(pstrName, L"Combo") == 0) return this;
    if (wcscmp(pstrName, L"IListOwner") == 0) return static_cast<IListOwnerUI*>(this);
    return CContainerUI::GetInterface(pstrName);
}

UINT CComboUI::GetControlFlags() const
{
    return UIFLAG_TABSTOP;
}

bool CComboUI::Activate()
{
    if (!CControlUI::Activate()) return false;
    if (m_pDropWnd != nullptr || m_pManager == nullptr) return true;
    m_pDropWnd = new CComboWnd;
    if (!m_pDropWnd->Init(this)) {
        delete m_pDropWnd;
        m_pDropWnd = nullptr;
        return true;
    }
    m_pManager->SendNotify(this, L"dropdown");
    Invalidate();
    return true;
}

CStringUI CComboUI::GetText() const
{
    CControlUI* pRow = m_iCurSel >= 0 ? GetItemAt(m_iCurSel) : nullptr;
    return pRow != nullptr ? pRow->GetText() : CStringUI();
}

void CComboUI::SetPos(RECT rc)
{
    const RECT rcNull = { 0, 0, 0, 0 };
    for (int i = 0; i < m_items.GetCount(); ++i) static_cast<CControlUI*>(m_items[i])->SetPos(rcNull);
    CControlUI::SetPos(rc);
}

void CComboUI::SetEnabled(bool bEnable)
{
    CContainerUI::SetEnabled(bEnable);
    if (!IsEnabled()) m_uButtonState = 0;
}

// ---------------------------------------------------------------- child list

void CComboUI::Renumber(int iFrom)
{
    for (int i = iFrom < 0 ? 0 : iFrom; i < GetCount(); ++i) {
        IListItemUI* pItem = ItemFace(GetItemAt(i));
        if (pItem != nullptr) pItem->SetIndex(i);
    }
}

bool CComboUI::SetItemIndex(CControlUI* pControl, int iIndex)
{
    int iOld = GetItemIndex(pControl);
    if (iOld < 0) return false;
    if (iOld == iIndex) return true;
    CControlUI* pSelected = m_iCurSel >= 0 ? GetItemAt(m_iCurSel) : nullptr;
    if (!CContainerUI::SetItemIndex(pControl, iIndex)) return false;
    Renumber(iOld < iIndex ? iOld : iIndex);
    if (pSelected != nullptr) m_iCurSel = GetItemIndex(pSelected);
    return true;
}

bool CComboUI::Add(CControlUI* pControl)
{
    IListItemUI* pItem = ItemFace(pControl);
    if (pItem != nullptr) {
        pItem->SetOwner(this);
        pItem->SetIndex(GetCount());
    }
    return CContainerUI::AddAt(pControl, GetCount());
}

bool CComboUI::AddAt(CControlUI* pControl, int iIndex)
{
    if (!CContainerUI::AddAt(pControl, iIndex)) return false;
    IListItemUI* pItem = ItemFace(pControl);
    if (pItem != nullptr) pItem->SetOwner(this);
    Renumber(GetItemIndex(pControl));
    if (m_iCurSel >= iIndex) m_iCurSel += 1;
    return true;
}

bool CComboUI::RemoveRow(int iIndex)
{
    if (!CContainerUI::Remove(GetItemAt(iIndex))) return false;
    Renumber(iIndex);
    if (iIndex == m_iCurSel) {
        m_iCurSel = -1;
        SelectItem(FindSelectable(iIndex, false), false);
    } else if (iIndex < m_iCurSel) {
        m_iCurSel -= 1;
    }
    return true;
}

bool CComboUI::Remove(CControlUI* pControl)
{
    int iIndex = GetItemIndex(pControl);
    return iIndex >= 0 && RemoveRow(iIndex);
}

bool CComboUI::RemoveAt(int iIndex)
{
    return GetItemAt(iIndex) != nullptr && RemoveRow(iIndex);
}

void CComboUI::RemoveAll()
{
    m_iCurSel = -1;
    CContainerUI::RemoveAll();
}

// ---------------------------------------------------------------- selection

TListInfoUI* CComboUI::GetListInfo()
{
    return &m_ListInfo;
}

int CComboUI::GetCurSel() const
{
    return m_iCurSel;
}

bool CComboUI::SelectItem(int iIndex, bool bTakeFocus)
{
    if (m_pDropWnd != nullptr) m_pDropWnd->Close(1);
    if (iIndex == m_iCurSel) return true;
    int iOldSel = m_iCurSel;
    if (m_iCurSel >= 0) {
        IListItemUI* pOld = ItemFace(GetItemAt(m_iCurSel));
        if (pOld == nullptr) return false;
        pOld->Select(false);
        m_iCurSel = -1;
    }
    if (iIndex < 0 || GetCount() == 0) return false;
    if (iIndex >= GetCount()) iIndex = GetCount() - 1;
    CControlUI* pControl = GetItemAt(iIndex);
    IListItemUI* pItem = ItemFace(pControl);
    if (pItem == nullptr || !pControl->IsVisible() || !pControl->IsEnabled()) return false;
    m_iCurSel = iIndex;
    if (m_pDropWnd != nullptr || bTakeFocus) pControl->SetFocus();
    pItem->Select(true);
    if (m_pManager != nullptr) {
        m_pManager->SendNotify(this, L"itemselect", static_cast<WPARAM>(m_iCurSel), static_cast<LPARAM>(iOldSel));
        Invalidate();
    }
    return true;
}

// ---------------------------------------------------------------- events

bool CComboUI::HandleKey(const TEventRecUI& event)
{
    switch (event.keyChar) {
    case VK_UP:
    case VK_PRIOR: SelectItem(FindSelectable(m_iCurSel - 1, false), false); return true;
    case VK_DOWN:
    case VK_NEXT: SelectItem(FindSelectable(m_iCurSel + 1, true), false); return true;
    case VK_HOME: SelectItem(FindSelectable(0, false), false); return true;
    case VK_END: SelectItem(FindSelectable(GetCount() - 1, true), false); return true;
    case VK_F4: Activate(); return true;
    default: return false;
    }
}

void CComboUI::DoEvent(TEventRecUI& event)
{
    if (IsMouseEvent(event.type) && !IsMouseEnabled()) {
        if (m_pParent != nullptr)
            m_pParent->DoEvent(event);
        else
            CContainerUI::DoEvent(event);
        return;
    }
    switch (event.type) {
    case EventSetFocus:
    case EventKillFocus: Invalidate(); break;
    case EventButtonDown:
        if (IsEnabled()) {
            Activate();
            m_uButtonState |= UISTATE_PUSHED | UISTATE_CAPTURED;
        }
        return;
    case EventButtonUp:
        if ((m_uButtonState & UISTATE_CAPTURED) != 0) {
            m_uButtonState &= ~UISTATE_CAPTURED;
            Invalidate();
        }
        return;
    case EventMouseMove: return;
    case EventKeyDown:
        if (HandleKey(event)) return;
        break;
    case EventScrollWheel:
        if (event.wParam == 1)
            SelectItem(FindSelectable(m_iCurSel + 1, true), false);
        else
            SelectItem(FindSelectable(m_iCurSel - 1, false), false);
        return;
    case EventContextMenu: return;
    case EventMouseEnter:
        if (::PtInRect(&m_rcItem, event.mousePoint)) {
            if ((m_uButtonState & UISTATE_HOT) == 0) m_uButtonState |= UISTATE_HOT;
            Invalidate();
        }
        return;
    case EventMouseLeave:
        if ((m_uButtonState & UISTATE_HOT) != 0) {
            m_uButtonState &= ~UISTATE_HOT;
            Invalidate();
        }
        return;
    default: break;
    }
    CControlUI::DoEvent(event);
}

void CComboUI::SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue)
{
    if (pstrName == nullptr || pstrValue == nullptr) return;
    bool bLayout = false;
    if (m_ListInfo.SetItemAttribute(pstrName, pstrValue, &bLayout)) {
        Invalidate();
        return;
    }
    const TImageSlotUI aSlots[] = {
        { L"normalimage", &m_sNormalImage },     { L"hotimage", &m_sHotImage },
        { L"pushedimage", &m_sPushedImage },     { L"focusedimage", &m_sFocusedImage },
        { L"disabledimage", &m_sDisabledImage },
    };
    if (wcscmp(pstrName, L"textpadding") == 0) {
        m_rcTextPadding = CAttributeValueUI::ParseRect(pstrValue);
        Invalidate();
    } else if (wcscmp(pstrName, L"dropbox") == 0) {
        m_sDropBoxAttributes = pstrValue;
    } else if (wcscmp(pstrName, L"dropboxsize") == 0) {
        LPWSTR pstr = nullptr;
        m_szDropBox.cx = MarkupNumber::Coord(pstrValue, &pstr);
        m_szDropBox.cy = *pstr != L'\0' ? MarkupNumber::Coord(pstr + 1, &pstr) : 0;
    } else {
        SetImageByName(aSlots, ARRAYSIZE(aSlots), pstrName, pstrValue);
    }
    CContainerUI::SetAttribute(pstrName, pstrValue);
}

SIZE CComboUI::EstimateSize(SIZE szAvailable)
{
    if (m_cxyFixed.cy != 0 || m_pManager == nullptr) return CControlUI::EstimateSize(szAvailable);
    TFontInfoUI* pFont = m_pManager->GetDefaultFontInfo();
    return SIZE{ m_cxyFixed.cx, (pFont != nullptr ? pFont->tm.tmHeight : 0) + kFaceMargin };
}

// The rows belong to the drop-down's paint; the face paints only itself.
void CComboUI::DoPaint(HDC hDC, const RECT& rcPaint)
{
    CControlUI::DoPaint(hDC, rcPaint);
}

void CComboUI::UpdatePaintState()
{
    SyncFocusAndDisabled(m_uButtonState, IsFocused(), IsEnabled());
}

void CComboUI::PaintStatusImage(HDC hDC)
{
    UpdatePaintState();
    CStringUI* pState = nullptr;
    if ((m_uButtonState & UISTATE_DISABLED) != 0)
        pState = &m_sDisabledImage;
    else if ((m_uButtonState & UISTATE_PUSHED) != 0)
        pState = &m_sPushedImage;
    else if ((m_uButtonState & UISTATE_HOT) != 0)
        pState = &m_sHotImage;
    else if ((m_uButtonState & UISTATE_FOCUSED) != 0)
        pState = &m_sFocusedImage;
    if (pState != nullptr && DrawImageOrForget(hDC, *pState)) return;
    DrawImageOrForget(hDC, m_sNormalImage);
}

void CComboUI::PaintSelectedRow(HDC hDC, const RECT& rcText)
{
    CControlUI* pRow = GetItemAt(m_iCurSel);
    if (pRow == nullptr) return;
    IListItemUI* pItem = ItemFace(pRow);
    if (pItem != nullptr) {
        pItem->DrawItemText(hDC, rcText);
        return;
    }
    RECT rcOld = pRow->GetPos();
    pRow->SetPos(rcText);
    pRow->DoPaint(hDC, rcText);
    pRow->SetPos(rcOld);
}

void CComboUI::PaintText(HDC hDC)
{
    if (m_iCurSel < 0) return;
    RECT rc = { m_rcItem.left + m_rcTextPadding.left, m_rcItem.top + m_rcTextPadding.top,
                m_rcItem.right - m_rcTextPadding.right, m_rcItem.bottom - m_rcTextPadding.bottom };
    PaintSelectedRow(hDC, rc);
}

CComboWnd* CComboUI::GetDropWindow() const
{
    return m_pDropWnd;
}

const CStringUI& CComboUI::GetDropBoxAttributeList() const
{
    return m_sDropBoxAttributes;
}

SIZE CComboUI::GetDropBoxSize() const
{
    return m_szDropBox;
}

RECT CComboUI::GetTextPadding() const
{
    return m_rcTextPadding;
}

UINT CComboUI::GetState() const
{
    return m_uButtonState;
}

void CComboUI::OnDropWindowGone()
{
    m_pDropWnd = nullptr;
    m_uButtonState &= ~UISTATE_PUSHED;
    Invalidate();
}

} // namespace UpdUI
