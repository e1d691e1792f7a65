#pragma once
#include "ContainerUI.h"
#include "ListItemBaseUI.h"

// A row whose content is its child controls. The children take mouse input only
// while the row is selected.
class CListContainerElementUI : public CListItemBaseUI<CContainerUI>
{
public:
    LPCWSTR GetControlClass() const override;
    void DoPaint(HDC hDC, const RECT& rcPaint) override;
    void DrawItemText(HDC hDC, const RECT& rcItem) override;

protected:
    void OnSelect() override;
};
