#pragma once
#include "ListTextElementUI.h"

class CContainerUI;

// A text row that can open a sub-container below its text. Whoever handles the
// expand notification attaches the sub-container with SetExpandContainer; the row
// owns it from then on.
class CListExpandElementUI : public CListTextElementUI
{
public:
    CListExpandElementUI();
    ~CListExpandElementUI() override;

    LPCWSTR GetControlClass() const override;
    LPVOID GetInterface(LPCWSTR pstrName) override;
    void SetManager(CWindowManagerUI* pManager, CControlUI* pParent) override;
    void SetPos(RECT rc) override;
    void SetVisible(bool bVisible = true) override;
    void SetInternalVisible(bool bVisible = true) override;
    void SetMouseEnabled(bool bEnable = true) override;
    CControlUI* FindControl(FINDCONTROLPROC Proc, LPVOID pData, UINT uFlags) override;
    void DoEvent(TEventRecUI& event) override;
    void SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue) override;
    SIZE EstimateSize(SIZE szAvailable) override;
    void DoPaint(HDC hDC, const RECT& rcPaint) override;

    bool IsExpanded() const override;
    bool Expand(bool bExpand = true) override;
    void DrawItemText(HDC hDC, const RECT& rcItem) override;

    CContainerUI* GetExpandContainer() const;
    void SetExpandContainer(CContainerUI* pContainer);
    RECT GetExpanderRect() const;
    void SetExpanderRect(RECT rc);
    bool IsHideSelf() const;
    void SetHideSelf(bool bHideSelf);

private:
    // The sub-container while it is shown, else null.
    CContainerUI* ShownContainer() const;
    int ContainerHeight(SIZE szAvailable) const;
    bool HandleExpandEvent(TEventRecUI& event);

    bool m_bExpanded;
    bool m_bHideSelf;
    RECT m_rcExpander;
    CContainerUI* m_pSubContainer;
};
