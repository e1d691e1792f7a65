// Stand-in for the engine's document access in the renderer.
#pragma once
#include "cef_base.h"

class CefDOMDocument;
class CefDOMEventListener;

class CefDOMNode : public virtual CefBaseRefCounted
{
public:
    virtual bool IsSame(CefRefPtr<CefDOMNode> that) = 0;
    virtual CefString GetName() = 0;
    virtual CefRefPtr<CefDOMDocument> GetDocument() = 0;
    virtual void AddEventListener(const CefString& eventType, CefRefPtr<CefDOMEventListener> listener,
                                  bool useCapture) = 0;
};

class CefDOMDocument : public virtual CefBaseRefCounted
{
public:
    // The document node.
    virtual CefRefPtr<CefDOMNode> GetDocument() = 0;
    virtual CefString GetBaseURL() = 0;
};

class CefDOMEvent : public virtual CefBaseRefCounted
{
public:
    virtual CefString GetType() = 0;
    virtual CefRefPtr<CefDOMDocument> GetDocument() = 0;
    virtual CefRefPtr<CefDOMNode> GetTarget() = 0;
};

class CefDOMEventListener : public virtual CefBaseRefCounted
{
public:
    virtual void HandleEvent(CefRefPtr<CefDOMEvent> event) = 0;
};

// Given the document of a frame on the renderer thread (CefFrame::VisitDOM).
class CefDOMVisitor : public virtual CefBaseRefCounted
{
public:
    virtual void Visit(CefRefPtr<CefDOMDocument> document) = 0;
};
