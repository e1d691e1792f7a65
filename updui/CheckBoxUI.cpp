#include "CheckBoxUI.h"

namespace UpdUI {

LPCWSTR CCheckBoxUI::GetControlClass() const
{
    return L"CheckBoxUI";
}

} // namespace UpdUI
