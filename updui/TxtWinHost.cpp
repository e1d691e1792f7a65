#include "TxtWinHost.h"

#include <cstdlib>
#include <cwchar>

#include "PainterUI.h"
#include "RichEditUI.h"
#include "ScrollBarUI.h"
#include "WindowManagerUI.h"

// The system reads these records by size: on 32-bit Windows they must have
// the sizes the system expects there.
static_assert(sizeof(void*) != 4 || sizeof(CHARFORMAT2W) == 116, "the text services character format");
static_assert(sizeof(void*) != 4 || sizeof(PARAFORMAT2) == 188, "the text services paragraph format");

namespace UpdUI {

namespace {

// The SDK headers here only declare these two interface ids.
const IID kIidTextServices = { 0x8D33F740, 0xCF58, 0x11CE, { 0xA8, 0x9D, 0x00, 0xAA, 0x00, 0x6C, 0xAD, 0xC5 } };
const IID kIidTextHost = { 0xC5BDD8D0, 0xD26E, 0x11CE, { 0xA8, 0x9E, 0x00, 0xAA, 0x00, 0x6C, 0xAD, 0xC5 } };

// CreateTextServices is exported by RICHED20 under this ordinal.
const WORD kCreateTextServicesOrdinal = 4;
const LONG kDefaultTab = 720; // twips: half an inch
const LONG kTwipsPerInch = 1440;
const int kHimetricPerInch = 2540;
const LONG kDefaultMaxLength = 0x7FFF;
const LONG kBoldWeight = 700;

// Property flags of the host.
enum : DWORD {
    HostAutoWordSelect = 0x01,
    HostWordWrap = 0x02,
    HostAllowBeep = 0x04,
    HostRichText = 0x08,
    HostSaveSelection = 0x10,
    HostInPlaceActive = 0x20,
    HostTransparent = 0x40,
    HostTimer = 0x80,
    HostCaptured = 0x100,
};

const DWORD kScrollStyles = WS_VSCROLL | WS_HSCROLL | ES_AUTOVSCROLL | ES_AUTOHSCROLL | ES_DISABLENOSCROLL;

bool SetBarVisible(CScrollBarUI* pBar, bool bVisible)
{
    if (pBar == nullptr || pBar->IsVisible() == bVisible) return false;
    pBar->SetVisible(bVisible);
    return true;
}

} // namespace

CTxtWinHost::CTxtWinHost()
    : m_cRefs(1), m_pOwner(nullptr), m_pServices(nullptr), m_hRichEdit(nullptr), m_dwFlags(0), m_lSelBarWidth(0),
      m_cchTextMost(kDefaultMaxLength), m_dwStyle(0), m_rcClient(), m_sizelExtent(), m_cf(), m_pf(), m_lAccelPos(-1),
      m_chPasswordChar(L'*')
{ }

CTxtWinHost::~CTxtWinHost()
{
    Shutdown();
    if (m_hRichEdit != nullptr) ::FreeLibrary(m_hRichEdit);
}

// The services are let go while the owner is still known: they may kill their timers
// or invalidate on the way out.
void CTxtWinHost::Shutdown()
{
    ITextServices* pServices = m_pServices;
    m_pServices = nullptr;
    if (pServices != nullptr) {
        pServices->OnTxInPlaceDeactivate();
        pServices->Release();
    }
    m_pOwner = nullptr;
}

ITextServices* CTxtWinHost::GetTextServices() const
{
    return m_pServices;
}

bool CTxtWinHost::Init(CRichEditUI* pOwner, const CREATESTRUCTW* pcs)
{
    if (pOwner == nullptr || pcs == nullptr) return false;
    m_pOwner = pOwner;
    CWindowManagerUI* pManager = pOwner->GetManager();
    HFONT hFont = pManager != nullptr ? pManager->GetFont(pOwner->GetFont())
                                      : static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
    InitCharFormat(hFont);
    InitParaFormat();
    m_dwStyle = static_cast<DWORD>(pcs->style);
    SetFlag(HostRichText, pOwner->IsRich());
    m_cchTextMost = pOwner->GetLimitText();
    if ((m_dwStyle & (ES_AUTOHSCROLL | WS_HSCROLL)) == 0) SetFlag(HostWordWrap, true);
    if ((m_dwStyle & ES_CENTER) != 0)
        m_pf.wAlignment = PFA_CENTER;
    else if ((m_dwStyle & ES_RIGHT) != 0)
        m_pf.wAlignment = PFA_RIGHT;
    SetFlag(HostInPlaceActive, true);
    return CreateTextServices(pcs->lpszName);
}

bool CTxtWinHost::CreateTextServices(LPCWSTR pstrText)
{
    m_hRichEdit = ::LoadLibraryW(L"riched20.dll");
    if (m_hRichEdit == nullptr) return false;
    PCreateTextServices pfnCreate = reinterpret_cast<PCreateTextServices>(
        reinterpret_cast<void*>(::GetProcAddress(m_hRichEdit, MAKEINTRESOURCEA(kCreateTextServicesOrdinal))));
    if (pfnCreate == nullptr) return false;
    IUnknown* pUnknown = nullptr;
    if (FAILED(pfnCreate(nullptr, this, &pUnknown)) || pUnknown == nullptr) return false;
    HRESULT hr = pUnknown->QueryInterface(kIidTextServices, reinterpret_cast<void**>(&m_pServices));
    pUnknown->Release();
    if (FAILED(hr) || m_pServices == nullptr) {
        m_pServices = nullptr;
        return false;
    }
    if (pstrText != nullptr && *pstrText != L'\0') m_pServices->TxSetText(pstrText);
    return true;
}

HWND CTxtWinHost::GetWindow() const
{
    if (m_pOwner == nullptr || m_pOwner->GetManager() == nullptr) return nullptr;
    return m_pOwner->GetManager()->GetPaintWindow();
}

HDC CTxtWinHost::GetPaintDC() const
{
    if (m_pOwner == nullptr || m_pOwner->GetManager() == nullptr) return nullptr;
    return m_pOwner->GetManager()->GetPaintDC();
}

void CTxtWinHost::SetFlag(DWORD dwFlag, bool bOn)
{
    if (bOn)
        m_dwFlags |= dwFlag;
    else
        m_dwFlags &= ~dwFlag;
}

bool CTxtWinHost::HasFlag(DWORD dwFlag) const
{
    return (m_dwFlags & dwFlag) != 0;
}

void CTxtWinHost::Announce(DWORD dwBits, DWORD dwValue)
{
    if (m_pServices != nullptr) m_pServices->OnTxPropertyBitsChange(dwBits, dwValue);
}

void CTxtWinHost::InitCharFormat(HFONT hFont)
{
    LOGFONTW lf = {};
    ::GetObjectW(hFont, sizeof(lf), &lf);
    HDC hDC = GetPaintDC();
    bool bScreenDC = hDC == nullptr;
    if (bScreenDC) hDC = ::GetDC(nullptr);
    int nPixelsY = ::GetDeviceCaps(hDC, LOGPIXELSY);
    if (bScreenDC) ::ReleaseDC(nullptr, hDC);
    if (nPixelsY <= 0) nPixelsY = 96;

    DWORD dwArgb = m_pOwner != nullptr ? m_pOwner->GetTextColor() : 0;
    m_cf = CHARFORMAT2W();
    m_cf.cbSize = sizeof(CHARFORMAT2W);
    m_cf.dwMask = CFM_SIZE | CFM_OFFSET | CFM_FACE | CFM_CHARSET | CFM_COLOR | CFM_BOLD | CFM_ITALIC | CFM_UNDERLINE;
    // The font height counts as a size whichever sign the font was made with.
    m_cf.yHeight = std::labs(lf.lfHeight) * kTwipsPerInch / nPixelsY;
    m_cf.yOffset = 0;
    m_cf.crTextColor = CPainterUI::ToColorRef(dwArgb);
    if (lf.lfWeight >= kBoldWeight) m_cf.dwEffects |= CFE_BOLD;
    if (lf.lfItalic) m_cf.dwEffects |= CFE_ITALIC;
    if (lf.lfUnderline) m_cf.dwEffects |= CFE_UNDERLINE;
    m_cf.bCharSet = lf.lfCharSet;
    m_cf.bPitchAndFamily = lf.lfPitchAndFamily;
    wcsncpy(m_cf.szFaceName, lf.lfFaceName, LF_FACESIZE - 1);
    m_cf.szFaceName[LF_FACESIZE - 1] = L'\0';
}

void CTxtWinHost::InitParaFormat()
{
    m_pf = PARAFORMAT2();
    m_pf.cbSize = sizeof(PARAFORMAT2);
    m_pf.dwMask = PFM_ALL;
    m_pf.wAlignment = PFA_LEFT;
    m_pf.cTabCount = 1;
    m_pf.rgxTabs[0] = kDefaultTab;
}

// ---------------------------------------------------------------- IUnknown

HRESULT STDMETHODCALLTYPE CTxtWinHost::QueryInterface(REFIID riid, void** ppvObject)
{
    if (ppvObject == nullptr) return E_POINTER;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, kIidTextHost)) {
        AddRef();
        *ppvObject = static_cast<ITextHost*>(this);
        return S_OK;
    }
    *ppvObject = nullptr;
    return E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE CTxtWinHost::AddRef()
{
    return ++m_cRefs;
}

