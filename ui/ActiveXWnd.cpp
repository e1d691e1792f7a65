#include "ActiveXWnd.h"

#include <ole2.h>

#include "ActiveXCtrl.h"
#include "ActiveXUI.h"
#include "uishared/OleVerbUI.h"

CActiveXWnd::CActiveXWnd(CActiveXCtrl* pOwner) : m_pOwner(pOwner) { }

HWND CActiveXWnd::Init(HWND hWndParent)
{
    return Create(hWndParent, L"UIActiveX", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, 0, 0, 0, 0, 0);
}

LPCWSTR CActiveXWnd::GetWindowClassName() const
{
    return L"ActiveXWnd";
}

void CActiveXWnd::DoVerb(LONG iVerb)
{
    CActiveXUI* pOwner = m_pOwner != nullptr ? m_pOwner->GetOwner() : nullptr;
    if (pOwner == nullptr) return;
    IOleObject* pObject = nullptr;
    if (FAILED(pOwner->GetControl(IID_IOleObject, reinterpret_cast<void**>(&pObject))) || pObject == nullptr) return;
    UIShared::COleVerbUI::DoVerb(pObject, static_cast<IOleClientSite*>(m_pOwner), iVerb, m_hWnd, pOwner->GetPos());
    pObject->Release();
}

LRESULT CActiveXWnd::HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    switch (uMsg) {
    case WM_SETFOCUS:
        m_pOwner->SetFocused(true);
        if (!m_pOwner->IsUIActive()) DoVerb(OLEIVERB_UIACTIVATE);
        break;
    case WM_KILLFOCUS: m_pOwner->SetFocused(false); break;
    case WM_PAINT: {
        PAINTSTRUCT ps = {};
        ::BeginPaint(m_hWnd, &ps);
        ::EndPaint(m_hWnd, &ps);
        return 1;
    }
    case WM_ERASEBKGND: return OnEraseBackground(uMsg, wParam, lParam);
    case WM_MOUSEACTIVATE: return OnMouseActivate(uMsg, wParam, lParam);
    default: break;
    }
    return CWindowWnd::HandleMessage(uMsg, wParam, lParam);
}

// A control that draws itself paints its whole window; erasing first would flicker.
LRESULT CActiveXWnd::OnEraseBackground(UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    if (m_pOwner->GetViewObject() != nullptr) return 1;
    return CWindowWnd::HandleMessage(uMsg, wParam, lParam);
}

LRESULT CActiveXWnd::OnMouseActivate(UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    CActiveXUI* pOwner = m_pOwner->GetOwner();
    IOleObject* pObject = nullptr;
    if (pOwner != nullptr && SUCCEEDED(pOwner->GetControl(IID_IOleObject, reinterpret_cast<void**>(&pObject))) &&
        pObject != nullptr) {
        bool bRefuses = UIShared::COleVerbUI::RefusesUIActivate(pObject);
        pObject->Release();
        if (bRefuses) return 0;
    }
    if (!m_pOwner->IsInPlaceActive()) DoVerb(OLEIVERB_INPLACEACTIVATE);
    return CWindowWnd::HandleMessage(uMsg, wParam, lParam);
}
