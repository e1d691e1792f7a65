#include "PageCommandQueue.h"

#include <algorithm>
#include <string>

namespace {

const char kNotice[] = "notice";

std::string NameOf(const CefRefPtr<CefProcessMessage>& message)
{
    return message->GetName().ToString();
}

} // namespace

bool CPageCommandQueue::Add(CefRefPtr<CefProcessMessage> message)
{
    if (!message) return false;
    const bool wasEmpty = m_waiting.empty();
    const std::string name = NameOf(message);
    if (name == kNotice) {
        size_t notices = std::count_if(m_waiting.begin(), m_waiting.end(),
                                       [](const CefRefPtr<CefProcessMessage>& m) { return NameOf(m) == kNotice; });
        if (notices >= kMaxNotices) DropOldestNotice();
    } else {
        DropNamed(name);
    }
    m_waiting.push_back(message);
    return wasEmpty;
}

std::deque<CefRefPtr<CefProcessMessage>> CPageCommandQueue::TakeAll()
{
    std::deque<CefRefPtr<CefProcessMessage>> taken;
    taken.swap(m_waiting);
    return taken;
}

void CPageCommandQueue::DropOldestNotice()
{
    auto oldest = std::find_if(m_waiting.begin(), m_waiting.end(),
                               [](const CefRefPtr<CefProcessMessage>& m) { return NameOf(m) == kNotice; });
    if (oldest != m_waiting.end()) m_waiting.erase(oldest);
}

void CPageCommandQueue::DropNamed(const std::string& name)
{
    m_waiting.erase(std::remove_if(m_waiting.begin(), m_waiting.end(),
                                   [&](const CefRefPtr<CefProcessMessage>& m) { return NameOf(m) == name; }),
                    m_waiting.end());
}
