#pragma once
#include <windows.h>

#include "ContainerUI.h"
#include "ListItemBaseUI.h"

namespace UpdUI {

// A list row that holds arbitrary controls: selected, activated and drawn in the
// owner's item style like the plain rows.
class CListContainerElementUI : public CListItemBaseUI<CContainerUI>
{
public:
    LPCWSTR GetControlClass() const override;
    LPVOID GetInterface(LPCWSTR pstrName) override;
    void DoEvent(TEventRecUI& event) override;
    void DoPaint(HDC hDC, const RECT& rcPaint) override;
    void DrawItemText(HDC hDC, const RECT& rcItem) override;
};

} // namespace UpdUI
