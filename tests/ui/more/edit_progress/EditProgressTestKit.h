#pragma once
// Shared pieces of the edit and progress tests: a skinned host window as applications
// build one, a notification log, a message pump that runs the library's keyboard
// pre-translation and solid-colour image files.
#include <windows.h>

#include <string>
#include <vector>

#include "ControlUI.h"
#include "DibCanvas.h"
#include "ManagedHostWnd.h"
#include "WindowManagerUI.h"
#include "WindowWnd.h"

using CNotifyLog = TNotifyLog<INotifyUI, TNotifyRecUI>;

// One window serves a whole test program; each test gets a fresh manager for it.
class CTestHostWnd : public TResettableHostWnd<CWindowWnd, CWindowManagerUI, CNotifyLog>
{
public:
    LPCWSTR GetWindowClassName() const override { return L"LumoraEditProgressHostWnd"; }
};

// Runs queued messages through the same steps as the library's modal loop.
inline void PumpMessages()
{
    MSG msg = {};
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (CWindowManagerUI::PreTranslateAll(&msg)) continue;
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

// Lays the tree out now: the manager positions controls while painting.
inline void LayOut(HWND hWnd)
{
    ::InvalidateRect(hWnd, nullptr, FALSE);
    ::UpdateWindow(hWnd);
    PumpMessages();
}

// Writes an 8 x 8 24-bit BMP of one colour (0xRRGGBB) into the temporary folder and
// returns its path, which image descriptions take as a bare file name.
inline std::wstring WriteSolidBmp(LPCWSTR pstrName, DWORD rgb)
{
    const int kSide = 8;
    const int nStride = kSide * 3; // already a multiple of four
    const DWORD nPixels = nStride * kSide;
    BITMAPFILEHEADER bf = {};
    BITMAPINFOHEADER bi = {};
    bf.bfType = 0x4D42;
    bf.bfOffBits = sizeof(bf) + sizeof(bi);
    bf.bfSize = bf.bfOffBits + nPixels;
    bi.biSize = sizeof(bi);
    bi.biWidth = kSide;
    bi.biHeight = kSide;
    bi.biPlanes = 1;
    bi.biBitCount = 24;
    bi.biCompression = BI_RGB;
    std::vector<BYTE> pixels(nPixels);
    for (DWORD i = 0; i + 2 < nPixels; i += 3) {
        pixels[i] = static_cast<BYTE>(rgb & 0xFF);
        pixels[i + 1] = static_cast<BYTE>((rgb >> 8) & 0xFF);
        pixels[i + 2] = static_cast<BYTE>((rgb >> 16) & 0xFF);
    }
    wchar_t szDir[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, szDir);
    std::wstring path = std::wstring(szDir) + pstrName;
    HANDLE hFile =
        ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (hFile == INVALID_HANDLE_VALUE) return std::wstring();
    DWORD dwWritten = 0;
    ::WriteFile(hFile, &bf, sizeof(bf), &dwWritten, nullptr);
    ::WriteFile(hFile, &bi, sizeof(bi), &dwWritten, nullptr);
    ::WriteFile(hFile, pixels.data(), nPixels, &dwWritten, nullptr);
    ::CloseHandle(hFile);
    return path;
}
