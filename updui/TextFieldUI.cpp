#include "TextFieldUI.h"

#include "ControlStateUI.h"

namespace UpdUI {

bool CTextFieldUI::DoFieldEvent(TEventRecUI& event, bool bWindowOpen)
{
    if (!IsMouseEnabled() && IsMouseEvent(event.type)) {
        if (m_pParent != nullptr)
            m_pParent->DoEvent(event);
        else
            CLabelUI::DoEvent(event);
        return true;
    }
    switch (event.type) {
    case EventSetCursor:
        if (!IsEnabled()) break;
        ::SetCursor(::LoadCursorW(nullptr, IDC_IBEAM));
        return true;
    case EventWindowSize:
        if (bWindowOpen && m_pManager != nullptr) m_pManager->SetFocusNeeded(this);
        return true;
    case EventScrollWheel:
        if (bWindowOpen) return true;
        break;
    case EventKillFocus:
        if (!IsEnabled()) break;
        m_bFocused = false;
        Invalidate();
        return true;
    case EventMouseMove:
    case EventButtonUp:
    case EventContextMenu: return true;
    default: return false;
    }
    CLabelUI::DoEvent(event);
    return true;
}

} // namespace UpdUI
