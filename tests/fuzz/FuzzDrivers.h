// The driving both UI libraries' targets share. The libraries' classes have the same
// shape under other namespaces and a few other names, so each driver is a template that
// the harness of each library instantiates with its own classes.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "FuzzCanvas.h"
#include "FuzzRunner.h"

namespace Fuzz {

// Every node and attribute of a parsed document, walked without recursion (deeply
// nested markup must not overflow the harness's own stack). Every string is read
// through, and each named attribute is copied into a buffer of 16 characters, of which
// the library is told cchGiven (the main library writes one character past its count).
template <class Node, class NodeText> void WalkMarkup(const Node& root, int cchGiven, NodeText nodeText)
{
    std::vector<Node> pending;
    if (root.IsValid()) pending.push_back(root);
    WCHAR szValue[16];
    size_t nChars = 0;
    while (!pending.empty()) {
        Node node = pending.back();
        pending.pop_back();
        nChars += nodeText(node);
        for (int i = 0; i < node.GetAttributeCount(); ++i) {
            nChars += wcslen(node.GetAttributeName(i)) + wcslen(node.GetAttributeValue(i));
            node.GetAttributeValue(node.GetAttributeName(i), szValue, cchGiven);
        }
        if (node.GetSibling().IsValid()) pending.push_back(node.GetSibling());
        if (node.GetChild().IsValid()) pending.push_back(node.GetChild());
    }
    (void)nChars;
}

// A built tree laid out and painted at a roomy size and at one too small for it.
template <class Control> void LayOutAndPaint(Control* pRoot)
{
    Canvas canvas(400, 300);
    for (const RECT& rc : { RECT{ 0, 0, 400, 300 }, RECT{ 0, 0, 37, 12 } }) {
        pRoot->SetPos(rc);
        pRoot->DoPaint(canvas.DC(), canvas.Rect());
    }
}

// An image description alone, and as the modifier of an image the skin holds.
template <class Painter, class Manager>
void DrawImageDescription(Manager& manager, const std::wstring& desc, LPCWSTR pstrSkinImage)
{
    Canvas canvas(200, 150);
    RECT rcItem = { 10, 10, 190, 140 };
    Painter::DrawImageDesc(canvas.DC(), &manager, rcItem, canvas.Rect(), desc.c_str());
    Painter::DrawImageDesc(canvas.DC(), &manager, rcItem, canvas.Rect(), pstrSkinImage, desc.c_str());
}

// Tagged text drawn wrapped, on one centred line and only measured; the links reported
// must fit the arrays the caller handed in.
template <class Painter, class String, class Manager> void DrawTaggedText(Manager& manager, const std::wstring& text)
{
    Canvas canvas(200, 120);
    for (UINT uStyle : { (UINT)DT_WORDBREAK, (UINT)(DT_SINGLELINE | DT_VCENTER | DT_CENTER), (UINT)DT_CALCRECT }) {
        RECT rc = { 5, 5, 195, 115 };
        RECT rcLinks[8];
        String sLinks[8];
        int nLinks = 8;
        Painter::DrawMarkupText(canvas.DC(), &manager, rc, text.c_str(), 0xFF000000, rcLinks, sLinks, nLinks, uStyle);
        if (nLinks < 0 || nLinks > 8) ReportWrongResult("more links reported than the arrays hold");
    }
}

} // namespace Fuzz
