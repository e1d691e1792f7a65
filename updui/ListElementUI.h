#pragma once
#include <windows.h>

#include "ControlUI.h"
#include "ListItemBaseUI.h"

namespace UpdUI {

// Base of the plain list rows: index, selection, hot state and owner; activation by
// double click or ENTER; everything else goes to the owner.
class CListElementUI : public CListItemBaseUI<CControlUI>
{
public:
    LPCWSTR GetControlClass() const override;
    LPVOID GetInterface(LPCWSTR pstrName) override;
};

} // namespace UpdUI
