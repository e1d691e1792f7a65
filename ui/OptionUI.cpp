#include "OptionUI.h"

#include <cwchar>

#include "AttributeValueUI.h"
#include "ContainerUI.h"
#include "ControlStateUI.h"
#include "PainterUI.h"

COptionUI::COptionUI() : m_bSelected(false), m_bGroup(false), m_dwSelectedTextColor(0), m_dwSelectedBkColor(0) { }

COptionUI::~COptionUI() = default;

LPCWSTR COptionUI::GetControlClass() const
{
    return L"OptionUI";
}

LPVOID COptionUI::GetInterface(LPCWSTR pstrName)
{
    if (pstrName != nullptr && wcscmp(pstrName, L"Option") == 0) return this;
    return CButtonUI::GetInterface(pstrName);
}

bool COptionUI::IsSelected() const
{
    return m_bSelected;
}
bool COptionUI::IsGroup() const
{
    return m_bGroup;
}
void COptionUI::SetGroup(bool bGroup)
{
    m_bGroup = bGroup;
}
LPCWSTR COptionUI::GetSelectedImage() const
{
    return m_sSelectedImage.GetData();
}
void COptionUI::SetSelectedImage(LPCWSTR pStrImage)
{
    SetImage(m_sSelectedImage, pStrImage);
}
LPCWSTR COptionUI::GetForeImage() const
{
    return m_sForeStateImage.GetData();
}
void COptionUI::SetForeImage(LPCWSTR pStrImage)
{
    SetImage(m_sForeStateImage, pStrImage);
}
DWORD COptionUI::GetSelectedTextColor() const
{
    return m_dwSelectedTextColor;
}
void COptionUI::SetSelectedTextColor(DWORD dwColor)
{
    m_dwSelectedTextColor = dwColor;
}
DWORD COptionUI::GetSelectedBkColor() const
{
    return m_dwSelectedBkColor;
}
void COptionUI::SetSelectedBkColor(DWORD dwColor)
{
    m_dwSelectedBkColor = dwColor;
}

void COptionUI::Select(bool bSelected)
{
    if (m_bSelected == bSelected) return;
    m_bSelected = bSelected;
    SetStateBits(m_uButtonState, UISTATE_SELECTED, m_bSelected);

    if (m_bGroup) {
        // Only the option that becomes selected speaks for the group.
        if (!m_bSelected) {
            Invalidate();
            return;
        }
        DeselectGroupSiblings();
    }
    NotifySelectChanged();
    Invalidate();
}

// An option without a parent has no siblings to deselect.
void COptionUI::DeselectGroupSiblings()
{
    if (m_pParent == nullptr) return;
    IContainerUI* pContainer = static_cast<IContainerUI*>(m_pParent->GetInterface(L"IContainer"));
    if (pContainer == nullptr) return;
    for (int i = 0; i < pContainer->GetCount(); i++) {
        CControlUI* pControl = pContainer->GetItemAt(i);
        if (pControl == this) continue;
        COptionUI* pOption = static_cast<COptionUI*>(pControl->GetInterface(L"Option"));
        if (pOption == nullptr || !pOption->IsGroup()) continue;
        if (!pOption->IsVisible() || !pOption->IsEnabled()) continue;
        pOption->Select(false);
    }
}

void COptionUI::NotifySelectChanged()
{
    if (m_pManager != nullptr) m_pManager->SendNotify(this, ::NotifySelectChanged);
}

bool COptionUI::Activate()
{
    if (!CControlUI::Activate()) return false;
    Select(m_bGroup ? true : !m_bSelected);
    return true;
}

void COptionUI::SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue)
{
    if (wcscmp(pstrName, L"group") == 0)
        SetGroup(CAttributeValueUI::ParseBool(pstrValue));
    else if (wcscmp(pstrName, L"selected") == 0)
        Select(CAttributeValueUI::ParseBool(pstrValue));
    else if (wcscmp(pstrName, L"selectedimage") == 0)
        SetSelectedImage(pstrValue);
    else if (wcscmp(pstrName, L"foreimage") == 0)
        SetForeImage(pstrValue);
    else if (wcscmp(pstrName, L"selectedtextcolor") == 0)
        SetSelectedTextColor(CAttributeValueUI::ParseColor(pstrValue));
    else if (wcscmp(pstrName, L"selectedbkcolor") == 0)
        SetSelectedBkColor(CAttributeValueUI::ParseColor(pstrValue));
    else
        CButtonUI::SetAttribute(pstrName, pstrValue);
}

void COptionUI::PaintBkColor(HDC hDC)
{
    if (m_bSelected && m_dwSelectedBkColor != 0)
        CPainterUI::DrawColor(hDC, m_rcItem, m_dwSelectedBkColor);
    else
        CControlUI::PaintBkColor(hDC);
}

void COptionUI::PaintStatusImage(HDC hDC)
{
    bool bDrawn = false;
    if (m_bSelected) {
        m_uButtonState &= ~UISTATE_HOT;
        bDrawn = DrawImageOrForget(hDC, m_sSelectedImage);
    }
    if (!bDrawn) CButtonUI::PaintStatusImage(hDC);
    DrawImageOrForget(hDC, m_sForeStateImage);
}

void COptionUI::PaintText(HDC hDC)
{
    if (!m_bSelected) {
        CButtonUI::PaintText(hDC);
        return;
    }
    SyncPaintState();
    FillDefaultColors();
    if (m_sText.IsEmpty()) return;
    const DWORD dwTextColor = m_dwSelectedTextColor != 0 ? m_dwSelectedTextColor : m_dwTextColor;
    DrawLabelText(hDC, GetTextRect(), IsEnabled() ? dwTextColor : m_dwDisabledTextColor, m_uTextStyle);
}
