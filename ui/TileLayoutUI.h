#pragma once
#include "ContainerUI.h"

// Places its visible children in a grid of equal-width columns, row by row; each row
// is as high as its tallest child and every child is centred in its tile.
class CTileLayoutUI : public CContainerUI
{
public:
    CTileLayoutUI();

    LPCWSTR GetControlClass() const override;
    LPVOID GetInterface(LPCWSTR pstrName) override;
    void SetPos(RECT rc) override;
    void SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue) override;

    int GetColumns() const;
    void SetColumns(int nCols);

private:
    int MeasureRowHeight(int iFirst, int cxColumn) const;
    int TileInsetLeft(int iColumn) const;
    int TileInsetRight(int iColumn) const;

    int m_nColumns;
};
