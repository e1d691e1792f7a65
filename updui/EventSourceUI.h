#pragma once
#include <windows.h>

#include "PtrArrayUI.h"

namespace UpdUI {

// A listener the application hangs on a control (init, destroy, size, event, notify).
// Its answer false stops the walk of the list and vetoes the event.
class IDelegateUI
{
public:
    virtual ~IDelegateUI() = default;
    virtual bool Invoke(void* pParam) = 0;
};

// The listeners of one kind on one control; owns them and deletes them with itself.
class CEventSourceUI
{
public:
    CEventSourceUI() = default;
    ~CEventSourceUI();
    CEventSourceUI(const CEventSourceUI&) = delete;
    CEventSourceUI& operator=(const CEventSourceUI&) = delete;

    explicit operator bool() const;
    bool HasAny() const;
    void operator+=(IDelegateUI* pDelegate);
    bool CallAll(void* pParam);

private:
    CPtrArrayUI m_aDelegates;
};

} // namespace UpdUI
