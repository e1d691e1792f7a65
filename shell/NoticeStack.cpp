#include "NoticeStack.h"

#include <algorithm>

#include "HelpWnd.h"

void CNoticeStack::Show(const std::wstring& text, const std::wstring& address)
{
    ForgetClosed();
    if (m_popups.size() >= kMaxShown) {
        HWND oldest = m_popups.front();
        m_popups.pop_front();
        if (CHelpWnd* popup = CHelpWnd::FromWindow(oldest)) {
            popup->Replace(text, address);
            m_popups.push_back(oldest);
            return;
        }
    }
    // The popup belongs to its window from here on (or is gone when it has none).
    if (HWND popup = (new CHelpWnd(m_target))->Show(text, address)) m_popups.push_back(popup);
}

size_t CNoticeStack::Count()
{
    ForgetClosed();
    return m_popups.size();
}

// A popup the user closed leaves a handle that no longer names it.
void CNoticeStack::ForgetClosed()
{
    m_popups.erase(std::remove_if(m_popups.begin(), m_popups.end(),
                                  [](HWND popup) { return CHelpWnd::FromWindow(popup) == nullptr; }),
                   m_popups.end());
}
