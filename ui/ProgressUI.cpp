#include "ProgressUI.h"

#include <climits>
#include <cwchar>

#include "AttributeValueUI.h"
#include "PainterUI.h"

namespace {

const DWORD kFrameColor = 0xFF4EA0D1;
const LPCWSTR kDestFormat = L"dest='%d,%d,%d,%d'";

int Clamp(int nValue, int nMin, int nMax)
{
    if (nValue < nMin) return nMin;
    if (nValue > nMax) return nMax;
    return nValue;
}

} // namespace

CProgressUI::CProgressUI() : m_bHorizontal(true), m_nMax(100), m_nMin(0), m_nValue(0), m_nValue2(0)
{
    m_uTextStyle = DT_CENTER | DT_SINGLELINE;
    m_cxyFixed.cy = 12;
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

int CProgressUI::GetSecondValue() const
{
    return m_nValue2;
}

void CProgressUI::SetSecondValue(int nValue)
{
    m_nValue2 = nValue;
    Invalidate();
}

LPCWSTR CProgressUI::GetFgImage() const
{
    return m_sFgImage.GetData();
}

void CProgressUI::SetFgImage(LPCWSTR pStrImage)
{
    if (m_sFgImage.Compare(pStrImage != nullptr ? pStrImage : L"")) return;
    SetImage(m_sFgImage, pStrImage);
}

LPCWSTR CProgressUI::GetFgImage2() const
{
    return m_sFgImage2.GetData();
}

void CProgressUI::SetFgImage2(LPCWSTR pStrImage)
{
    SetImage(m_sFgImage2, pStrImage);
}

void CProgressUI::SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue)
{
    if (wcscmp(pstrName, L"fgimage") == 0)
        SetFgImage(pstrValue);
    else if (wcscmp(pstrName, L"fgimage2") == 0)
        SetFgImage2(pstrValue);
    else if (wcscmp(pstrName, L"hor") == 0)
        SetHorizontal(CAttributeValueUI::ParseBool(pstrValue));
    else if (wcscmp(pstrName, L"min") == 0)
        SetMinValue(CAttributeValueUI::ParseInt(pstrValue));
    else if (wcscmp(pstrName, L"max") == 0)
        SetMaxValue(CAttributeValueUI::ParseInt(pstrValue));
    else if (wcscmp(pstrName, L"value") == 0)
        SetValue(CAttributeValueUI::ParseInt(pstrValue));
    else
        CLabelUI::SetAttribute(pstrName, pstrValue);
}

// ---------------------------------------------------------------------------------
// Range

void CProgressUI::GetNormalizedRange(int& nMin, int& nMax) const
{
    nMin = m_nMin;
    nMax = m_nMax;
    if (nMin < nMax) return;
    if (nMin == INT_MAX) nMin = INT_MAX - 1; // min + 1 must still be an int
    nMax = nMin + 1;
}

void CProgressUI::NormalizeValues()
{
    GetNormalizedRange(m_nMin, m_nMax);
    m_nValue = Clamp(m_nValue, m_nMin, m_nMax);
    m_nValue2 = Clamp(m_nValue2, m_nMin, m_nMax);
}

int CProgressUI::ScaleExtent(int nExtent, long long nPart, long long nRange)
{
    return static_cast<int>(static_cast<float>(nExtent) * static_cast<float>(nPart) / static_cast<float>(nRange));
}

// ---------------------------------------------------------------------------------
// Painting

void CProgressUI::BuildFillModifiers()
{
    const int cx = m_rcItem.right - m_rcItem.left;
    const int cy = m_rcItem.bottom - m_rcItem.top;
    const long long nRange = static_cast<long long>(m_nMax) - m_nMin;
    if (m_bHorizontal) {
        const int w1 = ScaleExtent(cx, static_cast<long long>(m_nValue) - m_nMin, nRange);
        const int w2 = ScaleExtent(cx, static_cast<long long>(m_nValue2) - m_nMin, nRange);
        m_sFgImage2Modify.SmallFormat(kDestFormat, 0, 0, w2, cy);
        m_sFgImageModify.SmallFormat(kDestFormat, 0, 0, w1, cy);
    } else {
        const int t1 = ScaleExtent(cy, static_cast<long long>(m_nMax) - m_nValue, nRange);
        const int t2 = ScaleExtent(cy, static_cast<long long>(m_nMax) - m_nValue2, nRange);
        m_sFgImage2Modify.SmallFormat(kDestFormat, 0, t2, cx, cy);
        m_sFgImageModify.SmallFormat(kDestFormat, 0, t1, cx, cy);
    }
}

void CProgressUI::PaintStatusImage(HDC hDC)
{
    NormalizeValues();
    BuildFillModifiers();
    DrawImageOrForget(hDC, m_sFgImage2, m_sFgImage2Modify.GetData());
    if (DrawImageOrForget(hDC, m_sFgImage, m_sFgImageModify.GetData())) return;
    CPainterUI::DrawRect(hDC, m_rcItem, 1, kFrameColor);
}
