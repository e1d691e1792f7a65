#include "RichEditUI.h"

#include <richedit.h>
#include <textserv.h>
#include <windowsx.h>

#include <cstdlib>
#include <cwchar>
#include <cwctype>
#include <vector>

#include "AttributeValueUI.h"
#include "ControlStateUI.h"
#include "RenderClipUI.h"
#include "ScrollBarUI.h"
#include "TxtWinHost.h"

namespace UpdUI {

namespace {

const LONG kDefaultLimitText = 0x7FFF;
const UINT kCodePageUnicode = 1200;
// Rich edit notifications handed on to the window as WM_NOTIFY.
const DWORD kForwardedNotifies[] = {
    EN_MSGFILTER,     EN_SELCHANGE,   EN_DROPFILES,       EN_PROTECTED, EN_STOPNOUNDO,
    EN_SAVECLIPBOARD, EN_OLEOPFAILED, EN_OBJECTPOSITIONS, EN_LINK,      EN_DRAGDROPDONE
};

bool IsMouseMessage(UINT uMsg)
{
    return uMsg >= WM_MOUSEFIRST && uMsg <= WM_MOUSELAST;
}

bool IsButtonMessage(UINT uMsg)
{
    return uMsg >= WM_LBUTTONDOWN && uMsg <= WM_RBUTTONUP;
}

bool IsKeyMessage(UINT uMsg)
{
    return uMsg >= WM_KEYDOWN && uMsg <= WM_DEADCHAR;
}

bool IsKeyEvent(int type)
{
    return type > EventKeyBegin && type < EventKeyEnd;
}

bool IsForwardedNotify(DWORD iNotify)
{
    for (DWORD code : kForwardedNotifies) {
        if (code == iNotify) return true;
    }
    return false;
}

} // namespace

CRichEditUI::CRichEditUI()
    : m_pTwh(nullptr), m_bVScrollBarFixing(false), m_bWantTab(true), m_bWantReturn(true), m_bWantCtrlReturn(true),
      m_bRich(true), m_bReadOnly(false), m_dwTextColor(0), m_iFont(-1), m_lLimitText(kDefaultLimitText),
      m_lTwhStyle(ES_MULTILINE), m_bInited(false), m_bLayingOut(false), m_bFilterAdded(false)
{ }

CRichEditUI::~CRichEditUI()
{
    if (m_bFilterAdded && m_pManager != nullptr) m_pManager->RemoveMessageFilter(this);
    m_bFilterAdded = false;
    if (m_pTwh != nullptr) {
        m_pTwh->Shutdown();
        m_pTwh->Release();
        m_pTwh = nullptr;
    }
}

LPCWSTR CRichEditUI::GetControlClass() const
{
    return L"RichEditUI";
}

LPVOID CRichEditUI::GetInterface(LPCWSTR pstrName)
{
    if (pstrName != nullptr && wcscmp(pstrName, L"RichEdit") == 0) return static_cast<CRichEditUI*>(this);
    return CContainerUI::GetInterface(pstrName);
}

UINT CRichEditUI::GetControlFlags() const
{
    return IsEnabled() ? (UIFLAG_TABSTOP | UIFLAG_SETCURSOR) : 0;
}

// ---------------------------------------------------------------- settings

bool CRichEditUI::IsWantTab() const
{
    return m_bWantTab;
}

void CRichEditUI::SetWantTab(bool bWantTab)
{
    m_bWantTab = bWantTab;
}

void CRichEditUI::SetWantReturn(bool bWantReturn)
{
    m_bWantReturn = bWantReturn;
}

void CRichEditUI::SetWantCtrlReturn(bool bWantCtrlReturn)
{
    m_bWantCtrlReturn = bWantCtrlReturn;
}

bool CRichEditUI::IsRich() const
{
    return m_bRich;
}

void CRichEditUI::SetRich(bool bRich)
{
    m_bRich = bRich;
    if (m_pTwh != nullptr) m_pTwh->SetRichTextFlag(bRich);
}

bool CRichEditUI::IsReadOnly() const
{
    return m_bReadOnly;
}

int CRichEditUI::GetFont() const
{
    return m_iFont;
}

void CRichEditUI::SetFont(int iFont)
{
    m_iFont = iFont;
    if (m_pTwh != nullptr && m_pManager != nullptr) m_pTwh->SetFont(m_pManager->GetFont(m_iFont));
}

DWORD CRichEditUI::GetTextColor() const
{
    return m_dwTextColor;
}

void CRichEditUI::SetTextColor(DWORD dwTextColor)
{
    m_dwTextColor = dwTextColor;
    if (m_pTwh != nullptr) m_pTwh->SetColor(dwTextColor);
}

LONG CRichEditUI::GetLimitText() const
{
    return m_lLimitText;
}

LONG CRichEditUI::GetWinStyle() const
{
    return m_lTwhStyle;
}

void CRichEditUI::SetStyleBits(LONG lBits, bool bOn)
{
    if (bOn)
        m_lTwhStyle |= lBits;
    else
        m_lTwhStyle &= ~lBits;
}

// ---------------------------------------------------------------- text

HRESULT CRichEditUI::SendTextServicesMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT* plResult) const
{
    LRESULT lDummy = 0;
    if (plResult == nullptr) plResult = &lDummy;
    if (m_pTwh == nullptr || m_pTwh->GetTextServices() == nullptr) return S_FALSE;
    if (uMsg == WM_KEYDOWN && wParam == VK_RETURN) {
        bool bCtrl = ::GetKeyState(VK_CONTROL) < 0;
        if (!m_bWantReturn || (bCtrl && !m_bWantCtrlReturn)) {
            CRichEditUI* pThis = const_cast<CRichEditUI*>(this);
            if (m_pManager != nullptr) m_pManager->SendNotify(pThis, L"return");
            *plResult = 0;
            return S_OK;
        }
    }
    return m_pTwh->GetTextServices()->TxSendMessage(uMsg, wParam, lParam, plResult);
}

