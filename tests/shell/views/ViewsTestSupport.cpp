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

void PumpMessages()
{
    MSG msg;
    for (int round = 0; round < 3; round++) {
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
        ::Sleep(10);
    }
}

bool PumpUntil(const std::function<bool()>& done)
{
    for (int i = 0; i < 250 && !done(); i++) PumpMessages();
    return done();
}

POINT CentreOf(const CControlUI* pControl)
{
    const RECT& rc = pControl->GetPos();
    return POINT{ (rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2 };
}

void PostClick(HWND hWnd, POINT pt)
{
    const LPARAM lParam = MAKELPARAM(pt.x, pt.y);
    ::PostMessageW(hWnd, WM_MOUSEMOVE, 0, lParam);
    ::PostMessageW(hWnd, WM_LBUTTONDOWN, MK_LBUTTON, lParam);
    ::PostMessageW(hWnd, WM_LBUTTONUP, 0, lParam);
    PumpMessages();
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
