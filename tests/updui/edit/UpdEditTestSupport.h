#pragma once
#include <windows.h>

#include <initializer_list>
#include <string>

#include <gtest/gtest.h>

#include "../core/UpdCoreTestSupport.h"
#include "DibCanvas.h"
#include "UpdUILib.h"

namespace UpdEditTest {

using namespace UpdCoreTest;

// One manager per test on the shared host window; controls get real window messages.
class CEditFixture : public CHostedManagerFixture
{
protected:
    // The host has the focus before the test's manager sees any message.
    void SetUp() override
    {
        ::SetForegroundWindow(SharedHost().GetWindowHandle());
        ::SetFocus(SharedHost().GetWindowHandle());
        CHostedManagerFixture::SetUp();
    }
    void TearDown() override
    {
        CHostedManagerFixture::TearDown();
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
    LRESULT Send(UINT uMsg, WPARAM wParam, int x, int y)
    {
        return ::SendMessageW(hWnd, uMsg, wParam, MAKELPARAM(x, y));
    }
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
};

} // namespace UpdEditTest
