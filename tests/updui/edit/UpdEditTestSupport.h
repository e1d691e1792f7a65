#pragma once
#include <windows.h>

#include <initializer_list>
#include <string>

#include <gtest/gtest.h>

#include "../core/UpdCoreTestSupport.h"
#include "UpdUILib.h"

namespace UpdEditTest {

using namespace UpdCoreTest;

// An off-screen 32-bit surface to paint controls into and read back.
class CCanvas
{
public:
    CCanvas(int cx, int cy) : m_cx(cx)
    {
        BITMAPINFO bmi = {};
        bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        bmi.bmiHeader.biWidth = cx;
        bmi.bmiHeader.biHeight = -cy;
        bmi.bmiHeader.biPlanes = 1;
        bmi.bmiHeader.biBitCount = 32;
        m_hDC = ::CreateCompatibleDC(nullptr);
        m_hBitmap = ::CreateDIBSection(m_hDC, &bmi, DIB_RGB_COLORS, reinterpret_cast<void**>(&m_pBits), nullptr, 0);
        m_hOld = ::SelectObject(m_hDC, m_hBitmap);
        RECT rc = {0, 0, cx, cy};
        ::FillRect(m_hDC, &rc, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
    }
    ~CCanvas()
    {
        ::SelectObject(m_hDC, m_hOld);
        ::DeleteObject(m_hBitmap);
        ::DeleteDC(m_hDC);
    }
    CCanvas(const CCanvas&) = delete;
    CCanvas& operator=(const CCanvas&) = delete;

    HDC GetDC() const { return m_hDC; }
    // 0xRRGGBB at (x, y).
    DWORD Pixel(int x, int y) const
    {
        ::GdiFlush();
        return m_pBits[static_cast<size_t>(y) * m_cx + x] & 0x00FFFFFF;
    }
    // The pixels of rc, row by row, for comparing two paintings.
    std::wstring Capture(const RECT& rc) const
    {
        std::wstring sPixels;
        for (int y = rc.top; y < rc.bottom; ++y) {
            for (int x = rc.left; x < rc.right; ++x) sPixels += static_cast<wchar_t>(Pixel(x, y) == 0xFFFFFF ? L'.' : L'#');
        }
        return sPixels;
    }
    int CountNonWhite(const RECT& rc) const
    {
        int n = 0;
        for (int y = rc.top; y < rc.bottom; ++y) {
            for (int x = rc.left; x < rc.right; ++x) n += Pixel(x, y) != 0xFFFFFF ? 1 : 0;
        }
        return n;
    }
    void Paint(CControlUI* pControl, const RECT& rc) { pControl->DoPaint(m_hDC, rc); }

private:
    int m_cx;
    HDC m_hDC = nullptr;
    HBITMAP m_hBitmap = nullptr;
    HGDIOBJ m_hOld = nullptr;
    DWORD* m_pBits = nullptr;
};

// One manager per test on the shared host window; controls get real window messages.
class CEditFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        host = &SharedHost();
        hWnd = host->GetWindowHandle();
        ::SetForegroundWindow(hWnd);
        ::SetFocus(hWnd);
        manager = new CWindowManagerUI;
        manager->Init(hWnd);
        manager->AddNotifier(&log);
        host->pManager = manager;
    }
    void TearDown() override
    {
        host->pManager = nullptr;
        delete manager;
        PumpMessages();
        SetCtrl(false);
    }
    // A root container holding the given controls, attached and laid out.
    CContainerUI* Attach(std::initializer_list<CControlUI*> children)
    {
        CContainerUI* pRoot = new CContainerUI;
        for (CControlUI* p : children) pRoot->Add(p);
        manager->AttachRoot(pRoot);
        PumpMessages();
        PaintNow(hWnd);
        return pRoot;
    }
    static CControlUI* Place(CControlUI* pControl, LPCWSTR pstrPos)
    {
        pControl->SetFloat(true);
        pControl->SetAttribute(L"pos", pstrPos);
        return pControl;
    }
    LRESULT Send(UINT uMsg, WPARAM wParam, int x, int y) { return ::SendMessageW(hWnd, uMsg, wParam, MAKELPARAM(x, y)); }
    void Click(int x, int y)
    {
        Send(WM_MOUSEMOVE, 0, x, y);
        Send(WM_LBUTTONDOWN, MK_LBUTTON, x, y);
        Send(WM_LBUTTONUP, 0, x, y);
        PumpMessages();
    }
    // A key pressed and released as the keyboard would deliver it: posted, then
    // translated, so WM_CHAR follows WM_KEYDOWN.
    static void PressKey(HWND hTarget, UINT vk)
    {
        ::PostMessageW(hTarget, WM_KEYDOWN, vk, 1);
        PumpMessages();
        ::PostMessageW(hTarget, WM_KEYUP, vk, 0xC0000001);
        PumpMessages();
    }
    static void TypeText(HWND hTarget, LPCWSTR pstrText)
    {
        for (LPCWSTR p = pstrText; *p != L'\0'; ++p) ::SendMessageW(hTarget, WM_CHAR, *p, 1);
        PumpMessages();
    }
    static void SetCtrl(bool bDown)
    {
        BYTE state[256] = {};
        ::GetKeyboardState(state);
        state[VK_CONTROL] = bDown ? 0x80 : 0;
        state[VK_LCONTROL] = bDown ? 0x80 : 0;
        ::SetKeyboardState(state);
    }
    HWND FindChild(LPCWSTR pstrClass) const { return ::FindWindowExW(hWnd, nullptr, pstrClass, nullptr); }

    CHostWnd* host = nullptr;
    HWND hWnd = nullptr;
    CWindowManagerUI* manager = nullptr;
    CNotifyLog log;
};

} // namespace UpdEditTest
