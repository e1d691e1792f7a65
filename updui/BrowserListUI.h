#pragma once
#include <windows.h>

#include "PtrArrayUI.h"

namespace UpdUI {

class CControlUI;
class CWindowManagerUI;

// The ActiveX hosts one window manager lists, so that keys aimed at a hosted
// browser's document window reach that browser before translation. A host is on one
// manager's list at a time and knows which.
class CBrowserListUI
{
public:
    // False for a control that hosts nothing or is listed already; a host listed by
    // another manager moves over.
    bool Add(CControlUI* pControl, CWindowManagerUI* pManager);
    bool Remove(CControlUI* pControl, CWindowManagerUI* pManager);
    // Hosts that outlive the manager must not reach back into it.
    void RemoveAll(CWindowManagerUI* pManager);
    int GetCount() const;
    // True when a listed browser translated the message as an accelerator.
    bool TranslateAccelerator(MSG* pMsg) const;

private:
    CPtrArrayUI m_aBrowsers;
};

} // namespace UpdUI
