#pragma once
#include <windows.h>

namespace UIShared {

// A window manager's message filter: offered each message before the manager's own
// handling; setting bHandled ends the round with the returned result. Both libraries
// ask their filters alike.
class IMessageFilterUI
{
public:
    virtual LRESULT MessageHandler(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled) = 0;

protected:
    ~IMessageFilterUI() = default;
};

} // namespace UIShared