ULONG STDMETHODCALLTYPE CTxtWinHost::Release()
{
    ULONG cRefs = --m_cRefs;
    if (cRefs == 0) delete this;
    return cRefs;
}

// ---------------------------------------------------------------- ITextHost

HDC CTxtWinHost::TxGetDC()
{
    return GetPaintDC();
}

INT CTxtWinHost::TxReleaseDC(HDC /*hdc*/)
{
    return TRUE;
}

WINBOOL CTxtWinHost::TxShowScrollBar(INT fnBar, WINBOOL fShow)
{
    if (m_pOwner == nullptr) return TRUE;
    bool bChanged = false;
    if (fnBar == SB_VERT || fnBar == SB_BOTH)
        bChanged |= SetBarVisible(m_pOwner->GetVerticalScrollBar(), fShow != FALSE);
    if (fnBar == SB_HORZ || fnBar == SB_BOTH) {
        bChanged |= SetBarVisible(m_pOwner->GetHorizontalScrollBar(), fShow != FALSE);
    }
    if (bChanged) m_pOwner->OnScrollBarsChanged();
    return TRUE;
}

// A bar the markup did not ask for is made on first use.
WINBOOL CTxtWinHost::TxEnableScrollBar(INT fuSBFlags, INT fuArrowflags)
{
    if (m_pOwner == nullptr) return TRUE;
    bool bVisible = fuArrowflags != ESB_DISABLE_BOTH;
    bool bVert = fuSBFlags == SB_VERT || fuSBFlags == SB_BOTH;
    bool bHorz = fuSBFlags == SB_HORZ || fuSBFlags == SB_BOTH;
    bool bNeedVert = bVert && m_pOwner->GetVerticalScrollBar() == nullptr;
    bool bNeedHorz = bHorz && m_pOwner->GetHorizontalScrollBar() == nullptr;
    if (bNeedVert || bNeedHorz) {
        m_pOwner->EnableScrollBar(bVert || m_pOwner->GetVerticalScrollBar() != nullptr,
                                  bHorz || m_pOwner->GetHorizontalScrollBar() != nullptr);
    }
    bool bChanged = false;
    if (bVert) bChanged |= SetBarVisible(m_pOwner->GetVerticalScrollBar(), bVisible);
    if (bHorz) bChanged |= SetBarVisible(m_pOwner->GetHorizontalScrollBar(), bVisible);
    if (bChanged) m_pOwner->OnScrollBarsChanged();
    return TRUE;
}

