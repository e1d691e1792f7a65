#pragma once
#include <windows.h>

#include "OptionUI.h"

namespace UpdUI {

// An option under its own class name, so skins can give check boxes their own defaults.
class CCheckBoxUI : public COptionUI
{
public:
    LPCWSTR GetControlClass() const override;
};

} // namespace UpdUI
