#pragma once
#include "ControlUI.h"
#include "ListItemBaseUI.h"

// Base of the rows that are single controls (label, text and expand rows), painted
// in the owner's item style. Subclasses draw the text.
class CListElementUI : public CListItemBaseUI<CControlUI>
{
public:
    void DoPaint(HDC hDC, const RECT& rcPaint) override;

protected:
    DWORD CurrentTextColor() const;
};
