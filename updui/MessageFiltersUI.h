#pragma once
#include <windows.h>

#include "PtrArrayUI.h"
#include "uishared/MessageFilterUI.h"

namespace UpdUI {

using UIShared::IMessageFilterUI;

// An ordered list of message filters: the first that says it handled a message ends
// the round with its answer. A manager keeps one for its window's messages and one
// for the messages it pre-translates.
class CMessageFiltersUI
{
public:
    bool Add(IMessageFilterUI* pFilter);
    // The first occurrence; false when the filter is not listed.
    bool Remove(IMessageFilterUI* pFilter);
    bool Run(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lRes) const;

private:
    CPtrArrayUI m_aFilters;
};

} // namespace UpdUI
