#include "ProgressUI.h"

#include "AttributeValueUI.h"

#include <cstdlib>
#include <cwchar>

namespace UpdUI {

namespace {

const int kDefaultHeight = 12;

} // namespace

CProgressUI::CProgressUI() : m_bHorizontal(true), m_bStretchForeImage(true), m_nMax(100), m_nMin(0), m_nValue(0)
{
    m_uTextStyle = DT_CENTER | DT_SINGLELINE;
    m_cxyFixed.cy = kDefaultHeight;
}

CProgressUI::~CProgressUI() = default;

LPCWSTR CProgressUI::GetControlClass() const
{
    return L"ProgressUI";
}

LPVOID CProgressUI::GetInterface(LPCWSTR pstrName)
{
    if (pstrName != nullptr && wcscmp(pstrName, L"Progress") == 0) return this;
    return CLabelUI::GetInterface(pstrName);
}

bool CProgressUI::IsHorizontal() const
{
    return m_bHorizontal;
}

void CProgressUI::SetHorizontal(bool bHorizontal)
{
    if (m_bHorizontal == bHorizontal) return;
    m_bHorizontal = bHorizontal;
    Invalidate();
}

bool CProgressUI::IsStretchForeImage() const
{
    return m_bStretchForeImage;
}

void CProgressUI::SetStretchForeImage(bool bStretch)
{
    if (m_bStretchForeImage == bStretch) return;
    m_bStretchForeImage = bStretch;
    Invalidate();
}

int CProgressUI::GetMinValue() const
{
    return m_nMin;
}

void CProgressUI::SetMinValue(int nMin)
{
    m_nMin = nMin;
    Invalidate();
}

int CProgressUI::GetMaxValue() const
{
    return m_nMax;
}

void CProgressUI::SetMaxValue(int nMax)
{
    m_nMax = nMax;
    Invalidate();
}

int CProgressUI::GetValue() const
{
    return m_nValue;
}

void CProgressUI::SetValue(int nValue)
{
    m_nValue = nValue;
    Invalidate();
}

LPCWSTR CProgressUI::GetForeImage() const
{
    return m_sForeImage.GetData();
}

void CProgressUI::SetForeImage(LPCWSTR pStrImage)
{
    if (m_sForeImage == pStrImage) return;
    m_sForeImage = pStrImage;
    Invalidate();
}

void CProgressUI::SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue)
{
    if (pstrName == nullptr || pstrValue == nullptr) return;
    if (wcscmp(pstrName, L"foreimage") == 0)
        SetForeImage(pstrValue);
    else if (wcscmp(pstrName, L"hor") == 0)
        SetHorizontal(CAttributeValueUI::IsTrue(pstrValue));
    else if (wcscmp(pstrName, L"min") == 0)
        SetMinValue(static_cast<int>(wcstol(pstrValue, nullptr, 10)));
    else if (wcscmp(pstrName, L"max") == 0)
        SetMaxValue(static_cast<int>(wcstol(pstrValue, nullptr, 10)));
    else if (wcscmp(pstrName, L"value") == 0)
        SetValue(static_cast<int>(wcstol(pstrValue, nullptr, 10)));
    else if (wcscmp(pstrName, L"isstretchfore") == 0)
        SetStretchForeImage(CAttributeValueUI::IsTrue(pstrValue));
    else
        CLabelUI::SetAttribute(pstrName, pstrValue);
}

void CProgressUI::NormalizeRange()
{
    if (m_nMax <= m_nMin) m_nMax = m_nMin + 1;
    if (m_nValue > m_nMax) m_nValue = m_nMax;
    if (m_nValue < m_nMin) m_nValue = m_nMin;
}

int CProgressUI::Share(int nLength, LONGLONG llPart) const
{
    LONGLONG llRange = static_cast<LONGLONG>(m_nMax) - m_nMin;
    if (llRange <= 0) return 0;
    return static_cast<int>(static_cast<LONGLONG>(nLength) * llPart / llRange);
}

RECT CProgressUI::GetFilledRect() const
{
    int cx = m_rcItem.right - m_rcItem.left;
    int cy = m_rcItem.bottom - m_rcItem.top;
    RECT rc = { 0, 0, cx, cy };
    if (m_bHorizontal)
        rc.right = Share(cx, static_cast<LONGLONG>(m_nValue) - m_nMin);
    else
        rc.top = Share(cy, static_cast<LONGLONG>(m_nMax) - m_nValue);
    return rc;
}

void CProgressUI::PaintStatusImage(HDC hDC)
{
    NormalizeRange();
    if (m_sForeImage.IsEmpty()) return;
    RECT rc = GetFilledRect();
    if (m_bStretchForeImage) {
        m_sForeImageModify.Format(L"dest='%d,%d,%d,%d'", rc.left, rc.top, rc.right, rc.bottom);
    } else {
        m_sForeImageModify.Format(L"dest='%d,%d,%d,%d' source='%d,%d,%d,%d'", rc.left, rc.top, rc.right, rc.bottom,
                                  rc.left, rc.top, rc.right, rc.bottom);
    }
    DrawImageOrForget(hDC, m_sForeImage, m_sForeImageModify.GetData());
}

} // namespace UpdUI