long CRichEditUI::GetTextLength(DWORD dwFlags) const
{
    GETTEXTLENGTHEX textLenEx = { dwFlags, kCodePageUnicode };
    LRESULT lResult = 0;
    SendTextServicesMessage(EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&textLenEx), 0, &lResult);
    return static_cast<long>(lResult);
}

// Before the text services exist the stored text is the text.
CStringUI CRichEditUI::GetText() const
{
    if (m_pTwh == nullptr) return m_sText;
    long nLength = GetTextLength(GTL_DEFAULT);
    if (nLength < 0) nLength = 0;
    std::vector<wchar_t> buffer(static_cast<size_t>(nLength) + 1, L'\0');
    GETTEXTEX getTextEx = {};
    getTextEx.cb = static_cast<DWORD>(buffer.size() * sizeof(wchar_t));
    getTextEx.flags = GT_DEFAULT;
    getTextEx.codepage = kCodePageUnicode;
    LRESULT lResult = 0;
    SendTextServicesMessage(EM_GETTEXTEX, reinterpret_cast<WPARAM>(&getTextEx), reinterpret_cast<LPARAM>(buffer.data()),
                            &lResult);
    buffer.back() = L'\0';
    return CStringUI(buffer.data());
}

void CRichEditUI::SetText(LPCWSTR pstrText)
{
    m_sText = pstrText;
    if (m_pTwh == nullptr) return;
    SetSel(0, -1);
    ReplaceSel(m_sText.GetData(), false);
}

LRESULT CRichEditUI::SetSel(long nStartChar, long nEndChar)
{
    CHARRANGE cr = { nStartChar, nEndChar };
    LRESULT lResult = 0;
    SendTextServicesMessage(EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&cr), &lResult);
    return lResult;
}

void CRichEditUI::ReplaceSel(LPCWSTR pstrText, bool bCanUndo)
{
    LRESULT lResult = 0;
    SendTextServicesMessage(EM_REPLACESEL, bCanUndo ? TRUE : FALSE, reinterpret_cast<LPARAM>(pstrText), &lResult);
}

