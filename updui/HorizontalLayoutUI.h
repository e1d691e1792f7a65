#pragma once
#include <windows.h>

#include "SeparatorLayoutUI.h"

namespace UpdUI {

// Places its children left to right; children without a fixed width share what the
// fixed ones leave. An optional separator along its own right (size > 0) or left
// (size < 0) edge lets the user drag the layout's width.
class CHorizontalLayoutUI : public CSeparatorLayoutUI
{
public:
    CHorizontalLayoutUI();

    LPCWSTR GetControlClass() const override;
    LPVOID GetInterface(LPCWSTR pstrName) override;
    void SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue) override;

    int GetSepWidth() const;
    void SetSepWidth(int iWidth);
};

} // namespace UpdUI
