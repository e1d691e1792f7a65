// Stand-in for the engine's command line object.
#pragma once
#include "cef_base.h"

#include <vector>

class CefCommandLine : public virtual CefBaseRefCounted
{
public:
    static CefRefPtr<CefCommandLine> CreateCommandLine();
    void InitFromString(const CefString& command_line);
    CefString GetCommandLineString() const;
    bool HasSwitch(const CefString& name) const;
    CefString GetSwitchValue(const CefString& name) const;
    void AppendSwitch(const CefString& name);
    void AppendSwitchWithValue(const CefString& name, const CefString& value);

private:
    CefCommandLine() = default;
    std::vector<std::wstring> words_;
    IMPLEMENT_REFCOUNTING(CefCommandLine);
};
