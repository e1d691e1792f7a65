#pragma once
#include <windows.h>

#include "MenuListElementUI.h"

// A menu item with a text, a numeric id ("labelid") sent when it is chosen, an
// optional check mark and an optional sub-menu ("nextmenu").
class CMenuListLabelUI : public CMenuListElementUI
{
public:
    CMenuListLabelUI();

    LPCWSTR GetControlClass() const override;
    LPVOID GetInterface(LPCWSTR pstrName) override;
    void DoEvent(TEventRecUI& event) override;
    void SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue) override;
    SIZE EstimateSize(SIZE szAvailable) override;
    void DoPaint(HDC hDC, const RECT& rcPaint) override;
    void DrawItemText(HDC hDC, const RECT& rcItem) override;

    int GetLabelId() const;
    bool IsChecked() const;
    void SetChecked(bool bChecked);

private:
    void OnMouseEnter(TEventRecUI& event);
    void OnChosen();
    bool PaintItemBackground(HDC hDC, TMenuInfoUI& info);
    DWORD CurrentTextColor(const TMenuInfoUI& info) const;

    int m_iLabelId;
    bool m_bChecked;
};
