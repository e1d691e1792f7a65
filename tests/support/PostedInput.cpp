#include "PostedInput.h"

#include <string>

void PumpMessages(int rounds)
{
    MSG msg;
    for (int round = 0; round < rounds; round++) {
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

POINT CentreOf(const RECT& rc)
{
    return POINT{ (rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2 };
}

void PostClick(HWND hWnd, POINT pt, int pumpRounds)
{
    const LPARAM lParam = MAKELPARAM(pt.x, pt.y);
    ::PostMessageW(hWnd, WM_MOUSEMOVE, 0, lParam);
    ::PostMessageW(hWnd, WM_LBUTTONDOWN, MK_LBUTTON, lParam);
    ::PostMessageW(hWnd, WM_LBUTTONUP, 0, lParam);
    PumpMessages(pumpRounds);
}

void SendClickAt(HWND hWnd, POINT ptClient)
{
    ::ClientToScreen(hWnd, &ptClient);
    ::SetCursorPos(ptClient.x, ptClient.y);
    INPUT input[2] = {};
    input[0].type = input[1].type = INPUT_MOUSE;
    input[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    input[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    ::SendInput(2, input, sizeof(INPUT));
}

void SendKeyPress(WORD vk)
{
    INPUT input[2] = {};
    input[0].type = input[1].type = INPUT_KEYBOARD;
    input[0].ki.wVk = input[1].ki.wVk = vk;
    input[1].ki.dwFlags = KEYEVENTF_KEYUP;
    ::SendInput(2, input, sizeof(INPUT));
}

// The display's own input: xdotool run as a Unix program, waited for.
bool RunXdotool(const std::wstring& args)
{
    std::wstring cmd = L"Z:\\usr\\bin\\xdotool " + args;
    STARTUPINFOW si = {};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi = {};
    if (!::CreateProcessW(nullptr, &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return false;
    ::WaitForSingleObject(pi.hProcess, 5000);
    ::CloseHandle(pi.hProcess);
    ::CloseHandle(pi.hThread);
    return true;
}

bool XClickAt(HWND hWnd, POINT ptClient)
{
    ::ClientToScreen(hWnd, &ptClient);
    return RunXdotool(L"mousemove " + std::to_wstring(ptClient.x) + L" " + std::to_wstring(ptClient.y) + L" click 1");
}

bool XKey(const wchar_t* key)
{
    return RunXdotool(std::wstring(L"key ") + key);
}
