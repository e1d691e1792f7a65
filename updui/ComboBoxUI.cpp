#include "ComboBoxUI.h"

#include <cwchar>

#include "AttributeValueUI.h"
#include "ControlStateUI.h"

namespace UpdUI {

namespace {

const int kFrameCount = 5;
const int kSourceKeyLength = 7; // "source="

} // namespace

CComboBoxUI::CComboBoxUI() : m_nArrowWidth(0) { }

CComboBoxUI::~CComboBoxUI() = default;

LPCWSTR CComboBoxUI::GetControlClass() const
{
    return L"ComboBoxUI";
}

void CComboBoxUI::SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue)
{
    if (pstrName != nullptr && pstrValue != nullptr && wcscmp(pstrName, L"arrowimage") == 0) {
        m_sArrowImage = pstrValue;
        Invalidate();
        return;
    }
    CComboUI::SetAttribute(pstrName, pstrValue);
}

int CComboBoxUI::GetArrowWidth() const
{
    return m_nArrowWidth;
}

int CComboBoxUI::ArrowFrame() const
{
    if ((m_uButtonState & UISTATE_DISABLED) != 0) return 4;
    if ((m_uButtonState & UISTATE_PUSHED) != 0) return 2;
    if ((m_uButtonState & UISTATE_HOT) != 0) return 1;
    if ((m_uButtonState & UISTATE_FOCUSED) != 0) return 3;
    return 0;
}

CStringUI CComboBoxUI::FrameDescription(int iFrame)
{
    CStringUI sImage = m_sArrowImage;
    const int iSource = sImage.Find(L"source");
    if (iSource < 0) return CStringUI();
    const int iOpen = sImage.Find(L"'", iSource + kSourceKeyLength);
    if (iOpen < 0) return CStringUI();
    const int iClose = sImage.Find(L"'", iOpen + 1);
    if (iClose < 0) return CStringUI();
    // Only the text between the quotes is read: a short rectangle must not run on
    // into the rest of the description.
    RECT rcSource = CAttributeValueUI::ParseRect(sImage.Mid(iOpen + 1, iClose - iOpen - 1).GetData());

    const int cxFrame = (rcSource.right - rcSource.left) / kFrameCount;
    m_nArrowWidth = cxFrame;
    const int xFrame = rcSource.left + cxFrame * iFrame;
    const int nBorder = GetBorderSize();
    RECT rcDest = { 0, 0, m_rcItem.right - m_rcItem.left, m_rcItem.bottom - m_rcItem.top };
    ::InflateRect(&rcDest, -nBorder, -nBorder);
    rcDest.left = rcDest.right - cxFrame;

    CStringUI sPart;
    sPart.Format(L"source='%d,%d,%d,%d' dest='%d,%d,%d,%d'", xFrame, rcSource.top, xFrame + cxFrame, rcSource.bottom,
                 rcDest.left, rcDest.top, rcDest.right, rcDest.bottom);
    CStringUI sResult = sImage.Left(iSource);
    sResult += sPart;
    sResult += sImage.Mid(iClose + 1);
    return sResult;
}

void CComboBoxUI::PaintStatusImage(HDC hDC)
{
    if (m_sArrowImage.IsEmpty()) {
        CComboUI::PaintStatusImage(hDC);
        return;
    }
    UpdatePaintState();
    CStringUI sDescription = FrameDescription(ArrowFrame());
    if (sDescription.IsEmpty()) return;
    if (!DrawImage(hDC, sDescription.GetData())) m_sArrowImage.Empty();
}

void CComboBoxUI::PaintText(HDC hDC)
{
    if (m_iCurSel < 0) return;
    RECT rc = { m_rcItem.left + m_rcTextPadding.left, m_rcItem.top + m_rcTextPadding.top,
                m_rcItem.right - m_rcTextPadding.right - m_nArrowWidth, m_rcItem.bottom - m_rcTextPadding.bottom };
    PaintSelectedRow(hDC, rc);
}

} // namespace UpdUI
