#pragma once
#include <windows.h>

#include "ControlUI.h"

namespace UpdUI {

class CContainerUI;

// A scroll bar: two buttons, a rail and a thumb proportional to the visible share.
// It serves a container (which creates and places it) or stands alone.
class CScrollBarUI : public CControlUI
{
public:
    CScrollBarUI();

    LPCWSTR GetControlClass() const override;
    LPVOID GetInterface(LPCWSTR pstrName) override;
    void SetVisible(bool bVisible = true) override;
    void SetPos(RECT rc) override;

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

protected:
    void LayOut(int nLength, int nButton);

    bool m_bHorizontal;
    int m_nRange;
    int m_nScrollPos;
    int m_nLineSize;
    CContainerUI* m_pOwner;
    RECT m_rcButton1;
    bool m_bShowButton1;
    RECT m_rcButton2;
    bool m_bShowButton2;
    RECT m_rcThumb;
};

} // namespace UpdUI
