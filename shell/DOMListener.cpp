#include "DOMListener.h"

void DOMListener::HandleEvent(CefRefPtr<CefDOMEvent> event)
{
    if (m_browser) m_browser->SendProcessMessage(PID_BROWSER, CefProcessMessage::Create("DomComplete"));
}