WINBOOL CTxtWinHost::TxSetScrollRange(INT fnBar, LONG nMinPos, INT nMaxPos, WINBOOL /*fRedraw*/)
{
    if (m_pOwner == nullptr) return TRUE;
    CScrollBarUI* pBar = nullptr;
    LONG lPage = 0;
    if (fnBar == SB_VERT) {
        pBar = m_pOwner->GetVerticalScrollBar();
        lPage = m_rcClient.bottom - m_rcClient.top;
    } else if (fnBar == SB_HORZ) {
        pBar = m_pOwner->GetHorizontalScrollBar();
        lPage = m_rcClient.right - m_rcClient.left;
    }
    if (pBar == nullptr) return TRUE;
    LONG lRange = nMaxPos - nMinPos - lPage;
    bool bChanged = SetBarVisible(pBar, lRange > 0);
    if (lRange > 0) pBar->SetScrollRange(static_cast<int>(lRange));
    if (bChanged) m_pOwner->OnScrollBarsChanged();
    return TRUE;
}

WINBOOL CTxtWinHost::TxSetScrollPos(INT fnBar, INT nPos, WINBOOL /*fRedraw*/)
{
    if (m_pOwner == nullptr) return TRUE;
    CScrollBarUI* pBar = nullptr;
    if (fnBar == SB_VERT)
        pBar = m_pOwner->GetVerticalScrollBar();
    else if (fnBar == SB_HORZ)
        pBar = m_pOwner->GetHorizontalScrollBar();
    if (pBar != nullptr) pBar->SetScrollPos(nPos);
    return TRUE;
}

