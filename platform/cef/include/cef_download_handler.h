// Stand-in for the engine's download hooks.
#pragma once
#include "cef_browser.h"

#include <cstdint>

class CefDownloadItem : public virtual CefBaseRefCounted
{
public:
    virtual bool IsValid() = 0;
    virtual bool IsInProgress() = 0;
    virtual bool IsComplete() = 0;
    virtual bool IsCanceled() = 0;
    virtual int64_t GetReceivedBytes() = 0;
    virtual int64_t GetTotalBytes() = 0;
    virtual CefString GetFullPath() = 0;
    virtual CefString GetURL() = 0;
    virtual CefString GetSuggestedFileName() = 0;
};

class CefBeforeDownloadCallback : public virtual CefBaseRefCounted
{
public:
    // An empty path lets the engine choose; show_dialog asks the user.
    virtual void Continue(const CefString& download_path, bool show_dialog) = 0;
};

class CefDownloadItemCallback : public virtual CefBaseRefCounted
{
public:
    virtual void Cancel() = 0;
};

class CefDownloadHandler : public virtual CefBaseRefCounted
{
public:
    // The download goes on only when the callback is continued.
    virtual void OnBeforeDownload(CefRefPtr<CefBrowser> browser, CefRefPtr<CefDownloadItem> download_item,
                                  const CefString& suggested_name, CefRefPtr<CefBeforeDownloadCallback> callback) = 0;
    virtual void OnDownloadUpdated(CefRefPtr<CefBrowser> browser, CefRefPtr<CefDownloadItem> download_item,
                                   CefRefPtr<CefDownloadItemCallback> callback)
    { }
};
