#pragma once
#include "ControlUI.h"

class CContainerUI;

// A skinned vertical or horizontal scroll bar: background, two arrow buttons, a thumb
// and a rail drawn over the thumb's middle. With an owner container the bar scrolls
// the owner; without one it only moves its own position. A held part repeats its
// action from a manager timer.
class CScrollbarUI : public CControlUI
{
public:
    enum { DEFAULT_SCROLLBAR_SIZE = 16, REPEAT_TIMER_KEY = 10, REPEAT_ELAPSE = 50, REPEAT_FIRST_TICK = 6 };

    CScrollbarUI();
    ~CScrollbarUI() override;

    LPCWSTR GetControlClass() const override;
    LPVOID GetInterface(LPCWSTR pstrName) override;
    void SetPos(RECT rc) override;
    void SetEnabled(bool bEnable = true) override;
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

    RECT GetButton1Rect() const;
    RECT GetButton2Rect() const;
    RECT GetThumbRect() const;
    UINT GetButton1State() const;
    UINT GetButton2State() const;
    UINT GetThumbState() const;

private:
    enum { IMAGE_NORMAL, IMAGE_HOT, IMAGE_PUSHED, IMAGE_DISABLED, IMAGE_COUNT };

    // One drawn piece of the bar: where it is, its state bits and its state images.
    struct TPartUI
    {
        RECT rc;
        UINT uState;
        CStringUI sImages[IMAGE_COUNT];
    };

    void LayoutParts();
    int ButtonSize() const;
    int AxisLength() const;
    int AxisCoord(POINT pt) const;
    int ThumbStart() const;
    int ThumbEnd() const;

    bool OnButtonDown(const TEventRecUI& event);
    bool OnButtonUp();
    bool OnMouseMove(const TEventRecUI& event);
    bool OnTimer(const TEventRecUI& event);
    bool OnMouseEnter(const TEventRecUI& event);
    bool OnMouseLeave();
    void ForwardEvent(TEventRecUI& event);

    void StepButton1();
    void StepButton2();
    void StepRail(POINT pt);
    void ApplyThumbDrag();
    void Scroll(int nDelta);

    bool SetImageAttribute(LPCWSTR pstrName, LPCWSTR pstrValue);
    void PaintPart(HDC hDC, CStringUI* pImages, UINT uState, const RECT* prcPart, bool bFrameFallback);
    bool DrawOrForget(HDC hDC, CStringUI& sImage, const RECT* prcPart);
    RECT GetRailRect() const;

    bool m_bHorizontal;
    int m_nRange;
    int m_nScrollPos;
    int m_nLineSize;
    CContainerUI* m_pOwner;
    POINT m_ptLastMouse;
    int m_nLastScrollPos;
    int m_nLastScrollOffset;
    int m_nScrollRepeatDelay;
    CStringUI m_sBkImages[IMAGE_COUNT];
    TPartUI m_button1;
    TPartUI m_button2;
    TPartUI m_thumb;
    CStringUI m_sRailImages[IMAGE_COUNT];
    CStringUI m_sImageModify;
};
