#pragma once
#include <deque>

#include "cef_process_message.h"

// The page commands waiting for the main window, in the order they came. A
// page can send thousands in a burst; the window runs what is waiting in one
// go, behind its own messages, and the queue stays small on the way: a
// command replaces the one of the same name still waiting (only the last
// full-screen, mini or stay-on-top state matters), and of the notices only
// the newest kMaxNotices wait (no more can be on the screen).
class CPageCommandQueue
{
public:
    static const size_t kMaxNotices = 5;

    // True when the queue was empty: the caller arranges a run.
    bool Add(CefRefPtr<CefProcessMessage> message);
    // Everything waiting, oldest first; the queue is empty afterwards.
    std::deque<CefRefPtr<CefProcessMessage>> TakeAll();
    size_t Size() const { return m_waiting.size(); }

private:
    void DropOldestNotice();
    void DropNamed(const std::string& name);

    std::deque<CefRefPtr<CefProcessMessage>> m_waiting;
};
