#pragma once
#include <windows.h>

#include <richedit.h>

#include "ContainerUI.h"

namespace UpdUI {

class CTxtWinHost;

// A windowless rich-text editor drawn inside the window of its manager. The system's
// rich edit text services hold and lay out the text; the control feeds them the
// window's messages through its message filter and lets them paint, scroll its scroll
// bars, set timers, the caret and the capture through its text host (CTxtWinHost).
class CRichEditUI : public CContainerUI, public IMessageFilterUI
{
public:
    CRichEditUI();
    ~CRichEditUI() override;

    LPCWSTR GetControlClass() const override;
    LPVOID GetInterface(LPCWSTR pstrName) override;
    UINT GetControlFlags() const override;
    CStringUI GetText() const override;
    void SetText(LPCWSTR pstrText) override;
    void SetManager(CWindowManagerUI* pManager, CControlUI* pParent, bool bInit = true) override;
    void SetPos(RECT rc) override;
    void DoInit() override;
    void DoEvent(TEventRecUI& event) override;
    void SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue) override;
    void DoPaint(HDC hDC, const RECT& rcPaint) override;

    void SetScrollPos(SIZE szPos) override;
    void LineUp() override;
    void LineDown() override;
    void PageUp() override;
    void PageDown() override;
    void HomeUp() override;
    void EndDown() override;
    void LineLeft() override;
    void LineRight() override;
    void PageLeft() override;
    void PageRight() override;
    void HomeLeft() override;
    void EndRight() override;

    // 1 without text services; otherwise what they answer. ENTER is kept from them (and
    // "return" sent) when the control does not want it.
    virtual HRESULT SendTextServicesMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT* plResult) const;
    virtual bool OnTextViewChanged();
    virtual void OnTextNotify(DWORD iNotify, void* pv);

    LRESULT MessageHandler(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled) override;

    bool IsWantTab() const;
    void SetWantTab(bool bWantTab = true);
    void SetWantReturn(bool bWantReturn = true);
    void SetWantCtrlReturn(bool bWantCtrlReturn = true);
    bool IsRich() const;
    void SetRich(bool bRich = true);
    bool IsReadOnly() const;
    int GetFont() const;
    void SetFont(int iFont);
    DWORD GetTextColor() const;
    void SetTextColor(DWORD dwTextColor);
    LONG GetLimitText() const;
    LONG GetWinStyle() const;

    long GetTextLength(DWORD dwFlags = GTL_DEFAULT) const;
    LRESULT SetSel(long nStartChar, long nEndChar);
    void ReplaceSel(LPCWSTR pstrText, bool bCanUndo);
    LRESULT AppendText(LPCWSTR pstrText, bool bCanUndo = false);

    // The text host's scroll-bar calls changed which bars are shown.
    void OnScrollBarsChanged();

protected:
    RECT GetTextClientRect() const;
    void FixAutoVScrollBar(const RECT& rcClient);
    void PlaceScrollBars(const RECT& rcClient);
    void PlaceChildren(const RECT& rcClient);
    bool IsNaturalHeightAbove(int cxWidth, int cyLimit) const;
    void ScrollVertically(WORD wCode);
    void ScrollHorizontally(WORD wCode);
    bool AcceptsMouseMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) const;
    void SetStyleBits(LONG lBits, bool bOn);
    void SetAlign(LPCWSTR pstrValue);

    CTxtWinHost* m_pTwh;
    bool m_bVScrollBarFixing;
    bool m_bWantTab;
    bool m_bWantReturn;
    bool m_bWantCtrlReturn;
    bool m_bRich;
    bool m_bReadOnly;
    DWORD m_dwTextColor;
    int m_iFont;
    LONG m_lLimitText;
    LONG m_lTwhStyle;
    bool m_bInited;
    bool m_bLayingOut;
    bool m_bFilterAdded;
};

} // namespace UpdUI
