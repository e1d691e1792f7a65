#pragma once
#include <windows.h>

#include "ContainerUI.h"

namespace UpdUI {

// Places its children in rows of equal-width tiles, each child centred in its tile; a
// row is as high as its tallest member.
class CTileLayoutUI : public CContainerUI
{
public:
    CTileLayoutUI();

    LPCWSTR GetControlClass() const override;
    LPVOID GetInterface(LPCWSTR pstrName) override;
    void SetPos(RECT rc) override;
    void SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue) override;

    SIZE GetItemSize() const;
    void SetItemSize(SIZE szItem);
    int GetColumns() const;
    void SetColumns(int nCols);

protected:
    // The height of the row that starts with item iFirst, as tall as its tallest member.
    int MeasureRow(int iFirst, int iCount, int cxTile) const;

    SIZE m_szItem;
    int m_nColumns;
};

} // namespace UpdUI