void CTxtWinHost::TxInvalidateRect(LPCRECT prc, WINBOOL /*fMode*/)
{
    if (m_pOwner == nullptr || m_pOwner->GetManager() == nullptr) return;
    RECT rc = prc != nullptr ? *prc : m_rcClient;
    m_pOwner->GetManager()->Invalidate(rc);
}

void CTxtWinHost::TxViewChange(WINBOOL /*fUpdate*/)
{
    if (m_pOwner != nullptr && m_pOwner->OnTextViewChanged()) m_pOwner->Invalidate();
}

WINBOOL CTxtWinHost::TxCreateCaret(HBITMAP hbmp, INT xWidth, INT yHeight)
{
    HWND hWnd = GetWindow();
    return hWnd != nullptr ? ::CreateCaret(hWnd, hbmp, xWidth, yHeight) : FALSE;
}

WINBOOL CTxtWinHost::TxShowCaret(WINBOOL fShow)
{
    HWND hWnd = GetWindow();
    if (hWnd == nullptr) return FALSE;
    return fShow ? ::ShowCaret(hWnd) : ::HideCaret(hWnd);
}

WINBOOL CTxtWinHost::TxSetCaretPos(INT x, INT y)
{
    return ::SetCaretPos(x, y);
}

WINBOOL CTxtWinHost::TxSetTimer(UINT idTimer, UINT uTimeout)
{
    if (m_pOwner == nullptr || m_pOwner->GetManager() == nullptr) return FALSE;
    SetFlag(HostTimer, true);
    return m_pOwner->GetManager()->SetTimer(m_pOwner, idTimer, uTimeout) ? TRUE : FALSE;
}

void CTxtWinHost::TxKillTimer(UINT idTimer)
{
    if (m_pOwner != nullptr && m_pOwner->GetManager() != nullptr) m_pOwner->GetManager()->KillTimer(m_pOwner, idTimer);
    SetFlag(HostTimer, false);
}

void CTxtWinHost::TxScrollWindowEx(INT /*dx*/, INT /*dy*/, LPCRECT /*lprcScroll*/, LPCRECT /*lprcClip*/,
                                   HRGN /*hrgnUpdate*/, LPRECT /*lprcUpdate*/, UINT /*fuScroll*/)
{ }

void CTxtWinHost::TxSetCapture(WINBOOL fCapture)
{
    if (m_pOwner == nullptr || m_pOwner->GetManager() == nullptr) return;
    if (fCapture)
        m_pOwner->GetManager()->SetCapture();
    else
        m_pOwner->GetManager()->ReleaseCapture();
    SetFlag(HostCaptured, fCapture != FALSE);
}

void CTxtWinHost::TxSetFocus()
{
    if (m_pOwner != nullptr) m_pOwner->SetFocus();
}

void CTxtWinHost::TxSetCursor(HCURSOR hcur, WINBOOL /*fText*/)
{
    ::SetCursor(hcur);
}

WINBOOL CTxtWinHost::TxScreenToClient(LPPOINT lppt)
{
    HWND hWnd = GetWindow();
    return hWnd != nullptr && lppt != nullptr ? ::ScreenToClient(hWnd, lppt) : FALSE;
}

WINBOOL CTxtWinHost::TxClientToScreen(LPPOINT lppt)
{
    HWND hWnd = GetWindow();
    return hWnd != nullptr && lppt != nullptr ? ::ClientToScreen(hWnd, lppt) : FALSE;
}

