#include "DateTimeUI.h"

#include <cwchar>

#include "DateTimeWnd.h"

namespace UpdUI {

CDateTimeUI::CDateTimeUI() : m_sysTime(), m_nUpdateKind(UpdateNone), m_pWindow(nullptr)
{
    ::GetLocalTime(&m_sysTime);
    m_nUpdateKind = UpdateTakeDate;
    UpdateText();
    m_nUpdateKind = UpdateNone;
}

// An open picker outlives its owner by a posted close; it must not call back.
CDateTimeUI::~CDateTimeUI()
{
    if (m_pWindow != nullptr) m_pWindow->Detach();
    m_pWindow = nullptr;
}

LPCWSTR CDateTimeUI::GetControlClass() const
{
    return L"DateTimeUI";
}

LPVOID CDateTimeUI::GetInterface(LPCWSTR pstrName)
{
    if (pstrName != nullptr && wcscmp(pstrName, L"DateTime") == 0) return this;
    return CLabelUI::GetInterface(pstrName);
}

void CDateTimeUI::UpdateText()
{
    if (m_nUpdateKind == UpdateCleared) {
        SetText(L"");
    } else if (m_nUpdateKind == UpdateTakeDate) {
        CStringUI sText;
        sText.Format(L"%4d-%02d-%02d", m_sysTime.wYear, m_sysTime.wMonth, m_sysTime.wDay);
        SetText(sText.GetData());
    }
}

void CDateTimeUI::OpenPicker()
{
    bool bNew = m_pWindow == nullptr;
    CDateTimeWnd* pWindow = bNew ? new CDateTimeWnd : m_pWindow;
    m_pWindow = pWindow;
    if (pWindow->Init(this)) {
        pWindow->Show(true, true);
        return;
    }
    if (bNew) {
        m_pWindow = nullptr;
        delete pWindow;
    }
}

void CDateTimeUI::DoEvent(TEventRecUI& event)
{
    if (DoFieldEvent(event, m_pWindow != nullptr)) return;
    switch (event.type) {
    case EventSetFocus:
        if (!IsEnabled()) break;
        m_bFocused = true;
        if (m_pWindow == nullptr) OpenPicker();
        return;
    case EventMouseLeave:
    case EventMouseEnter: return;
    case EventButtonDown:
    case EventRightButtonDown:
    case EventDoubleClick:
        if (!IsEnabled()) break;
        if (m_pManager != nullptr) m_pManager->ReleaseCapture();
        if (m_pWindow != nullptr || IsFocused()) OpenPicker();
        return;
    default: break;
    }
    CLabelUI::DoEvent(event);
}

} // namespace UpdUI
