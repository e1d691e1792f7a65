#include "ComboUI.h"

#include <cwchar>

#include "AttributeValueUI.h"
#include "ItemAlignUI.h"
#include "ComboWnd.h"
#include "ControlStateUI.h"
#include "FaceOfUI.h"
#include "ItemStyleAttributesUI.h"
#include "PainterUI.h"
#include "VerticalLayoutUI.h"

CComboUI::CComboUI()
    : m_pWindow(nullptr), m_iCurSel(-1), m_rcTextPadding(), m_uButtonState(0), m_szDropBox{ 0, 150 } { }

// An open drop-down goes first: it hands the rows back before they are deleted.
CComboUI::~CComboUI()
{
    if (m_pWindow != nullptr && ::IsWindow(m_pWindow->GetWindowHandle())) ::DestroyWindow(m_pWindow->GetWindowHandle());
    m_pWindow = nullptr;
}

LPCWSTR CComboUI::GetControlClass() const
{
    return L"ComboUI";
}

LPVOID CComboUI::GetInterface(LPCWSTR pstrName)
{
    if (pstrName != nullptr && wcscmp(pstrName, L"ListOwner") == 0) return static_cast<IListOwnerUI*>(this);
    return CContainerUI::GetInterface(pstrName);
}

UINT CComboUI::GetControlFlags() const
{
    return UIFLAG_TABSTOP;
}

bool CComboUI::Activate()
{
    if (!CControlUI::Activate()) return false;
    if (m_pWindow != nullptr) return true;
    if (m_pManager == nullptr || m_pManager->GetPaintWindow() == nullptr) return false;
    CComboWnd* pWindow = new CComboWnd;
    m_pWindow = pWindow;
    if (!pWindow->Init(this)) {
        // A window that never got created sent no final message to free it.
        if (m_pWindow == pWindow) delete pWindow;
        m_pWindow = nullptr;
        return false;
    }
    m_pManager->SendNotify(this, NotifyDropDown);
    Invalidate();
    return true;
}

CStringUI CComboUI::GetText() const
{
    CControlUI* pItem = GetItemAt(m_iCurSel);
    return pItem != nullptr ? pItem->GetText() : CStringUI();
}

// Rows that are at home here are never shown here: they get no place. Rows lent to
// the open drop-down keep the place it gave them.
void CComboUI::SetPos(RECT rc)
{
    const RECT rcEmpty = { 0, 0, 0, 0 };
    for (int i = 0; i < m_items.GetSize(); i++) {
        CControlUI* pItem = GetItemAt(i);
        if (pItem->GetParent() == this) pItem->SetPos(rcEmpty);
    }
    CControlUI::SetPos(rc);
}

void CComboUI::SetEnabled(bool bEnable)
{
    CContainerUI::SetEnabled(bEnable);
    if (!IsEnabled()) m_uButtonState = 0;
}

void CComboUI::SelectByKey(int iIndex)
{
    if (iIndex >= 0) SelectItem(iIndex); // nothing selectable that way: the selection stays
}

bool CComboUI::HandleKey(const TEventRecUI& event)
{
    switch (event.keyChar) {
    case VK_PRIOR:
    case VK_UP: SelectByKey(FindSelectable(m_iCurSel - 1, false)); return true;
    case VK_NEXT:
    case VK_DOWN: SelectByKey(FindSelectable(m_iCurSel + 1, true)); return true;
    case VK_END: SelectByKey(FindSelectable(GetCount() - 1, false)); return true;
    case VK_HOME: SelectByKey(FindSelectable(0, false)); return true;
    case VK_F4: Activate(); return true;
    default: return false;
    }
}

void CComboUI::DoEvent(TEventRecUI& event)
{
    if (!IsMouseEnabled() && event.type >= EventMouseMove && event.type <= EventScrollWheel) {
        if (m_pParent != nullptr)
            m_pParent->DoEvent(event);
        else
            CContainerUI::DoEvent(event);
        return;
    }
    switch (event.type) {
    case EventSetFocus:
    case EventKillFocus:
        Invalidate();
        // A row taking or losing the focus in the drop-down says nothing of the combo's own.
        if (event.sender != this && event.sender != nullptr) return;
        break;
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
            SelectByKey(FindSelectable(m_iCurSel + 1, true));
        else
            SelectByKey(FindSelectable(m_iCurSel - 1, false));
        return;
    case EventMouseEnter:
        if (::PtInRect(&m_rcItem, event.mousePoint)) {
            m_uButtonState |= UISTATE_HOT;
            Invalidate();
        }
        return;
    case EventMouseLeave:
        if (!::PtInRect(&m_rcItem, event.mousePoint)) {
            m_uButtonState &= ~UISTATE_HOT;
            Invalidate();
        }
        return;
    default: break;
    }
    CControlUI::DoEvent(event);
}

// ---------------------------------------------------------------------------
// Attributes

void CComboUI::SetItemAlign(LPCWSTR pstrValue)
{
    m_ListInfo.uTextStyle = CItemAlignUI::Apply(m_ListInfo.uTextStyle, pstrValue);
}

