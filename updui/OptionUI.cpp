#include "OptionUI.h"

#include <cwchar>

#include "AttributeValueUI.h"
#include "ControlStateUI.h"

namespace UpdUI {

COptionUI::COptionUI() : m_bSelected(false), m_dwSelectedTextColor(0) { }

COptionUI::~COptionUI()
{
    if (!m_sGroupName.IsEmpty() && m_pManager != nullptr) m_pManager->RemoveOptionGroup(m_sGroupName.GetData(), this);
}

LPCWSTR COptionUI::GetControlClass() const
{
    return L"OptionUI";
}

LPVOID COptionUI::GetInterface(LPCWSTR pstrName)
{
    if (pstrName != nullptr && wcscmp(pstrName, L"Option") == 0) return this;
    return CButtonUI::GetInterface(pstrName);
}

// A manager that the option leaves (the skin builder lends one while it applies the
// attributes) must not keep it in a group: it would be selected after it is gone.
void COptionUI::SetManager(CWindowManagerUI* pManager, CControlUI* pParent, bool bInit)
{
    if (m_pManager != nullptr && m_pManager != pManager && !m_sGroupName.IsEmpty())
        m_pManager->RemoveOptionGroup(m_sGroupName.GetData(), this);
    CButtonUI::SetManager(pManager, pParent, bInit);
    if (bInit && m_pManager != nullptr && !m_sGroupName.IsEmpty())
        m_pManager->AddOptionGroup(m_sGroupName.GetData(), this);
}

LPCWSTR COptionUI::GetGroup() const
{
    return m_sGroupName.GetData();
}

void COptionUI::SetGroup(LPCWSTR pStrGroupName)
{
    if (pStrGroupName == nullptr) pStrGroupName = L"";
    if (m_sGroupName == pStrGroupName) return;
    if (m_pManager != nullptr && !m_sGroupName.IsEmpty()) m_pManager->RemoveOptionGroup(m_sGroupName.GetData(), this);
    m_sGroupName = pStrGroupName;
    if (m_pManager != nullptr && !m_sGroupName.IsEmpty()) m_pManager->AddOptionGroup(m_sGroupName.GetData(), this);
    Invalidate();
}

bool COptionUI::IsSelected() const
{
    return m_bSelected;
}

void COptionUI::DeselectOthersInGroup()
{
    CPtrArrayUI* pGroup = m_pManager->GetOptionGroup(m_sGroupName.GetData());
    for (int i = 0; pGroup != nullptr && i < pGroup->GetCount(); ++i) {
        CControlUI* pControl = static_cast<CControlUI*>(pGroup->GetAt(i));
        if (pControl == this) continue;
        COptionUI* pOption = static_cast<COptionUI*>(pControl->GetInterface(L"Option"));
        if (pOption != nullptr) pOption->Select(false);
    }
}

// Within a group only the option that becomes selected reports the change.
void COptionUI::Select(bool bSelected)
{
    if (m_bSelected == bSelected) return;
    m_bSelected = bSelected;
    SetStateBits(m_uButtonState, UISTATE_SELECTED, m_bSelected);
    if (m_pManager != nullptr) {
        if (!m_sGroupName.IsEmpty()) {
            if (m_bSelected) {
                DeselectOthersInGroup();
                m_pManager->SendNotify(this, L"selectchanged");
            }
        } else {
            m_pManager->SendNotify(this, L"selectchanged");
        }
    }
    Invalidate();
}

bool COptionUI::Activate()
{
    if (!CButtonUI::Activate()) return false;
    if (!m_sGroupName.IsEmpty())
        Select(true);
    else
        Select(!m_bSelected);
    return true;
}

void COptionUI::SetEnabled(bool bEnable)
{
    CButtonUI::SetEnabled(bEnable);
    if (!IsEnabled() && m_bSelected) m_uButtonState |= UISTATE_SELECTED;
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
    return m_sForeImage.GetData();
}

void COptionUI::SetForeImage(LPCWSTR pStrImage)
{
    SetImage(m_sForeImage, pStrImage);
}

DWORD COptionUI::GetSelectedTextColor() const
{
    return m_dwSelectedTextColor;
}

void COptionUI::SetSelectedTextColor(DWORD dwColor)
{
    m_dwSelectedTextColor = dwColor;
    Invalidate();
}

void COptionUI::SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue)
{
    if (pstrName == nullptr || pstrValue == nullptr) return;
    if (wcscmp(pstrName, L"group") == 0)
        SetGroup(pstrValue);
    else if (wcscmp(pstrName, L"selected") == 0)
        Select(CAttributeValueUI::IsTrue(pstrValue));
    else if (wcscmp(pstrName, L"selectedimage") == 0)
        SetSelectedImage(pstrValue);
    else if (wcscmp(pstrName, L"foreimage") == 0)
        SetForeImage(pstrValue);
    else if (wcscmp(pstrName, L"selectedtextcolor") == 0)
        SetSelectedTextColor(CAttributeValueUI::ParseColor(pstrValue));
    else
        CButtonUI::SetAttribute(pstrName, pstrValue);
}

void COptionUI::PaintStatusImage(HDC hDC)
{
    m_uButtonState &= ~UISTATE_PUSHED;
    bool bDrawn = false;
    if (m_bSelected && !m_sSelectedImage.IsEmpty()) bDrawn = DrawImageOrForget(hDC, m_sSelectedImage);
    if (!bDrawn) CButtonUI::PaintStatusImage(hDC);
    DrawImageOrForget(hDC, m_sForeImage);
}

void COptionUI::PaintText(HDC hDC)
{
    if (!m_bSelected) {
        CButtonUI::PaintText(hDC);
        return;
    }
    FillDefaultColors();
    if (m_sText.IsEmpty()) return;
    DWORD dwEnabledColor = m_dwSelectedTextColor != 0 ? m_dwSelectedTextColor : m_dwTextColor;
    DWORD dwColor = IsEnabled() ? dwEnabledColor : m_dwDisabledTextColor;
    DrawLabelText(hDC, GetTextRect(), dwColor, m_uTextStyle);
}

} // namespace UpdUI
