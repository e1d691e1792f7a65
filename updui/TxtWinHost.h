#pragma once
#include <windows.h>
#include <richedit.h>
#include <textserv.h>

namespace UpdUI {

class CRichEditUI;

// The text host a rich edit control hands to the system's rich edit text services: it
// answers their questions (client rectangle, formats, property bits) and carries out
// their requests (drawing, caret, timers, capture, scroll bars) on the control and its
// window manager. Reference counted; the owner holds the first reference.
class CTxtWinHost final : public ITextHost
{
public:
    CTxtWinHost();
    CTxtWinHost(const CTxtWinHost&) = delete;
    CTxtWinHost& operator=(const CTxtWinHost&) = delete;

    // Creates the text services for the owner with the style and text of the record;
    // false when they could not be made.
    bool Init(CRichEditUI* pOwner, const CREATESTRUCTW* pcs);
    // The owner is going away: the text services are let go and nothing calls it again.
    void Shutdown();
    ITextServices* GetTextServices() const;

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppvObject) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    // ITextHost
    HDC TxGetDC() override;
    INT TxReleaseDC(HDC hdc) override;
    WINBOOL TxShowScrollBar(INT fnBar, WINBOOL fShow) override;
    WINBOOL TxEnableScrollBar(INT fuSBFlags, INT fuArrowflags) override;
    WINBOOL TxSetScrollRange(INT fnBar, LONG nMinPos, INT nMaxPos, WINBOOL fRedraw) override;
    WINBOOL TxSetScrollPos(INT fnBar, INT nPos, WINBOOL fRedraw) override;
    void TxInvalidateRect(LPCRECT prc, WINBOOL fMode) override;
    void TxViewChange(WINBOOL fUpdate) override;
    WINBOOL TxCreateCaret(HBITMAP hbmp, INT xWidth, INT yHeight) override;
    WINBOOL TxShowCaret(WINBOOL fShow) override;
    WINBOOL TxSetCaretPos(INT x, INT y) override;
    WINBOOL TxSetTimer(UINT idTimer, UINT uTimeout) override;
    void TxKillTimer(UINT idTimer) override;
    void TxScrollWindowEx(INT dx, INT dy, LPCRECT lprcScroll, LPCRECT lprcClip, HRGN hrgnUpdate, LPRECT lprcUpdate,
                          UINT fuScroll) override;
    void TxSetCapture(WINBOOL fCapture) override;
    void TxSetFocus() override;
    void TxSetCursor(HCURSOR hcur, WINBOOL fText) override;
    WINBOOL TxScreenToClient(LPPOINT lppt) override;
    WINBOOL TxClientToScreen(LPPOINT lppt) override;
    HRESULT TxActivate(LONG* plOldState) override;
    HRESULT TxDeactivate(LONG lNewState) override;
    HRESULT TxGetClientRect(LPRECT prc) override;
    HRESULT TxGetViewInset(LPRECT prc) override;
    HRESULT TxGetCharFormat(const CHARFORMATW** ppCF) override;
    HRESULT TxGetParaFormat(const PARAFORMAT** ppPF) override;
    COLORREF TxGetSysColor(int nIndex) override;
    HRESULT TxGetBackStyle(TXTBACKSTYLE* pstyle) override;
    HRESULT TxGetMaxLength(DWORD* plength) override;
    HRESULT TxGetScrollBars(DWORD* pdwScrollBar) override;
    HRESULT TxGetPasswordChar(TCHAR* pch) override;
    HRESULT TxGetAcceleratorPos(LONG* pcp) override;
    HRESULT TxGetExtent(LPSIZEL lpExtent) override;
    HRESULT OnTxCharFormatChange(const CHARFORMATW* pcf) override;
    HRESULT OnTxParaFormatChange(const PARAFORMAT* ppf) override;
    HRESULT TxGetPropertyBits(DWORD dwMask, DWORD* pdwBits) override;
    HRESULT TxNotify(DWORD iNotify, void* pv) override;
    HIMC TxImmGetContext() override;
    void TxImmReleaseContext(HIMC himc) override;
    HRESULT TxGetSelectionBarWidth(LONG* lSelBarWidth) override;

    // Settings the owner changes; each is announced to the text services.
    const RECT& GetClientRect() const;
    void SetClientRect(const RECT& rc);
    void SetFont(HFONT hFont);
    void SetColor(DWORD dwArgb);
    void SetRichTextFlag(bool bRich);
    void SetTransparent(bool bTransparent);
    bool SetActive();
    // Lets the text services choose the cursor when pt lies in prc (or the client
    // rectangle when prc is null).
    bool DoSetCursor(const RECT* prc, const POINT* pt);
    bool IsCaptured() const;

private:
    ~CTxtWinHost();

    bool CreateTextServices(LPCWSTR pstrText);
    void InitCharFormat(HFONT hFont);
    void InitParaFormat();
    HWND GetWindow() const;
    HDC GetPaintDC() const;
    void SetFlag(DWORD dwFlag, bool bOn);
    bool HasFlag(DWORD dwFlag) const;
    void Announce(DWORD dwBits, DWORD dwValue);

    ULONG m_cRefs;
    CRichEditUI* m_pOwner;
    ITextServices* m_pServices;
    HMODULE m_hRichEdit;
    DWORD m_dwFlags;
    LONG m_lSelBarWidth;
    LONG m_cchTextMost;
    DWORD m_dwStyle;
    RECT m_rcClient;
    SIZEL m_sizelExtent;
    CHARFORMAT2W m_cf;
    PARAFORMAT2 m_pf;
    LONG m_lAccelPos;
    WCHAR m_chPasswordChar;
};

} // namespace UpdUI
