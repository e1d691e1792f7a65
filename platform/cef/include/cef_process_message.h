// Stand-in for the engine's inter-process messages: a name and an argument list.
#pragma once
#include "cef_values.h"

typedef enum {
    PID_BROWSER,
    PID_RENDERER,
} cef_process_id_t;
typedef cef_process_id_t CefProcessId;

class CefProcessMessage : public virtual CefBaseRefCounted
{
public:
    static CefRefPtr<CefProcessMessage> Create(const CefString& name);

    bool IsValid() const { return true; }
    // A deep copy; a message that crosses to the other side is always copied.
    CefRefPtr<CefProcessMessage> Copy() const;
    CefString GetName() const { return name_; }
    CefRefPtr<CefListValue> GetArgumentList() const { return arguments_; }

private:
    explicit CefProcessMessage(const CefString& name);
    CefString name_;
    CefRefPtr<CefListValue> arguments_;
    IMPLEMENT_REFCOUNTING(CefProcessMessage);
};
