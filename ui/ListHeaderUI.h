#pragma once
#include "HorizontalLayoutUI.h"

// The row of column headers above a list's items.
class CListHeaderUI : public CHorizontalLayoutUI
{
public:
    LPCWSTR GetControlClass() const override;
    LPVOID GetInterface(LPCWSTR pstrName) override;
    SIZE EstimateSize(SIZE szAvailable) override;
};
