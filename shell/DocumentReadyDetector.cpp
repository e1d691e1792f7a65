#include "DocumentReadyDetector.h"

#include "DOMListener.h"

void DocumentReadyDetector::Visit(CefRefPtr<CefDOMDocument> document)
{
    if (!document) return;
    CefRefPtr<CefDOMNode> node = document->GetDocument();
    if (node) node->AddEventListener(L"DOMContentLoaded", new DOMListener(m_browser), true);
}
