#pragma once
#include <windows.h>

#include "ControlUI.h"

namespace UpdUI {

class CScrollBarUI;

// The child list of a container, as the skin builder and applications see it.
class IContainerUI
{
public:
    virtual CControlUI* GetItemAt(int iIndex) const = 0;
    virtual int GetItemIndex(CControlUI* pControl) const = 0;
    virtual bool SetItemIndex(CControlUI* pControl, int iIndex) = 0;
    virtual int GetCount() const = 0;
    virtual bool Add(CControlUI* pControl) = 0;
    virtual bool AddAt(CControlUI* pControl, int iIndex) = 0;
    virtual bool Remove(CControlUI* pControl) = 0;
    virtual bool RemoveAt(int iIndex) = 0;
    virtual void RemoveAll() = 0;

protected:
    ~IContainerUI() = default;
};

// A control that owns child controls: keeps them in order, hands them the manager,
// stacks them on its inner rectangle (position minus inset), paints them clipped to
// itself, routes hit tests and keyboard scrolling, and owns up to two scroll bars.
class CContainerUI : public CControlUI, public IContainerUI
{
public:
    CContainerUI();
    ~CContainerUI() override;

    LPCWSTR GetControlClass() const override;
    LPVOID GetInterface(LPCWSTR pstrName) override;

    CControlUI* GetItemAt(int iIndex) const override;
    int GetItemIndex(CControlUI* pControl) const override;
    bool SetItemIndex(CControlUI* pControl, int iIndex) override;
    int GetCount() const override;
    bool Add(CControlUI* pControl) override;
    bool AddAt(CControlUI* pControl, int iIndex) override;
    bool Remove(CControlUI* pControl) override;
    bool RemoveAt(int iIndex) override;
    void RemoveAll() override;

    void SetManager(CWindowManagerUI* pManager, CControlUI* pParent, bool bInit = true) override;
    void SetPos(RECT rc) override;
    void SetVisible(bool bVisible = true) override;
    void SetInternalVisible(bool bVisible = true) override;
    void SetMouseEnabled(bool bEnable = true) override;
    CControlUI* FindControl(FINDCONTROLPROC Proc, LPVOID pData, UINT uFlags) override;
    void DoEvent(TEventRecUI& event) override;
    void SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue) override;
    void DoPaint(HDC hDC, const RECT& rcPaint) override;

    virtual RECT GetInset() const;
    virtual void SetInset(RECT rcInset);
    virtual int GetChildPadding() const;
    virtual void SetChildPadding(int iPadding);
    virtual bool IsAutoDestroy() const;
    virtual void SetAutoDestroy(bool bAuto);
    virtual bool IsDelayedDestroy() const;
    virtual void SetDelayedDestroy(bool bDelayed);
    virtual bool IsMouseChildEnabled() const;
    virtual void SetMouseChildEnabled(bool bEnable = true);
    virtual int FindSelectable(int iIndex, bool bForward = true) const;

    virtual SIZE GetScrollPos() const;
    virtual SIZE GetScrollRange() const;
    virtual void SetScrollPos(SIZE szPos);
    virtual void LineUp();
    virtual void LineDown();
    virtual void PageUp();
    virtual void PageDown();
    virtual void HomeUp();
    virtual void EndDown();
    virtual void LineLeft();
    virtual void LineRight();
    virtual void PageLeft();
    virtual void PageRight();
    virtual void HomeLeft();
    virtual void EndRight();
    virtual void EnableScrollBar(bool bEnableVertical = true, bool bEnableHorizontal = false);
    virtual CScrollBarUI* GetVerticalScrollBar() const;
    virtual CScrollBarUI* GetHorizontalScrollBar() const;

protected:
    virtual void SetFloatPos(int iIndex);
    virtual void ProcessScrollBar(RECT rc, int cxRequired, int cyRequired);

    // The item rectangle less the inset: where the children go before any bar takes room.
    RECT GetInnerRect() const;
    RECT GetClientRect() const;
    void DisposeChild(CControlUI* pControl);
    bool IsInvisibleBar(CScrollBarUI* pBar) const;
    // Below the minimum gives the minimum, then above the maximum the maximum: a
    // maximum under the minimum wins.
    static int ClampToLimits(int nValue, int nMin, int nMax);
    bool ScrollKey(TEventRecUI& event, bool bVertical);
    // The scroll steps of the line and page moves.
    int LineHeight() const;
    int PageHeight() const;
    int PageWidth() const;
    void ScrollBy(int dx, int dy);
    void PaintChildren(HDC hDC, const RECT& rcPaint);
    CControlUI* FindInChildren(FINDCONTROLPROC Proc, LPVOID pData, UINT uFlags);

    CPtrArrayUI m_items;
    RECT m_rcInset;
    int m_iChildPadding;
    bool m_bAutoDestroy;
    bool m_bDelayedDestroy;
    bool m_bMouseChildEnabled;
    bool m_bScrollProcess;
    CScrollBarUI* m_pVerticalScrollBar;
    CScrollBarUI* m_pHorizontalScrollBar;
};

} // namespace UpdUI
