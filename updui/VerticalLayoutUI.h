#pragma once
#include <windows.h>

#include "SeparatorLayoutUI.h"

namespace UpdUI {

// Places its children top to bottom; children without a fixed height share what the
// fixed ones leave. An optional separator along its own bottom (size > 0) or top
// (size < 0) edge lets the user drag the layout's height.
class CVerticalLayoutUI : public CSeparatorLayoutUI
{
public:
    CVerticalLayoutUI();

    LPCWSTR GetControlClass() const override;
    LPVOID GetInterface(LPCWSTR pstrName) override;
    void SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue) override;

    int GetSepHeight() const;
    void SetSepHeight(int iHeight);
};

} // namespace UpdUI