LRESULT CRichEditUI::AppendText(LPCWSTR pstrText, bool bCanUndo)
{
    LRESULT lResult = SetSel(-1, -1);
    ReplaceSel(pstrText, bCanUndo);
    return lResult;
}

// ---------------------------------------------------------------- life cycle

void CRichEditUI::SetManager(CWindowManagerUI* pManager, CControlUI* pParent, bool bInit)
{
    // The filter list of a manager must never keep a control that left it.
    if (m_bFilterAdded && m_pManager != nullptr && m_pManager != pManager) {
        m_pManager->RemoveMessageFilter(this);
        m_bFilterAdded = false;
    }
    CContainerUI::SetManager(pManager, pParent, bInit);
    if (m_pTwh != nullptr && !m_bFilterAdded && m_pManager != nullptr) {
        m_bFilterAdded = m_pManager->AddMessageFilter(this);
    }
}

void CRichEditUI::DoInit()
{
    if (m_bInited) return;
    m_bInited = true;
    CREATESTRUCTW cs = {};
    cs.style = m_lTwhStyle;
    cs.lpszName = m_sText.GetData();
    CTxtWinHost* pHost = new CTxtWinHost;
    if (!pHost->Init(this, &cs)) {
        pHost->Shutdown();
        pHost->Release();
        return;
    }
    m_pTwh = pHost;
    m_pTwh->SetTransparent(true);
    LRESULT lResult = 0;
    m_pTwh->GetTextServices()->TxSendMessage(EM_SETLANGOPTIONS, 0, 0, &lResult);
    m_pTwh->SetActive();
    if (m_pManager != nullptr && !m_bFilterAdded) m_bFilterAdded = m_pManager->AddMessageFilter(this);
}

// ---------------------------------------------------------------- layout and painting

void CRichEditUI::OnScrollBarsChanged()
{
    if (!m_bLayingOut) NeedUpdate();
}

bool CRichEditUI::IsNaturalHeightAbove(int cxWidth, int cyLimit) const
{
    if (m_pTwh == nullptr || m_pTwh->GetTextServices() == nullptr) return false;
    LONG lWidth = cxWidth;
    LONG lHeight = 0;
    SIZEL szExtent = { -1, -1 };
    HDC hDC = m_pManager != nullptr ? m_pManager->GetPaintDC() : nullptr;
    m_pTwh->GetTextServices()->TxGetNaturalSize(DVASPECT_CONTENT, hDC, nullptr, nullptr, TXTNS_FITTOCONTENT, &szExtent,
                                                &lWidth, &lHeight);
    return lHeight > cyLimit;
}

// A bar the text services hid while the text is still taller than the control is kept
// (shown by the control itself) until the text fits the full width.
void CRichEditUI::FixAutoVScrollBar(const RECT& rcClient)
{
    CScrollBarUI* pBar = m_pVerticalScrollBar;
    int cxFull = rcClient.right - rcClient.left + pBar->GetFixedWidth();
    if (IsNaturalHeightAbove(cxFull, rcClient.bottom - rcClient.top)) {
        pBar->SetVisible(true);
        pBar->SetScrollPos(0);
        m_bVScrollBarFixing = true;
    } else if (m_bVScrollBarFixing) {
        pBar->SetVisible(false);
        m_bVScrollBarFixing = false;
    }
}

void CRichEditUI::PlaceScrollBars(const RECT& rcClient)
{
    if (!IsInvisibleBar(m_pVerticalScrollBar)) {
        RECT rcBar = { rcClient.right, rcClient.top, rcClient.right + m_pVerticalScrollBar->GetFixedWidth(),
                       rcClient.bottom };
        m_pVerticalScrollBar->SetPos(rcBar);
    }
    if (!IsInvisibleBar(m_pHorizontalScrollBar)) {
        RECT rcBar = { rcClient.left, rcClient.bottom, rcClient.right,
                       rcClient.bottom + m_pHorizontalScrollBar->GetFixedHeight() };
        m_pHorizontalScrollBar->SetPos(rcBar);
    }
}

