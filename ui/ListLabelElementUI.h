#pragma once
#include "ListElementUI.h"

// A row that shows its own text in one cell.
class CListLabelElementUI : public CListElementUI
{
public:
    LPCWSTR GetControlClass() const override;
    LPVOID GetInterface(LPCWSTR pstrName) override;
    SIZE EstimateSize(SIZE szAvailable) override;
    void DrawItemText(HDC hDC, const RECT& rcItem) override;

private:
    int MeasureTextWidth(const TListInfoUI& info, int cyItem) const;
};
