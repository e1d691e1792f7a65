// What only the engine stand-in offers: acting as the page of a browser, for
// tests and for the command-line client tools/pagecall.
//
// A page call is a UTF-8 JSON request
//   {"browser": <id, or 0 for the first browser>, "call": "<name>", "args": [...]}
// with "frame": "<address>" added, an "app." call is made from a frame of
// that address inside the page instead of from the page itself.
// answered by one of
//   {"result": <value>}        the call returned a value
//   {}                         the call returned undefined
//   {"exception": "<text>"}    the call threw
//   {"error": "<text>"}        the call could not be made (no such browser ...)
// Calls: "app.<function>" runs a function of the page's app object as the
// registered extension declares it; "list" returns the browsers
// [{"id", "url", "popup"}]; page actions: "window.open" (url, name),
// "alert" (text), "confirm" (text), "requestFullscreen", "exitFullscreen",
// "crash" (the renderer of the browser dies).
#pragma once
#include "cef_base.h"

#include <string>

// Class of the hidden window of the renderer thread that takes page calls by
// WM_COPYDATA: dwData kCefPageCallRequest, the request's UTF-8 bytes, wParam
// the window that gets the answer by WM_COPYDATA with dwData kCefPageCallReply.
#define CEF_PAGE_CHANNEL_CLASS L"LumoraCefPageChannel"
const ULONG_PTR kCefPageCallRequest = 0x4C504351; // 'LPCQ'
const ULONG_PTR kCefPageCallReply = 0x4C504352;   // 'LPCR'

// Runs one page call on the renderer thread; the calling thread's messages are
// dispatched while it waits, so it may be the engine's UI thread.
std::string CefStandInCallPage(const std::string& requestJson);

// The script source registered under the extension name; false when none.
bool CefStandInGetExtension(const CefString& name, CefString* source);
