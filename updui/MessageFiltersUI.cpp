#include "MessageFiltersUI.h"

namespace UpdUI {

bool CMessageFiltersUI::Add(IMessageFilterUI* pFilter)
{
    return pFilter != nullptr && m_aFilters.Add(pFilter);
}

bool CMessageFiltersUI::Remove(IMessageFilterUI* pFilter)
{
    return m_aFilters.Remove(m_aFilters.Find(pFilter));
}

bool CMessageFiltersUI::Run(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lRes) const
{
    for (int i = 0; i < m_aFilters.GetCount(); ++i) {
        bool bHandled = false;
        LRESULT lResult = static_cast<IMessageFilterUI*>(m_aFilters[i])->MessageHandler(uMsg, wParam, lParam, bHandled);
        if (bHandled) {
            lRes = lResult;
            return true;
        }
    }
    return false;
}

} // namespace UpdUI
