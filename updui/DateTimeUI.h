#pragma once
#include <windows.h>

#include "TextFieldUI.h"

namespace UpdUI {

class CDateTimeWnd;

// A date shown as label text "yyyy-mm-dd". While it has the focus a native date picker
// (CDateTimeWnd) lies over it: losing the focus takes the picked date, Backspace or
// Delete clears the text, Escape cancels.
class CDateTimeUI : public CTextFieldUI
{
    friend class CDateTimeWnd;

public:
    // What closing the picker does to the text.
    enum TUpdateKindUI {
        UpdateNone = 0,
        UpdateTakeDate = 1,
        UpdateCleared = 2,
        UpdateCancelled = 3,
    };

    CDateTimeUI();
    ~CDateTimeUI() override;

    LPCWSTR GetControlClass() const override;
    LPVOID GetInterface(LPCWSTR pstrName) override;
    void DoEvent(TEventRecUI& event) override;

    void UpdateText();

protected:
    void OpenPicker();

    SYSTEMTIME m_sysTime;
    int m_nUpdateKind;
    CDateTimeWnd* m_pWindow;
};

} // namespace UpdUI
