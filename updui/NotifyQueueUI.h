#pragma once
#include <windows.h>

#include "PtrArrayUI.h"

namespace UpdUI {

class CControlUI;
class INotifyUI;
struct TNotifyRecUI;

// Where a manager's notifications go: the sender's own listeners, then the registered
// notifiers in order. An asynchronous notification waits, as a copy, until the manager
// drains the queue at its next message.
class CNotifyQueueUI
{
public:
    CNotifyQueueUI() = default;
    ~CNotifyQueueUI();
    CNotifyQueueUI(const CNotifyQueueUI&) = delete;
    CNotifyQueueUI& operator=(const CNotifyQueueUI&) = delete;

    bool AddNotifier(INotifyUI* pNotifier);
    // Delivers at once; the sender's listeners are skipped when it is gone.
    void Deliver(TNotifyRecUI& msg, bool bSenderAlive);
    void Queue(const TNotifyRecUI& msg);
    // Delivers the queued notifications, oldest first, including any queued meanwhile.
    void Drain();
    // A control being deleted: its queued notifications keep going, without a sender.
    void ForgetSender(CControlUI* pControl);
    // Frees the queue undelivered.
    void Clear();

private:
    CPtrArrayUI m_aNotifiers;
    CPtrArrayUI m_aQueue;
};

} // namespace UpdUI
