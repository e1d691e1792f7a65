#include "EventSourceUI.h"

namespace UpdUI {

CEventSourceUI::~CEventSourceUI()
{
    for (int i = 0; i < m_aDelegates.GetCount(); ++i) {
        delete static_cast<IDelegateUI*>(m_aDelegates[i]);
    }
}

CEventSourceUI::operator bool() const
{
    return HasAny();
}

bool CEventSourceUI::HasAny() const
{
    return m_aDelegates.GetCount() > 0;
}

// A listener that cannot be stored is deleted at once, so it never leaks.
void CEventSourceUI::operator+=(IDelegateUI* pDelegate)
{
    if (pDelegate == nullptr) return;
    if (!m_aDelegates.Add(pDelegate)) delete pDelegate;
}

bool CEventSourceUI::CallAll(void* pParam)
{
    for (int i = 0; i < m_aDelegates.GetCount(); ++i) {
        IDelegateUI* pDelegate = static_cast<IDelegateUI*>(m_aDelegates[i]);
        if (pDelegate != nullptr && !pDelegate->Invoke(pParam)) return false;
    }
    return true;
}

} // namespace UpdUI