HRESULT CTxtWinHost::TxActivate(LONG* /*plOldState*/)
{
    return S_OK;
}

HRESULT CTxtWinHost::TxDeactivate(LONG /*lNewState*/)
{
    return S_OK;
}

HRESULT CTxtWinHost::TxGetClientRect(LPRECT prc)
{
    if (prc == nullptr) return E_INVALIDARG;
    *prc = m_rcClient;
    return S_OK;
}

HRESULT CTxtWinHost::TxGetViewInset(LPRECT prc)
{
    if (prc == nullptr) return E_INVALIDARG;
    ::SetRectEmpty(prc);
    return S_OK;
}

HRESULT CTxtWinHost::TxGetCharFormat(const CHARFORMATW** ppCF)
{
    if (ppCF == nullptr) return E_INVALIDARG;
    *ppCF = reinterpret_cast<const CHARFORMATW*>(&m_cf);
    return S_OK;
}

HRESULT CTxtWinHost::TxGetParaFormat(const PARAFORMAT** ppPF)
{
    if (ppPF == nullptr) return E_INVALIDARG;
    *ppPF = reinterpret_cast<const PARAFORMAT*>(&m_pf);
    return S_OK;
}

COLORREF CTxtWinHost::TxGetSysColor(int nIndex)
{
    return ::GetSysColor(nIndex);
}

HRESULT CTxtWinHost::TxGetBackStyle(TXTBACKSTYLE* pstyle)
{
    if (pstyle == nullptr) return E_INVALIDARG;
    *pstyle = HasFlag(HostTransparent) ? TXTBACK_TRANSPARENT : TXTBACK_OPAQUE;
    return S_OK;
}

HRESULT CTxtWinHost::TxGetMaxLength(DWORD* plength)
{
    if (plength == nullptr) return E_INVALIDARG;
    *plength = static_cast<DWORD>(m_cchTextMost);
    return S_OK;
}

HRESULT CTxtWinHost::TxGetScrollBars(DWORD* pdwScrollBar)
{
    if (pdwScrollBar == nullptr) return E_INVALIDARG;
    *pdwScrollBar = m_dwStyle & kScrollStyles;
    return S_OK;
}

HRESULT CTxtWinHost::TxGetPasswordChar(TCHAR* pch)
{
    if (pch == nullptr) return E_INVALIDARG;
    *pch = m_chPasswordChar;
    return S_OK;
}

HRESULT CTxtWinHost::TxGetAcceleratorPos(LONG* pcp)
{
    if (pcp == nullptr) return E_INVALIDARG;
    *pcp = m_lAccelPos;
    return S_OK;
}

HRESULT CTxtWinHost::TxGetExtent(LPSIZEL lpExtent)
{
    if (lpExtent == nullptr) return E_INVALIDARG;
    *lpExtent = m_sizelExtent;
    return S_OK;
}

HRESULT CTxtWinHost::OnTxCharFormatChange(const CHARFORMATW* /*pcf*/)
{
    return S_OK;
}

HRESULT CTxtWinHost::OnTxParaFormatChange(const PARAFORMAT* /*ppf*/)
{
    return S_OK;
}

HRESULT CTxtWinHost::TxGetPropertyBits(DWORD dwMask, DWORD* pdwBits)
{
    if (pdwBits == nullptr) return E_INVALIDARG;
    DWORD dwBits = 0;
    if (HasFlag(HostRichText)) dwBits |= TXTBIT_RICHTEXT;
    if ((m_dwStyle & ES_MULTILINE) != 0) dwBits |= TXTBIT_MULTILINE;
    if ((m_dwStyle & ES_READONLY) != 0) dwBits |= TXTBIT_READONLY;
    if ((m_dwStyle & ES_PASSWORD) != 0) dwBits |= TXTBIT_USEPASSWORD;
    if ((m_dwStyle & ES_NOHIDESEL) == 0) dwBits |= TXTBIT_HIDESELECTION;
    if (HasFlag(HostAutoWordSelect)) dwBits |= TXTBIT_AUTOWORDSEL;
    if (HasFlag(HostWordWrap)) dwBits |= TXTBIT_WORDWRAP;
    if (HasFlag(HostAllowBeep)) dwBits |= TXTBIT_ALLOWBEEP;
    if (HasFlag(HostSaveSelection)) dwBits |= TXTBIT_SAVESELECTION;
    *pdwBits = dwBits & dwMask;
    return S_OK;
}

