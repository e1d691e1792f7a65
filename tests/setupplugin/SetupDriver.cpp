#include "SetupDriver.h"

#include <cstdlib>
#include <vector>

namespace {

const DWORD kPollMs = 50;
const int kColorTolerance = 24;

struct TWindowSearch
{
    LPCWSTR pstrTitle;
    HWND hFound;
};

BOOL CALLBACK FindSkinnedWindow(HWND hWnd, LPARAM lParam)
{
    TWindowSearch* pSearch = reinterpret_cast<TWindowSearch*>(lParam);
    wchar_t className[32] = {};
    wchar_t title[64] = {};
    ::GetClassNameW(hWnd, className, 32);
    ::GetWindowTextW(hWnd, title, 64);
    if (wcscmp(className, L"Lumora") != 0 || wcscmp(title, pSearch->pstrTitle) != 0 || !::IsWindowVisible(hWnd))
        return TRUE;
    pSearch->hFound = hWnd;
    return FALSE;
}

struct TPromptSearch
{
    HWND hOwner;
    HWND hFound;
};

BOOL CALLBACK FindPrompt(HWND hWnd, LPARAM lParam)
{
    TPromptSearch* pSearch = reinterpret_cast<TPromptSearch*>(lParam);
    wchar_t className[16] = {};
    ::GetClassNameW(hWnd, className, 16);
    if (wcscmp(className, L"#32770") != 0 || ::GetWindow(hWnd, GW_OWNER) != pSearch->hOwner || !::IsWindowVisible(hWnd))
        return TRUE;
    pSearch->hFound = hWnd;
    return FALSE;
}

bool WriteBitmap(const std::wstring& path, HBITMAP hBitmap, int width, int height)
{
    BITMAPINFOHEADER header = {};
    header.biSize = sizeof(header);
    header.biWidth = width;
    header.biHeight = height;
    header.biPlanes = 1;
    header.biBitCount = 24;
    header.biCompression = BI_RGB;
    const DWORD stride = ((static_cast<DWORD>(width) * 3 + 3) & ~3u);
    std::vector<BYTE> pixels(static_cast<size_t>(stride) * height);
    HDC hDC = ::GetDC(nullptr);
    ::GetDIBits(hDC, hBitmap, 0, height, pixels.data(), reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS);
    ::ReleaseDC(nullptr, hDC);
    BITMAPFILEHEADER file = {};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof(file) + sizeof(header);
    file.bfSize = file.bfOffBits + static_cast<DWORD>(pixels.size());
    HANDLE hFile = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (hFile == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    ::WriteFile(hFile, &file, sizeof(file), &written, nullptr);
    ::WriteFile(hFile, &header, sizeof(header), &written, nullptr);
    ::WriteFile(hFile, pixels.data(), static_cast<DWORD>(pixels.size()), &written, nullptr);
    ::CloseHandle(hFile);
    return true;
}

} // namespace

CSetupDriver::~CSetupDriver()
{
    Release();
}

void CSetupDriver::Release()
{
    if (m_hProcess != nullptr) ::CloseHandle(m_hProcess);
    m_hProcess = nullptr;
    m_hWnd = nullptr;
}

bool CSetupDriver::Start(const std::wstring& commandLine)
{
    Release();
    std::wstring line = commandLine;
    STARTUPINFOW si = {};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi = {};
    if (!::CreateProcessW(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return false;
    ::CloseHandle(pi.hThread);
    m_hProcess = pi.hProcess;
    return true;
}

DWORD CSetupDriver::WaitForExit(DWORD timeoutMs)
{
    if (m_hProcess == nullptr) return static_cast<DWORD>(-1);
    if (::WaitForSingleObject(m_hProcess, timeoutMs) != WAIT_OBJECT_0) return static_cast<DWORD>(-1);
    DWORD code = 0;
    ::GetExitCodeProcess(m_hProcess, &code);
    return code;
}

bool CSetupDriver::HasExited() const
{
    return m_hProcess == nullptr || ::WaitForSingleObject(m_hProcess, 0) == WAIT_OBJECT_0;
}

DWORD CSetupDriver::ProcessId() const
{
    return m_hProcess != nullptr ? ::GetProcessId(m_hProcess) : 0;
}

HWND CSetupDriver::WaitForWindow(LPCWSTR pstrTitle, DWORD timeoutMs)
{
    TWindowSearch search = { pstrTitle, nullptr };
    WaitUntil(
        [&search]() {
            ::EnumWindows(&FindSkinnedWindow, reinterpret_cast<LPARAM>(&search));
            return search.hFound != nullptr;
        },
        timeoutMs);
    m_hWnd = search.hFound;
    if (m_hWnd == nullptr) return nullptr;
    DWORD pid = 0;
    ::GetWindowThreadProcessId(m_hWnd, &pid);
    HANDLE hProcess = ::OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
    if (hProcess != nullptr) {
        if (m_hProcess != nullptr) ::CloseHandle(m_hProcess);
        m_hProcess = hProcess;
    }
    // Other tests may show windows on the same display at the same time: ours
    // stays above them, so clicks and keys reach it and not theirs.
    ::SetWindowPos(m_hWnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    ::RedrawWindow(m_hWnd, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    return m_hWnd;
}

void CSetupDriver::Click(int x, int y) const
{
    // A click sent while the activation is still on its way (a prompt or the
    // folder browser just closed) can reach no window at all.
    ::SetForegroundWindow(m_hWnd);
    WaitUntil([this]() { return ::GetForegroundWindow() == m_hWnd; }, 2000);
    POINT pt = { x, y };
    ::ClientToScreen(m_hWnd, &pt);
    ClickScreen(pt);
}

void CSetupDriver::ClickScreen(POINT pt) const
{
    const int screenWidth = ::GetSystemMetrics(SM_CXSCREEN);
    const int screenHeight = ::GetSystemMetrics(SM_CYSCREEN);
    INPUT inputs[3] = {};
    for (INPUT& input : inputs) {
        input.type = INPUT_MOUSE;
        input.mi.dx = static_cast<LONG>((pt.x * 65535LL + screenWidth / 2) / (screenWidth - 1));
        input.mi.dy = static_cast<LONG>((pt.y * 65535LL + screenHeight / 2) / (screenHeight - 1));
        input.mi.dwFlags = MOUSEEVENTF_ABSOLUTE;
    }
    inputs[0].mi.dwFlags |= MOUSEEVENTF_MOVE;
    inputs[1].mi.dwFlags |= MOUSEEVENTF_LEFTDOWN;
    inputs[2].mi.dwFlags |= MOUSEEVENTF_LEFTUP;
    // The pointer arrives first, so the control under it is hot before it is pressed.
    ::SendInput(1, inputs, sizeof(INPUT));
    WaitUntil(
        [pt]() {
            POINT now = {};
            return ::GetCursorPos(&now) && now.x == pt.x && now.y == pt.y;
        },
        1000);
    ::SendInput(2, inputs + 1, sizeof(INPUT));
}

void CSetupDriver::PressKey(WORD vk) const
{
    ::SetForegroundWindow(m_hWnd);
    INPUT inputs[2] = {};
    inputs[0].type = INPUT_KEYBOARD;
    inputs[0].ki.wVk = vk;
    inputs[1] = inputs[0];
    inputs[1].ki.dwFlags = KEYEVENTF_KEYUP;
    ::SendInput(2, inputs, sizeof(INPUT));
}

std::vector<COLORREF> CSetupDriver::Capture(const RECT& rcClient) const
{
    const int width = rcClient.right - rcClient.left;
    const int height = rcClient.bottom - rcClient.top;
    std::vector<COLORREF> pixels;
    if (width <= 0 || height <= 0) return pixels;
    POINT origin = { rcClient.left, rcClient.top };
    ::ClientToScreen(m_hWnd, &origin);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* pBits = nullptr;
    HDC hScreen = ::GetDC(nullptr);
    HDC hMemory = ::CreateCompatibleDC(hScreen);
    HBITMAP hBitmap = ::CreateDIBSection(hScreen, &info, DIB_RGB_COLORS, &pBits, nullptr, 0);
    if (hBitmap != nullptr && pBits != nullptr) {
        HGDIOBJ hOld = ::SelectObject(hMemory, hBitmap);
        ::BitBlt(hMemory, 0, 0, width, height, hScreen, origin.x, origin.y, SRCCOPY);
        ::SelectObject(hMemory, hOld);
        const DWORD* pRow = static_cast<const DWORD*>(pBits);
        pixels.assign(pRow, pRow + static_cast<size_t>(width) * height);
    }
    if (hBitmap != nullptr) ::DeleteObject(hBitmap);
    ::DeleteDC(hMemory);
    ::ReleaseDC(nullptr, hScreen);
    return pixels;
}

// The window is kept topmost, so the screen at its points shows the window.
COLORREF CSetupDriver::PixelAt(int x, int y) const
{
    POINT pt = { x, y };
    ::ClientToScreen(m_hWnd, &pt);
    HDC hDC = ::GetDC(nullptr);
    COLORREF color = ::GetPixel(hDC, pt.x, pt.y);
    ::ReleaseDC(nullptr, hDC);
    return color;
}

bool CSetupDriver::ColorNear(COLORREF a, COLORREF b)
{
    return std::abs(GetRValue(a) - GetRValue(b)) <= kColorTolerance &&
        std::abs(GetGValue(a) - GetGValue(b)) <= kColorTolerance &&
        std::abs(GetBValue(a) - GetBValue(b)) <= kColorTolerance;
}

bool CSetupDriver::WaitForColor(int x, int y, COLORREF color, DWORD timeoutMs) const
{
    return WaitUntil([&]() { return ColorNear(PixelAt(x, y), color); }, timeoutMs);
}

HWND CSetupDriver::WaitForPrompt(DWORD timeoutMs) const
{
    TPromptSearch search = { m_hWnd, nullptr };
    WaitUntil(
        [&search]() {
            ::EnumWindows(&FindPrompt, reinterpret_cast<LPARAM>(&search));
            return search.hFound != nullptr;
        },
        timeoutMs);
    return search.hFound;
}

void CSetupDriver::AnswerPrompt(HWND hPrompt, int buttonId) const
{
    HWND hButton = ::GetDlgItem(hPrompt, buttonId);
    if (hButton == nullptr) return;
    ::SetWindowPos(hPrompt, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    ::SetForegroundWindow(hPrompt);
    RECT rc = {};
    ::GetWindowRect(hButton, &rc);
    ClickScreen({ (rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2 });
    // Under Wine a click can be lost while windows come and go; the button is
    // then pressed by its message, never by a second click that could land on
    // the window below once the prompt has gone.
    if (!WaitUntil([hPrompt]() { return !::IsWindow(hPrompt) || !::IsWindowVisible(hPrompt); }, 3000))
        ::PostMessageW(hButton, BM_CLICK, 0, 0);
}

void CSetupDriver::Shot(LPCWSTR pstrName) const
{
    const wchar_t* pstrFolder = _wgetenv(L"LUMORA_SETUP_SHOTS");
    if (pstrFolder == nullptr || pstrFolder[0] == L'\0') return;
    const int width = ::GetSystemMetrics(SM_CXSCREEN);
    const int height = ::GetSystemMetrics(SM_CYSCREEN);
    HDC hScreen = ::GetDC(nullptr);
    HDC hMemory = ::CreateCompatibleDC(hScreen);
    HBITMAP hBitmap = ::CreateCompatibleBitmap(hScreen, width, height);
    HGDIOBJ hOld = ::SelectObject(hMemory, hBitmap);
    ::BitBlt(hMemory, 0, 0, width, height, hScreen, 0, 0, SRCCOPY);
    ::SelectObject(hMemory, hOld);
    WriteBitmap(std::wstring(pstrFolder) + L"\\" + pstrName + L".bmp", hBitmap, width, height);
    ::DeleteObject(hBitmap);
    ::DeleteDC(hMemory);
    ::ReleaseDC(nullptr, hScreen);
}

bool CSetupDriver::WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs)
{
    const ULONGLONG deadline = ::GetTickCount64() + timeoutMs;
    for (;;) {
        if (condition()) return true;
        if (::GetTickCount64() >= deadline) return false;
        ::Sleep(kPollMs);
    }
}
