#include "ImageDescUI.h"

#include <stdlib.h>
#include <wchar.h>

#include "AttributeValueUI.h"
#include "MarkupNumberUI.h"

namespace UpdUI {

CImageDescUI::CImageDescUI(const RECT& rcItem, LPCWSTR pstrDescription)
    : sName(pstrDescription), rcDest(rcItem), rcSource(), rcCorner(), dwMask(0), uFade(255), bHole(false),
      bTiledX(false), bTiledY(false), m_rcItem(rcItem)
{ }

void CImageDescUI::Read(LPCWSTR pstrText, IDrawSink& sink)
{
    if (pstrText == nullptr) return;
    bool bNamed = false;
    LPCWSTR p = pstrText;
    for (;;) {
        while (*p == L' ') p++;
        LPCWSTR pstrKey = p;
        while (*p != L'\0' && *p != L'=' && *p != L' ') p++;
        CStringUI sKey(pstrKey, (int)(p - pstrKey));
        while (*p == L' ') p++;
        if (*p != L'=' || sKey.IsEmpty()) return;
        p++;
        while (*p == L' ') p++;
        if (*p != L'\'') return;
        LPCWSTR pstrValue = ++p;
        while (*p != L'\0' && *p != L'\'') p++;
        if (*p != L'\'') return;
        CStringUI sValue(pstrValue, (int)(p - pstrValue));
        p++;
        if (!sValue.IsEmpty()) Apply(sKey, sValue, bNamed, sink);
    }
}

void CImageDescUI::Apply(const CStringUI& sKey, const CStringUI& sValue, bool& bNamed, IDrawSink& sink)
{
    LPCWSTR pstrValue = sValue.GetData();
    if (sKey == L"file" || sKey == L"res") {
        if (bNamed) sink.DrawPending(*this);
        sName = sValue;
        bNamed = true;
    } else if (sKey == L"restype") {
        if (bNamed) sink.DrawPending(*this);
        sResType = sValue;
    } else if (sKey == L"dest") {
        RECT rc = CAttributeValueUI::ParseRect(pstrValue);
        rcDest.left = m_rcItem.left + rc.left;
        rcDest.top = m_rcItem.top + rc.top;
        rcDest.right = m_rcItem.left + rc.right;
        rcDest.bottom = m_rcItem.top + rc.bottom;
        if (rcDest.right > m_rcItem.right) rcDest.right = m_rcItem.right;
        if (rcDest.bottom > m_rcItem.bottom) rcDest.bottom = m_rcItem.bottom;
    } else if (sKey == L"source") {
        rcSource = CAttributeValueUI::ParseRect(pstrValue);
    } else if (sKey == L"corner") {
        rcCorner = CAttributeValueUI::ParseRect(pstrValue);
    } else if (sKey == L"mask") {
        dwMask = CAttributeValueUI::ParseColor(pstrValue);
    } else if (sKey == L"fade") {
        long nFade = wcstol(pstrValue, nullptr, 10);
        uFade = (BYTE)(nFade < 0 ? 0 : (nFade > 255 ? 255 : nFade));
    } else if (sKey == L"hole") {
        bHole = sValue == L"true";
    } else if (sKey == L"xtiled") {
        bTiledX = sValue == L"true";
    } else if (sKey == L"ytiled") {
        bTiledY = sValue == L"true";
    }
}

} // namespace UpdUI