bool CComboUI::SetImageAttribute(LPCWSTR pstrName, LPCWSTR pstrValue)
{
    const TImageSlotUI aSlots[] = {
        { L"normalimage", &m_sNormalImage },     { L"hotimage", &m_sHotImage },
        { L"pushedimage", &m_sPushedImage },     { L"focusedimage", &m_sFocusedImage },
        { L"disabledimage", &m_sDisabledImage },
    };
    return SetImageByName(aSlots, ARRAYSIZE(aSlots), pstrName, pstrValue);
}

bool CComboUI::SetItemAttribute(LPCWSTR pstrName, LPCWSTR pstrValue)
{
    if (CItemStyleAttributesUI::SetColor(m_ListInfo, pstrName, pstrValue)) return true;
    CStringUI* pImage = CItemStyleAttributesUI::FindImage(m_ListInfo, pstrName);
    if (pImage != nullptr) {
        *pImage = pstrValue;
        return true;
    }
    if (wcscmp(pstrName, L"itemfont") == 0)
        m_ListInfo.nFont = CAttributeValueUI::ParseInt(pstrValue);
    else if (wcscmp(pstrName, L"itemalign") == 0)
        SetItemAlign(pstrValue);
    else if (wcscmp(pstrName, L"itemtextpadding") == 0)
        m_ListInfo.rcTextPadding = CAttributeValueUI::ParseRect(pstrValue);
    else if (wcscmp(pstrName, L"itemshowhtml") == 0) {
        const bool bShowHtml = CAttributeValueUI::ParseBool(pstrValue);
        if (m_ListInfo.bShowHtml == bShowHtml) return true;
        m_ListInfo.bShowHtml = bShowHtml;
        Invalidate();
    } else {
        return false;
    }
    return true;
}

void CComboUI::SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue)
{
    if (wcscmp(pstrName, L"textpadding") == 0)
        SetTextPadding(CAttributeValueUI::ParseRect(pstrValue));
    else if (SetImageAttribute(pstrName, pstrValue))
        return;
    else if (!SetItemAttribute(pstrName, pstrValue))
        CContainerUI::SetAttribute(pstrName, pstrValue);
}

SIZE CComboUI::EstimateSize(SIZE szAvailable)
{
    if (m_cxyFixed.cy != 0 || m_pManager == nullptr) return CControlUI::EstimateSize(szAvailable);
    return SIZE{ m_cxyFixed.cx, m_pManager->GetDefaultFontInfo().tmHeight + 12 };
}

// ---------------------------------------------------------------------------
// Painting

void CComboUI::DoPaint(HDC hDC, const RECT& rcPaint)
{
    CControlUI::DoPaint(hDC, rcPaint);
}

void CComboUI::PaintStatusImage(HDC hDC)
{
    SyncFocusAndDisabled(m_uButtonState, IsFocused(), IsEnabled());

    CStringUI* pState = nullptr;
    if ((m_uButtonState & UISTATE_DISABLED) != 0 && !m_sDisabledImage.IsEmpty())
        pState = &m_sDisabledImage;
    else if ((m_uButtonState & UISTATE_PUSHED) != 0 && !m_sPushedImage.IsEmpty())
        pState = &m_sPushedImage;
    else if ((m_uButtonState & UISTATE_HOT) != 0 && !m_sHotImage.IsEmpty())
        pState = &m_sHotImage;
    else if ((m_uButtonState & UISTATE_FOCUSED) != 0 && !m_sFocusedImage.IsEmpty())
        pState = &m_sFocusedImage;
    if (pState != nullptr && DrawImageOrForget(hDC, *pState)) return;
    if (DrawImageOrForget(hDC, m_sNormalImage)) return;

    if ((m_uButtonState & UISTATE_HOT) != 0)
        CPainterUI::DrawRect(hDC, m_rcItem, 2, 0xFF85E4FF);
    else
        CPainterUI::DrawRect(hDC, m_rcItem, 1, 0xFF4EA0D1);
}

void CComboUI::PaintText(HDC hDC)
{
    RECT rc = m_rcItem;
    rc.left += m_rcTextPadding.left;
    rc.top += m_rcTextPadding.top;
    rc.right -= m_rcTextPadding.right;
    rc.bottom -= m_rcTextPadding.bottom;
    CControlUI* pControl = GetItemAt(m_iCurSel);
    if (pControl == nullptr) return;
    IListItemUI* pItem = FaceOfUI<IListItemUI>(pControl, L"ListItem");
    if (pItem != nullptr) {
        pItem->DrawItemText(hDC, rc);
        return;
    }
    const RECT rcOld = pControl->GetPos();
    pControl->SetPos(rc);
    pControl->DoPaint(hDC, rc);
    pControl->SetPos(rcOld);
}

// ---------------------------------------------------------------------------
// Rows

IListItemUI* CComboUI::ItemFace(int iIndex) const
{
    CControlUI* pControl = GetItemAt(iIndex);
    return FaceOfUI<IListItemUI>(pControl, L"ListItem");
}

