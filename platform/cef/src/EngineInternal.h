// What the parts of the engine stand-in share. Not for the program.
#pragma once
#include <functional>
#include <string>

#include "cef_app.h"

namespace cef_stand_in {

using Task = std::function<void()>;

// Runs the task later on the thread that initialised the engine (the UI
// thread) or on the renderer thread; false when that thread is not there.
bool PostToUi(Task task);
bool PostToRenderer(Task task);

// UI thread: starts the renderer thread when the first browser needs it.
bool EnsureRenderer();

CefRefPtr<CefApp> Application();

// Extension registry (cef_v8.cpp).
CefRefPtr<CefV8Handler> FindNativeFunction(const std::wstring& objectName, const std::wstring& function);
void ClearExtensions();

std::wstring Utf8ToWide(const std::string& text);
std::string WideToUtf8(const std::wstring& text);

} // namespace cef_stand_in