void CRichEditUI::PlaceChildren(const RECT& rcClient)
{
    for (int i = 0; i < m_items.GetCount(); ++i) {
        CControlUI* pControl = static_cast<CControlUI*>(m_items[i]);
        if (!pControl->IsVisible()) continue;
        if (pControl->IsFloat())
            SetFloatPos(i);
        else
            pControl->SetPos(rcClient);
    }
}

// When the text services show or hide a bar while taking the new rectangle, the text
// is laid out once more on the room that is left, so no bar lies outside the control.
void CRichEditUI::SetPos(RECT rc)
{
    CControlUI::SetPos(rc);
    m_bLayingOut = true;
    RECT rcClient = GetClientRect();
    if (m_pTwh != nullptr) {
        bool bVertWas = !IsInvisibleBar(m_pVerticalScrollBar);
        bool bHorzWas = !IsInvisibleBar(m_pHorizontalScrollBar);
        m_pTwh->SetClientRect(rcClient);
        if (m_pVerticalScrollBar != nullptr &&
            ((bVertWas && !m_pVerticalScrollBar->IsVisible()) || m_bVScrollBarFixing)) {
            FixAutoVScrollBar(rcClient);
        }
        if (bVertWas != !IsInvisibleBar(m_pVerticalScrollBar) || bHorzWas != !IsInvisibleBar(m_pHorizontalScrollBar)) {
            rcClient = GetClientRect();
            m_pTwh->SetClientRect(rcClient);
        }
    }
    PlaceScrollBars(rcClient);
    PlaceChildren(rcClient);
    m_bLayingOut = false;
}

void CRichEditUI::DoPaint(HDC hDC, const RECT& rcPaint)
{
    RECT rcTemp = {};
    if (!::IntersectRect(&rcTemp, &rcPaint, &m_rcItem)) return;
    CRenderClipUI clip;
    CRenderClipUI::Generate(hDC, rcTemp, clip);
    CControlUI::DoPaint(hDC, rcPaint);

    if (m_pTwh != nullptr && m_pTwh->GetTextServices() != nullptr) {
        RECT rcClient = m_pTwh->GetClientRect();
        RECT rcUpdate = rcPaint;
        m_pTwh->GetTextServices()->TxDraw(DVASPECT_CONTENT, 0, nullptr, nullptr, hDC, nullptr,
                                          reinterpret_cast<LPCRECTL>(&rcClient), nullptr, &rcUpdate, nullptr, 0,
                                          TXTVIEW_ACTIVE);
        if (m_bVScrollBarFixing && m_pVerticalScrollBar != nullptr) {
            int cxFull = rcClient.right - rcClient.left + m_pVerticalScrollBar->GetFixedWidth();
            if (!IsNaturalHeightAbove(cxFull, rcClient.bottom - rcClient.top)) NeedUpdate();
        }
    }

    if (!m_items.IsEmpty()) PaintChildren(hDC, rcPaint);
    RECT rcBar = {};
    if (!IsInvisibleBar(m_pVerticalScrollBar) && ::IntersectRect(&rcBar, &rcPaint, &m_pVerticalScrollBar->GetPos())) {
        m_pVerticalScrollBar->DoPaint(hDC, rcPaint);
    }
    if (!IsInvisibleBar(m_pHorizontalScrollBar) &&
        ::IntersectRect(&rcBar, &rcPaint, &m_pHorizontalScrollBar->GetPos())) {
        m_pHorizontalScrollBar->DoPaint(hDC, rcPaint);
    }
}

// ---------------------------------------------------------------- scrolling

void CRichEditUI::ScrollVertically(WORD wCode)
{
    SendTextServicesMessage(WM_VSCROLL, wCode, 0, nullptr);
}

void CRichEditUI::ScrollHorizontally(WORD wCode)
{
    SendTextServicesMessage(WM_HSCROLL, wCode, 0, nullptr);
}

