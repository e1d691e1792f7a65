#pragma once
#include "ContainerUI.h"

// Stacks its visible children top to bottom; children of height 0 share what the
// fixed ones leave, the last of them taking the remainder.
class CVerticalLayoutUI : public CContainerUI
{
public:
    CVerticalLayoutUI();

    LPCWSTR GetControlClass() const override;
    void SetPos(RECT rc) override;
};
