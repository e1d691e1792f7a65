#include "NotifyQueueUI.h"

#include <new>

#include "ControlUI.h"

namespace UpdUI {

CNotifyQueueUI::~CNotifyQueueUI()
{
    Clear();
}

bool CNotifyQueueUI::AddNotifier(INotifyUI* pNotifier)
{
    return pNotifier != nullptr && m_aNotifiers.Add(pNotifier);
}

void CNotifyQueueUI::Deliver(TNotifyRecUI& msg, bool bSenderAlive)
{
    if (bSenderAlive && msg.sender != nullptr && msg.sender->OnNotify.HasAny()) msg.sender->OnNotify.CallAll(&msg);
    for (int i = 0; i < m_aNotifiers.GetCount(); ++i) {
        static_cast<INotifyUI*>(m_aNotifiers[i])->Notify(msg);
    }
}

void CNotifyQueueUI::Queue(const TNotifyRecUI& msg)
{
    TNotifyRecUI* pCopy = new (std::nothrow) TNotifyRecUI(msg);
    if (pCopy == nullptr) return;
    if (!m_aQueue.Add(pCopy)) delete pCopy;
}

void CNotifyQueueUI::Drain()
{
    while (!m_aQueue.IsEmpty()) {
        TNotifyRecUI* pMsg = static_cast<TNotifyRecUI*>(m_aQueue[0]);
        m_aQueue.Remove(0);
        Deliver(*pMsg, pMsg->sender != nullptr);
        delete pMsg;
    }
}

void CNotifyQueueUI::ForgetSender(CControlUI* pControl)
{
    for (int i = 0; i < m_aQueue.GetCount(); ++i) {
        TNotifyRecUI* pMsg = static_cast<TNotifyRecUI*>(m_aQueue[i]);
        if (pMsg->sender == pControl) pMsg->sender = nullptr;
    }
}

void CNotifyQueueUI::Clear()
{
    for (int i = 0; i < m_aQueue.GetCount(); ++i) {
        delete static_cast<TNotifyRecUI*>(m_aQueue[i]);
    }
    m_aQueue.Empty();
}

} // namespace UpdUI
