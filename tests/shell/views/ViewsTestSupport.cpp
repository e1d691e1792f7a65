#include "ViewsTestSupport.h"

#include "ProgramGlobals.h"

namespace {

wchar_t g_modulePath[MAX_PATH];

} // namespace

std::wstring ViewsProgramFolder()
{
    return std::wstring(LUMORA_TEST_BUILD_DIR) + L"\\tests\\views\\";
}

void UseProgramFolder(const std::wstring& folder)
{
    std::wstring path = folder + L"lumora.exe";
    wcsncpy(g_modulePath, path.c_str(), MAX_PATH - 1);
    ModulePath = g_modulePath;
}

void FireControlTimer(CControlUI* pControl, UINT nTimerKey)
{
    TEventRecUI event = {};
    event.type = EventTimer;
    event.sender = pControl;
    event.timestamp = ::GetTickCount();
    event.wParam = nTimerKey;
    pControl->DoEvent(event);
}
