#pragma once
#include <windows.h>

#include "ControlUI.h"

namespace UpdUI {

class CContainerUI;

// The parts of a scroll bar that carry images, and the states each part has an image for.
enum TScrollPartUI {
    ScrollPartButton1 = 0,
    ScrollPartButton2,
    ScrollPartThumb,
    ScrollPartRail,
    ScrollPartBk,
    ScrollPartCount
};

enum TScrollImageStateUI {
    ScrollImageNormal = 0,
    ScrollImageHot,
    ScrollImagePushed,
    ScrollImageDisabled,
    ScrollImageStateCount
};

// A scroll bar: two buttons, a rail and a thumb proportional to the visible share, with
// auto-repeat while a part is held and thumb dragging. It serves a container (which
// creates and places it) or stands alone and reports "scroll".
class CScrollBarUI : public CControlUI
{
public:
    enum { REPEAT_TIMER_KEY = 10, REPEAT_ELAPSE = 50, REPEAT_DELAY_TICKS = 5 };

    CScrollBarUI();
    ~CScrollBarUI() override;

    LPCWSTR GetControlClass() const override;
    LPVOID GetInterface(LPCWSTR pstrName) override;
    void SetVisible(bool bVisible = true) override;
    void SetEnabled(bool bEnable = true) override;
    void SetFocus() override;
    void SetPos(RECT rc) override;
    void DoEvent(TEventRecUI& event) override;
    void SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue) override;
    void DoPaint(HDC hDC, const RECT& rcPaint) override;

    CContainerUI* GetOwner() const;
    void SetOwner(CContainerUI* pOwner);
    bool IsHorizontal() const;
    void SetHorizontal(bool bHorizontal = true);
    int GetScrollRange() const;
    void SetScrollRange(int nRange);
    int GetScrollPos() const;
    void SetScrollPos(int nPos);
    int GetLineSize() const;
    void SetLineSize(int nSize);
    bool GetShowButton1() const;
    void SetShowButton1(bool bShow);
    bool GetShowButton2() const;
    void SetShowButton2(bool bShow);
    RECT GetButton1Rect() const;
    RECT GetButton2Rect() const;
    RECT GetThumbRect() const;
    UINT GetButton1State() const;
    UINT GetButton2State() const;
    UINT GetThumbState() const;

    LPCWSTR GetPartImage(TScrollPartUI part, TScrollImageStateUI state) const;
    void SetPartImage(TScrollPartUI part, TScrollImageStateUI state, LPCWSTR pStrImage);

protected:
    void LayOut(int nLength, int nButton);

    // One scrolling step each; with an owner the container scrolls itself.
    void LineBack();
    void LineForward();
    void PageBack();
    void PageForward();
    void ScrollTo(int nPos);
    void NotifyScroll();
    // Pages towards the point when it lies before or after the thumb on the axis.
    void PageTowards(POINT pt);
    int ButtonSize() const;

    void OnButtonDown(const TEventRecUI& event);
    void OnButtonUp();
    void OnMouseMove(const TEventRecUI& event);
    void OnRepeatTimer();
    void OnMouseEnter(const TEventRecUI& event);
    void OnMouseLeave();
    void PassOn(TEventRecUI& event);

    void PaintBk(HDC hDC);
    // Draws a part's image for its state; false when no image could be drawn.
    bool PaintPart(HDC hDC, TScrollPartUI part, UINT uState, const RECT& rcPart);
    void PaintRail(HDC hDC);

    bool m_bHorizontal;
    int m_nRange;
    int m_nScrollPos;
    int m_nLineSize;
    CContainerUI* m_pOwner;
    POINT m_ptLastMouse;
    int m_nLastScrollPos;
    int m_nLastScrollOffset;
    int m_nScrollRepeatDelay;
    RECT m_rcButton1;
    bool m_bShowButton1;
    UINT m_uButton1State;
    RECT m_rcButton2;
    bool m_bShowButton2;
    UINT m_uButton2State;
    RECT m_rcThumb;
    UINT m_uThumbState;
    CStringUI m_sImages[ScrollPartCount][ScrollImageStateCount];
    CStringUI m_sImageModify;
};

} // namespace UpdUI
