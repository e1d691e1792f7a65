#pragma once
#include <windows.h>
#include <exdisp.h>

#ifdef __cplusplus
extern "C" {
#endif

// What the stand-in web browser was asked to do.
typedef struct TFakeBrowserLog
{
    int nNavigations;
    WCHAR szLastUrl[1024];
    int nScriptCalls;
    WCHAR szLastScriptName[64];
    BOOL bHasDocument;   // FALSE: get_Document gives nothing
    int nServiceQueries; // IServiceProvider asked of the browser (it has none)
} TFakeBrowserLog;

// A web browser automation object that only navigates (Navigate and Navigate2,
// recording the address) and hands out a document whose script object knows one
// function, "refresh". Every other method is never called.
IWebBrowser2* FakeBrowserCreate(TFakeBrowserLog* pLog);

#ifdef __cplusplus
}
#endif
