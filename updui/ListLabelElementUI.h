#pragma once
#include <windows.h>

#include "ListElementUI.h"

namespace UpdUI {

// A list row showing one text in the owner's item style; a press selects it.
class CListLabelElementUI : public CListElementUI
{
public:
    LPCWSTR GetControlClass() const override;
    LPVOID GetInterface(LPCWSTR pstrName) override;
    void DoEvent(TEventRecUI& event) override;
    SIZE EstimateSize(SIZE szAvailable) override;
    void DoPaint(HDC hDC, const RECT& rcPaint) override;
    void DrawItemText(HDC hDC, const RECT& rcItem) override;

protected:
    // The height of the owner's item font with its padding and a margin; -1 without
    // a manager.
    int ItemHeight(const TListInfoUI& info) const;
};

} // namespace UpdUI