// Plain text: the bar is kept from going backwards when the text services move it.
void CRichEditUI::SetScrollPos(SIZE szPos)
{
    int cx = 0;
    int cy = 0;
    if (!IsInvisibleBar(m_pVerticalScrollBar)) {
        int iOld = m_pVerticalScrollBar->GetScrollPos();
        m_pVerticalScrollBar->SetScrollPos(szPos.cy);
        cy = m_pVerticalScrollBar->GetScrollPos() - iOld;
    }
    if (!IsInvisibleBar(m_pHorizontalScrollBar)) {
        int iOld = m_pHorizontalScrollBar->GetScrollPos();
        m_pHorizontalScrollBar->SetScrollPos(szPos.cx);
        cx = m_pHorizontalScrollBar->GetScrollPos() - iOld;
    }
    if (cy != 0) {
        int iPos = m_pVerticalScrollBar->GetScrollPos();
        SendTextServicesMessage(WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, iPos), 0, nullptr);
        if (m_pTwh != nullptr && !m_bRich && cy > 0 && m_pVerticalScrollBar->GetScrollPos() < iPos) {
            m_pVerticalScrollBar->SetScrollPos(iPos);
        }
    }
    if (cx != 0) {
        int iPos = m_pHorizontalScrollBar->GetScrollPos();
        SendTextServicesMessage(WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, iPos), 0, nullptr);
    }
}

void CRichEditUI::LineUp()
{
    ScrollVertically(SB_LINEUP);
}

void CRichEditUI::LineDown()
{
    int iOld = m_pVerticalScrollBar != nullptr ? m_pVerticalScrollBar->GetScrollPos() : 0;
    ScrollVertically(SB_LINEDOWN);
    if (m_pTwh != nullptr && !m_bRich && m_pVerticalScrollBar != nullptr &&
        m_pVerticalScrollBar->GetScrollPos() <= iOld) {
        m_pVerticalScrollBar->SetScrollPos(m_pVerticalScrollBar->GetScrollRange());
    }
}

void CRichEditUI::PageUp()
{
    ScrollVertically(SB_PAGEUP);
}

void CRichEditUI::PageDown()
{
    ScrollVertically(SB_PAGEDOWN);
}

void CRichEditUI::HomeUp()
{
    ScrollVertically(SB_TOP);
}

void CRichEditUI::EndDown()
{
    ScrollVertically(SB_BOTTOM);
}

void CRichEditUI::LineLeft()
{
    ScrollHorizontally(SB_LINEUP);
}

void CRichEditUI::LineRight()
{
    ScrollHorizontally(SB_LINEDOWN);
}

void CRichEditUI::PageLeft()
{
    ScrollHorizontally(SB_PAGEUP);
}

void CRichEditUI::PageRight()
{
    ScrollHorizontally(SB_PAGEDOWN);
}

void CRichEditUI::HomeLeft()
{
    ScrollHorizontally(SB_TOP);
}

void CRichEditUI::EndRight()
{
    ScrollHorizontally(SB_BOTTOM);
}

// ---------------------------------------------------------------- events and messages

bool CRichEditUI::OnTextViewChanged()
{
    return true;
}

void CRichEditUI::OnTextNotify(DWORD iNotify, void* pv)
{
    if (pv == nullptr || !IsForwardedNotify(iNotify) || m_pManager == nullptr) return;
    HWND hWnd = m_pManager->GetPaintWindow();
    if (hWnd == nullptr) return;
    NMHDR* pHeader = static_cast<NMHDR*>(pv);
    LONG_PTR nId = ::GetWindowLongPtrW(hWnd, GWLP_ID);
    pHeader->hwndFrom = hWnd;
    pHeader->idFrom = static_cast<UINT_PTR>(nId);
    pHeader->code = iNotify;
    ::SendMessageW(hWnd, WM_NOTIFY, static_cast<WPARAM>(nId), reinterpret_cast<LPARAM>(pHeader));
}

