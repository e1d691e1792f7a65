#include "cef_cookie.h"

CefRefPtr<CefCookieManager> CefCookieManager::GetGlobalManager()
{
    static CefRefPtr<CefCookieManager> global = new CefCookieManager();
    return global;
}

void CefCookieManager::SetSupportedSchemes(const std::vector<CefString>& schemes)
{
    CefAutoLock hold(lock_);
    schemes_ = schemes;
}

std::vector<CefString> CefCookieManager::GetSupportedSchemes() const
{
    CefAutoLock hold(lock_);
    return schemes_;
}
