#pragma once
#include <windows.h>
#include <exdisp.h>

#ifdef __cplusplus
extern "C" {
#endif

// What the stand-in browser was asked to do.
typedef struct TFakeWebBrowserLog
{
    int nNavigations;
    WCHAR szLastUrl[512];
    int nServiceQueries; // IServiceProvider asked of the browser (it has none)
} TFakeWebBrowserLog;

// An IWebBrowser2 that only records Navigate2; every other method is never called.
IWebBrowser2* FakeWebBrowserCreate(TFakeWebBrowserLog* pLog);

#ifdef __cplusplus
}
#endif
