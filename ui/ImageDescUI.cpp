#include "ImageDescUI.h"

#include <wchar.h>

#include "AttributeValueUI.h"

CImageDescUI::CImageDescUI(const RECT& rcItem)
    : rcDest(rcItem), rcSource(), rcCorner(), dwMask(0), uFade(255), bHole(false), m_rcItem(rcItem)
{ }

void CImageDescUI::Parse(LPCWSTR pstrDesc)
{
    if (pstrDesc == nullptr || pstrDesc[0] == L'\0') return;
    if (wcschr(pstrDesc, L'=') == nullptr) {
        sFile = pstrDesc;
        return;
    }
    LPCWSTR p = pstrDesc;
    for (;;) {
        // Controls build their modifiers as " dest='...'", with a leading blank.
        while (*p == L' ') p++;
        LPCWSTR pstrEquals = wcschr(p, L'=');
        if (pstrEquals == nullptr || pstrEquals[1] != L'\'') return;
        CStringUI sKey(p, (int)(pstrEquals - p));
        LPCWSTR pstrValue = pstrEquals + 2;
        LPCWSTR pstrClose = wcschr(pstrValue, L'\'');
        if (pstrClose == nullptr) return;
        CStringUI sValue(pstrValue, (int)(pstrClose - pstrValue));
        if (!sValue.IsEmpty()) Apply(sKey, sValue);
        if (pstrClose[1] != L' ') return;
        p = pstrClose + 2;
    }
}

void CImageDescUI::Apply(const CStringUI& sKey, const CStringUI& sValue)
{
    LPCWSTR pstrValue = sValue.GetData();
    if (sKey.Compare(L"file") || sKey.Compare(L"res")) {
        sFile = sValue;
    } else if (sKey.Compare(L"restype")) {
        sResType = sValue;
    } else if (sKey.Compare(L"dest")) {
        RECT rc = CAttributeValueUI::ParseRect(pstrValue);
        rcDest.left = m_rcItem.left + rc.left;
        rcDest.top = m_rcItem.top + rc.top;
        rcDest.right = m_rcItem.left + rc.right;
        rcDest.bottom = m_rcItem.top + rc.bottom;
    } else if (sKey.Compare(L"source")) {
        rcSource = CAttributeValueUI::ParseRect(pstrValue);
    } else if (sKey.Compare(L"corner")) {
        rcCorner = CAttributeValueUI::ParseRect(pstrValue);
    } else if (sKey.Compare(L"mask")) {
        dwMask = CAttributeValueUI::ParseColor(pstrValue);
    } else if (sKey.Compare(L"fade")) {
        int nFade = CAttributeValueUI::ParseInt(pstrValue);
        uFade = (BYTE)(nFade < 0 ? 0 : (nFade > 255 ? 255 : nFade));
    } else if (sKey.Compare(L"hole")) {
        bHole = CAttributeValueUI::ParseBool(pstrValue);
    }
}
