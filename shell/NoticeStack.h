#pragma once
#include <windows.h>

#include <deque>
#include <string>

class INoticeAddressTarget;

// The notice popups a page opened, oldest first. At most kMaxShown are on
// the screen: a further notice takes the place of the oldest one, so a page
// that sends notices without end never buries the screen in popups (every
// popup costs a window, and closing them one by one the user's time).
class CNoticeStack
{
public:
    static const size_t kMaxShown = 5;

    explicit CNoticeStack(INoticeAddressTarget* target) : m_target(target) { }

    void Show(const std::wstring& text, const std::wstring& address);
    // The popups still open, oldest first.
    size_t Count();

private:
    void ForgetClosed();

    INoticeAddressTarget* m_target;
    std::deque<HWND> m_popups;
};
