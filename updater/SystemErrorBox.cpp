#include "SystemErrorBox.h"

namespace {

LPWSTR FormatSystemText(DWORD errorCode)
{
    LPWSTR text = nullptr;
    FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_ALLOCATE_BUFFER, nullptr,
                   errorCode, 0, reinterpret_cast<LPWSTR>(&text), 0, nullptr);
    return text;
}

LPWSTR FormatWinInetText(DWORD errorCode)
{
    HMODULE module = LoadLibraryExW(L"wininet.dll", nullptr, DONT_RESOLVE_DLL_REFERENCES);
    if (!module) return nullptr;
    LPWSTR text = nullptr;
    FormatMessageW(FORMAT_MESSAGE_FROM_HMODULE | FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_ALLOCATE_BUFFER, module,
                   errorCode, 0, reinterpret_cast<LPWSTR>(&text), 0, nullptr);
    FreeLibrary(module);
    return text;
}

} // namespace

void ShowSystemErrorBox(DWORD errorCode)
{
    LPWSTR text = FormatSystemText(errorCode);
    if (!text) text = FormatWinInetText(errorCode);
    if (!text) return;
    MessageBoxW(nullptr, text, L"错误信息", MB_ICONERROR);
    LocalFree(text);
}