HRESULT CTxtWinHost::TxNotify(DWORD iNotify, void* pv)
{
    if (iNotify == EN_REQUESTRESIZE) {
        REQRESIZE* pResize = static_cast<REQRESIZE*>(pv);
        if (pResize != nullptr) {
            m_rcClient.right = m_rcClient.left + (pResize->rc.right - pResize->rc.left);
            m_rcClient.bottom = m_rcClient.top + (pResize->rc.bottom - pResize->rc.top);
        }
        return S_OK;
    }
    if (m_pOwner != nullptr) m_pOwner->OnTextNotify(iNotify, pv);
    return S_OK;
}

HIMC CTxtWinHost::TxImmGetContext()
{
    return nullptr;
}

void CTxtWinHost::TxImmReleaseContext(HIMC /*himc*/) { }

HRESULT CTxtWinHost::TxGetSelectionBarWidth(LONG* lSelBarWidth)
{
    if (lSelBarWidth == nullptr) return E_INVALIDARG;
    *lSelBarWidth = m_lSelBarWidth;
    return S_OK;
}

// ---------------------------------------------------------------- settings

const RECT& CTxtWinHost::GetClientRect() const
{
    return m_rcClient;
}

void CTxtWinHost::SetClientRect(const RECT& rc)
{
    m_rcClient = rc;
    HDC hDC = GetPaintDC();
    bool bScreenDC = hDC == nullptr;
    if (bScreenDC) hDC = ::GetDC(nullptr);
    int nPixelsX = ::GetDeviceCaps(hDC, LOGPIXELSX);
    int nPixelsY = ::GetDeviceCaps(hDC, LOGPIXELSY);
    if (bScreenDC) ::ReleaseDC(nullptr, hDC);
    if (nPixelsX <= 0) nPixelsX = 96;
    if (nPixelsY <= 0) nPixelsY = 96;
    m_sizelExtent.cx = ::MulDiv(rc.right - rc.left, kHimetricPerInch, nPixelsX);
    m_sizelExtent.cy = ::MulDiv(rc.bottom - rc.top, kHimetricPerInch, nPixelsY);
    Announce(TXTBIT_VIEWINSETCHANGE, TRUE);
}

void CTxtWinHost::SetFont(HFONT hFont)
{
    if (hFont == nullptr) return;
    InitCharFormat(hFont);
    Announce(TXTBIT_CHARFORMATCHANGE, TXTBIT_CHARFORMATCHANGE);
}

void CTxtWinHost::SetColor(DWORD dwArgb)
{
    m_cf.crTextColor = CPainterUI::ToColorRef(dwArgb);
    Announce(TXTBIT_CHARFORMATCHANGE, TXTBIT_CHARFORMATCHANGE);
}

void CTxtWinHost::SetRichTextFlag(bool bRich)
{
    SetFlag(HostRichText, bRich);
    Announce(TXTBIT_RICHTEXT, bRich ? TXTBIT_RICHTEXT : 0);
}

void CTxtWinHost::SetTransparent(bool bTransparent)
{
    SetFlag(HostTransparent, bTransparent);
    Announce(TXTBIT_BACKSTYLECHANGE, 0);
}

bool CTxtWinHost::SetActive()
{
    if (m_pServices == nullptr) return false;
    SetFlag(HostInPlaceActive, true);
    if (SUCCEEDED(m_pServices->OnTxInPlaceActivate(&m_rcClient))) return true;
    SetFlag(HostInPlaceActive, false);
    return false;
}

bool CTxtWinHost::DoSetCursor(const RECT* prc, const POINT* pt)
{
    if (m_pServices == nullptr || pt == nullptr) return false;
    const RECT* pRect = prc != nullptr ? prc : &m_rcClient;
    if (!::PtInRect(pRect, *pt)) return false;
    m_pServices->OnTxSetCursor(DVASPECT_CONTENT, -1, nullptr, nullptr, GetPaintDC(), nullptr, &m_rcClient, pt->x,
                               pt->y);
    return true;
}

bool CTxtWinHost::IsCaptured() const
{
    return HasFlag(HostCaptured);
}

} // namespace UpdUI
