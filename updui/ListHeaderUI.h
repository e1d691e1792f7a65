#pragma once
#include <windows.h>

#include "HorizontalLayoutUI.h"

namespace UpdUI {

// The column header of a list: a row of header items whose positions are the columns.
class CListHeaderUI : public CHorizontalLayoutUI
{
public:
    LPCWSTR GetControlClass() const override;
    LPVOID GetInterface(LPCWSTR pstrName) override;
    SIZE EstimateSize(SIZE szAvailable) override;
};

} // namespace UpdUI
