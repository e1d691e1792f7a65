#pragma once
#include <windows.h>

namespace UpdUI {

class CControlUI;

// Keys aimed at a hosted web browser's document window: the browser gets to
// translate them as accelerators before the message loop does.
class CBrowserKeysUI
{
public:
    // True when pControl hosts a browser whose document window the message is for and
    // the browser translated it.
    static bool Translate(CControlUI* pControl, MSG* pMsg);
};

} // namespace UpdUI