void CRichEditUI::DoEvent(TEventRecUI& event)
{
    if (!IsMouseEnabled() && IsMouseEvent(event.type)) {
        if (m_pParent != nullptr)
            m_pParent->DoEvent(event);
        else
            CContainerUI::DoEvent(event);
        return;
    }
    switch (event.type) {
    case EventSetCursor:
        if (IsEnabled() && m_pTwh != nullptr && m_pTwh->DoSetCursor(nullptr, &event.mousePoint)) return;
        break;
    case EventSetFocus:
    case EventKillFocus:
        m_bFocused = event.type == EventSetFocus;
        if (m_pTwh != nullptr) {
            m_pTwh->SetActive();
            SendTextServicesMessage(m_bFocused ? WM_SETFOCUS : WM_KILLFOCUS, 0, 0, nullptr);
        }
        Invalidate();
        return;
    case EventTimer:
        if (m_pTwh != nullptr) SendTextServicesMessage(WM_TIMER, event.wParam, event.lParam, nullptr);
        return;
    case EventScrollWheel:
        if ((event.keyState & UIKEYSTATE_CONTROL) != 0) return;
        break;
    case EventMouseMove:
    case EventMouseEnter:
    case EventMouseLeave:
    case EventButtonDown:
    case EventButtonUp:
    case EventDoubleClick: return;
    default:
        if (IsKeyEvent(event.type)) return;
        break;
    }
    CContainerUI::DoEvent(event);
}

// Decides whether a mouse message (or WM_SETCURSOR) is this control's: outside a
// capture by the text services it must hit the control inside its text rectangle while
// the window manager is not capturing the mouse itself.
bool CRichEditUI::AcceptsMouseMessage(UINT uMsg, WPARAM /*wParam*/, LPARAM lParam) const
{
    if (m_pTwh->IsCaptured()) return true;
    POINT pt = { GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam) };
    if (uMsg == WM_MOUSEWHEEL) {
        ::ScreenToClient(m_pManager->GetPaintWindow(), &pt);
    } else if (uMsg == WM_SETCURSOR) {
        ::GetCursorPos(&pt);
        ::ScreenToClient(m_pManager->GetPaintWindow(), &pt);
    }
    if (IsButtonMessage(uMsg) && m_pManager->FindControlAt(pt) != this) return false;
    if (!::PtInRect(&m_pTwh->GetClientRect(), pt)) return false;
    return !m_pManager->IsCaptured();
}

LRESULT CRichEditUI::MessageHandler(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled)
{
    if (m_pTwh == nullptr || m_pManager == nullptr || !IsVisible() || !IsEnabled()) return 0;
    if (!IsMouseEnabled() && IsMouseMessage(uMsg)) return 0;
    if (uMsg == WM_MOUSEWHEEL && (LOWORD(wParam) & MK_CONTROL) == 0) return 0;

    bool bMarkHandled = true;
    bool bMouse = IsMouseMessage(uMsg);
    if (bMouse || uMsg == WM_SETCURSOR) {
        if (!AcceptsMouseMessage(uMsg, wParam, lParam)) return 0;
        if (uMsg == WM_SETCURSOR)
            bMarkHandled = false;
        else if (uMsg == WM_LBUTTONDOWN || uMsg == WM_LBUTTONDBLCLK || uMsg == WM_RBUTTONDOWN)
            SetFocus();
    } else if (IsKeyMessage(uMsg)) {
        if (m_pManager->GetFocus() != this) return 0;
    } else if (uMsg == WM_CONTEXTMENU) {
        POINT pt = { GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam) };
        ::ScreenToClient(m_pManager->GetPaintWindow(), &pt);
        if (m_pManager->FindControlAt(pt) != this) return 0;
    } else if (uMsg == WM_HELP) {
        bMarkHandled = false;
    } else {
        return 0;
    }

    LRESULT lResult = 0;
    HRESULT hr = SendTextServicesMessage(uMsg, wParam, lParam, &lResult);
    bool bTaken = hr == S_OK || IsKeyMessage(uMsg) || uMsg == WM_IME_CHAR || (bMouse && m_pTwh->IsCaptured());
    if (bTaken) bHandled = bMarkHandled;
    return lResult;
}

