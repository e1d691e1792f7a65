#pragma once
// Shared pieces of the edit and progress tests: a skinned host window as applications
// build one, a notification log, a message pump that runs the library's keyboard
// pre-translation, a readable memory canvas and solid-colour image files.
#include <windows.h>

#include <string>
#include <vector>

#include "ControlUI.h"
#include "WindowManagerUI.h"
#include "WindowWnd.h"

class CNotifyLog : public INotifyUI
{
public:
    void Notify(TNotifyRecUI& msg) override { records.push_back(msg); }
    int Count(TNotifyTypeUI type, CControlUI* sender = nullptr) const
    {
        int n = 0;
        for (const TNotifyRecUI& r : records) n += r.type == type && (sender == nullptr || r.sender == sender) ? 1 : 0;
        return n;
    }
    const TNotifyRecUI* Last(TNotifyTypeUI type) const
    {
        for (size_t i = records.size(); i > 0; i--)
            if (records[i - 1].type == type) return &records[i - 1];
        return nullptr;
    }
    std::vector<TNotifyRecUI> records;
};

// The manager sees every message first. One window serves a whole test program
// (destroying an activated window costs Wine seconds without a window manager); each
// test gets a fresh manager for it.
class CTestHostWnd : public CWindowWnd
{
public:
    ~CTestHostWnd() override { delete m_pm; }
    LPCWSTR GetWindowClassName() const override { return L"LumoraEditProgressHostWnd"; }
    LRESULT HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) override
    {
        LRESULT lRes = 0;
        if (m_pm != nullptr && m_pm->HandleWindowMessage(uMsg, wParam, lParam, lRes)) return lRes;
        return CWindowWnd::HandleMessage(uMsg, wParam, lParam);
    }
    void Reset(bool bNewManager)
    {
        delete m_pm;
        m_pm = nullptr;
        log.records.clear();
        if (!bNewManager) return;
        m_pm = new CWindowManagerUI;
        m_pm->Init(m_hWnd);
        m_pm->AddNotifier(&log);
    }
    CWindowManagerUI* m_pm = nullptr;
    CNotifyLog log;
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

// A memory DC over a 32-bit top-down DIB whose pixels read back as 0xRRGGBB.
class CTestCanvas
{
public:
    CTestCanvas(int cx, int cy, COLORREF fill = RGB(255, 255, 255)) : m_cx(cx), m_cy(cy)
    {
        BITMAPINFO bmi = {};
        bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        bmi.bmiHeader.biWidth = cx;
        bmi.bmiHeader.biHeight = -cy;
        bmi.bmiHeader.biPlanes = 1;
        bmi.bmiHeader.biBitCount = 32;
        bmi.bmiHeader.biCompression = BI_RGB;
        m_hDC = ::CreateCompatibleDC(nullptr);
        m_hBitmap = ::CreateDIBSection(m_hDC, &bmi, DIB_RGB_COLORS, reinterpret_cast<void**>(&m_pBits), nullptr, 0);
        m_hOld = ::SelectObject(m_hDC, m_hBitmap);
        RECT rc = { 0, 0, cx, cy };
        HBRUSH hBrush = ::CreateSolidBrush(fill);
        ::FillRect(m_hDC, &rc, hBrush);
        ::DeleteObject(hBrush);
    }
    ~CTestCanvas()
    {
        ::SelectObject(m_hDC, m_hOld);
        ::DeleteObject(m_hBitmap);
        ::DeleteDC(m_hDC);
    }
    CTestCanvas(const CTestCanvas&) = delete;
    CTestCanvas& operator=(const CTestCanvas&) = delete;

    HDC DC() const { return m_hDC; }
    RECT Rect() const { return RECT{ 0, 0, m_cx, m_cy }; }
    DWORD Pixel(int x, int y) const
    {
        ::GdiFlush();
        return m_pBits[y * m_cx + x] & 0x00FFFFFF;
    }
    int CountOf(const RECT& rc, DWORD colour) const
    {
        int n = 0;
        for (int y = rc.top; y < rc.bottom; y++)
            for (int x = rc.left; x < rc.right; x++) n += Pixel(x, y) == colour ? 1 : 0;
        return n;
    }

private:
    int m_cx;
    int m_cy;
    HDC m_hDC;
    HBITMAP m_hBitmap;
    HGDIOBJ m_hOld;
    DWORD* m_pBits = nullptr;
};

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
    HANDLE hFile = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (hFile == INVALID_HANDLE_VALUE) return std::wstring();
    DWORD dwWritten = 0;
    ::WriteFile(hFile, &bf, sizeof(bf), &dwWritten, nullptr);
    ::WriteFile(hFile, &bi, sizeof(bi), &dwWritten, nullptr);
    ::WriteFile(hFile, pixels.data(), nPixels, &dwWritten, nullptr);
    ::CloseHandle(hFile);
    return path;
}
