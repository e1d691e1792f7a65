#include "DOMListener.h"

void DOMListener::HandleEvent(CefRefPtr<CefDOMEvent> event) {
  if (browser_) browser_->SendProcessMessage(PID_BROWSER, CefProcessMessage::Create("DomComplete"));
}