// ---------------------------------------------------------------- attributes

// As a list's item alignment: the last of "left", "center", "right" found wins.
void CRichEditUI::SetAlign(LPCWSTR pstrValue)
{
    if (wcsstr(pstrValue, L"left") != nullptr) m_lTwhStyle &= ~static_cast<LONG>(ES_CENTER | ES_RIGHT);
    if (wcsstr(pstrValue, L"center") != nullptr) {
        m_lTwhStyle &= ~static_cast<LONG>(ES_RIGHT);
        m_lTwhStyle |= ES_CENTER;
    }
    if (wcsstr(pstrValue, L"right") != nullptr) {
        m_lTwhStyle &= ~static_cast<LONG>(ES_CENTER);
        m_lTwhStyle |= ES_RIGHT;
    }
}

void CRichEditUI::SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue)
{
    if (pstrName == nullptr || pstrValue == nullptr) return;
    if (wcscmp(pstrName, L"vscrollbar") == 0) {
        if (CAttributeValueUI::IsTrue(pstrValue)) SetStyleBits(WS_VSCROLL | ES_DISABLENOSCROLL, true);
        CContainerUI::SetAttribute(pstrName, pstrValue);
    } else if (wcscmp(pstrName, L"hscrollbar") == 0) {
        if (CAttributeValueUI::IsTrue(pstrValue)) SetStyleBits(WS_HSCROLL | ES_DISABLENOSCROLL, true);
        CContainerUI::SetAttribute(pstrName, pstrValue);
    } else if (wcscmp(pstrName, L"autovscroll") == 0) {
        if (CAttributeValueUI::IsTrue(pstrValue)) SetStyleBits(ES_AUTOVSCROLL, true);
    } else if (wcscmp(pstrName, L"autohscroll") == 0) {
        if (CAttributeValueUI::IsTrue(pstrValue)) SetStyleBits(ES_AUTOHSCROLL, true);
    } else if (wcscmp(pstrName, L"multiline") == 0) {
        if (wcscmp(pstrValue, L"false") == 0) SetStyleBits(ES_MULTILINE, false);
    } else if (wcscmp(pstrName, L"readonly") == 0) {
        if (CAttributeValueUI::IsTrue(pstrValue)) {
            SetStyleBits(ES_READONLY, true);
            m_bReadOnly = true;
        }
    } else if (wcscmp(pstrName, L"password") == 0) {
        if (CAttributeValueUI::IsTrue(pstrValue)) SetStyleBits(ES_PASSWORD, true);
    } else if (wcscmp(pstrName, L"align") == 0) {
        SetAlign(pstrValue);
    } else if (wcscmp(pstrName, L"wanttab") == 0) {
        SetWantTab(CAttributeValueUI::IsTrue(pstrValue));
    } else if (wcscmp(pstrName, L"wantreturn") == 0) {
        SetWantReturn(CAttributeValueUI::IsTrue(pstrValue));
    } else if (wcscmp(pstrName, L"wantctrlreturn") == 0) {
        SetWantCtrlReturn(CAttributeValueUI::IsTrue(pstrValue));
    } else if (wcscmp(pstrName, L"rich") == 0) {
        SetRich(CAttributeValueUI::IsTrue(pstrValue));
    } else if (wcscmp(pstrName, L"font") == 0) {
        SetFont(static_cast<int>(wcstol(pstrValue, nullptr, 10)));
    } else if (wcscmp(pstrName, L"textcolor") == 0) {
        while (*pstrValue == L' ' || *pstrValue == L'\t') ++pstrValue;
        if (*pstrValue == L'#') ++pstrValue;
        SetTextColor(static_cast<DWORD>(wcstoul(pstrValue, nullptr, 16)));
    } else {
        CContainerUI::SetAttribute(pstrName, pstrValue);
    }
}

} // namespace UpdUI
