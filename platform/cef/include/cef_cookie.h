// Stand-in for the engine's cookie store.
#pragma once
#include "cef_base.h"

#include <vector>

class CefCookieManager : public virtual CefBaseRefCounted
{
public:
    static CefRefPtr<CefCookieManager> GetGlobalManager();
    // Cookies are kept only for addresses with these schemes.
    void SetSupportedSchemes(const std::vector<CefString>& schemes);
    // Only the stand-in offers this: tests read back what the program set.
    std::vector<CefString> GetSupportedSchemes() const;

private:
    CefCookieManager() = default;
    mutable CefCriticalSection lock_;
    std::vector<CefString> schemes_;
    IMPLEMENT_REFCOUNTING(CefCookieManager);
};