void CComboUI::Renumber(int iFrom)
{
    for (int i = iFrom < 0 ? 0 : iFrom; i < GetCount(); i++) {
        IListItemUI* pItem = ItemFace(i);
        if (pItem != nullptr) pItem->SetIndex(i);
    }
}

bool CComboUI::Add(CControlUI* pControl)
{
    return AddAt(pControl, GetCount());
}

bool CComboUI::AddAt(CControlUI* pControl, int iIndex)
{
    if (!CContainerUI::AddAt(pControl, iIndex)) return false;
    IListItemUI* pItem = FaceOfUI<IListItemUI>(pControl, L"ListItem");
    if (pItem != nullptr) pItem->SetOwner(this);
    Renumber(iIndex);
    if (m_iCurSel >= iIndex) m_iCurSel++;
    return true;
}

bool CComboUI::Remove(CControlUI* pControl)
{
    if (pControl == nullptr) return false;
    const int iIndex = GetItemIndex(pControl);
    if (iIndex < 0) return false;
    return RemoveAt(iIndex);
}

// The removed row's selection passes to the row found from its place; a selection
// elsewhere stays on its row. A row lent to the open drop-down leaves it first.
bool CComboUI::RemoveAt(int iIndex)
{
    CControlUI* pControl = GetItemAt(iIndex);
    if (pControl == nullptr) return false;
    if (m_pWindow != nullptr && m_pWindow->GetLayout() != nullptr) m_pWindow->GetLayout()->Remove(pControl);
    if (!CContainerUI::Remove(pControl)) return false;
    int iReselect = m_iCurSel;
    if (m_iCurSel == iIndex)
        m_iCurSel = -1;
    else if (m_iCurSel > iIndex)
        iReselect = --m_iCurSel;
    Renumber(iIndex);
    if (iReselect >= 0) SelectItem(FindSelectable(iReselect, false));
    return true;
}

bool CComboUI::SetItemIndex(CControlUI* pControl, int iIndex)
{
    CControlUI* pSelected = GetItemAt(m_iCurSel);
    if (!CContainerUI::SetItemIndex(pControl, iIndex)) return false;
    Renumber(0);
    m_iCurSel = pSelected != nullptr ? GetItemIndex(pSelected) : -1;
    if (m_iCurSel >= 0) SelectItem(FindSelectable(m_iCurSel, false));
    return true;
}

void CComboUI::RemoveAll()
{
    m_iCurSel = -1;
    if (m_pWindow != nullptr && m_pWindow->GetLayout() != nullptr) m_pWindow->GetLayout()->RemoveAll();
    CContainerUI::RemoveAll();
}

TListInfoUI* CComboUI::GetListInfo()
{
    return &m_ListInfo;
}

int CComboUI::GetCurSel() const
{
    return m_iCurSel;
}

// A negative index only clears the selection. The row takes the focus while the
// drop-down shows it; a closed combo keeps the focus itself.
bool CComboUI::SelectItem(int iIndex)
{
    if (iIndex == m_iCurSel) return true;
    const int iOld = m_iCurSel;
    if (m_iCurSel >= 0) {
        IListItemUI* pOld = ItemFace(m_iCurSel);
        if (pOld == nullptr) return false;
        pOld->Select(false);
        m_iCurSel = -1;
    }
    if (m_items.IsEmpty() || iIndex < 0) {
        Invalidate();
        return false;
    }
    if (iIndex >= GetCount()) iIndex = GetCount() - 1;
    CControlUI* pControl = GetItemAt(iIndex);
    IListItemUI* pItem = ItemFace(iIndex);
    if (!pControl->IsEnabled() || pItem == nullptr) return false;
    m_iCurSel = iIndex;
    if (m_pWindow != nullptr) pControl->SetFocus();
    pItem->Select(true);
    if (m_pManager != nullptr)
        m_pManager->SendNotify(this, NotifyItemSelect, static_cast<WPARAM>(m_iCurSel), static_cast<LPARAM>(iOld));
    Invalidate();
    return true;
}

// ---------------------------------------------------------------------------
// Accessors

CStringUI CComboUI::GetDropBoxAttributeList() const
{
    return m_sDropBoxAttributes;
}

void CComboUI::SetDropBoxAttributeList(LPCWSTR pstrList)
{
    m_sDropBoxAttributes = pstrList;
}

SIZE CComboUI::GetDropBoxSize() const
{
    return m_szDropBox;
}

void CComboUI::SetDropBoxSize(SIZE szDropBox)
{
    m_szDropBox = szDropBox;
}

RECT CComboUI::GetTextPadding() const
{
    return m_rcTextPadding;
}

void CComboUI::SetTextPadding(RECT rc)
{
    m_rcTextPadding = rc;
    Invalidate();
}

UINT CComboUI::GetButtonState() const
{
    return m_uButtonState;
}

CComboWnd* CComboUI::GetDropWindow() const
{
    return m_pWindow;
}

void CComboUI::OnDropWindowGone()
{
    m_pWindow = nullptr;
    m_uButtonState &= ~UISTATE_PUSHED;
    Invalidate();
}
