#pragma once
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "ContainerUI.h"
#include "ControlUI.h"
#include "ManagedHostWnd.h"
#include "WindowManagerUI.h"
#include "WindowWnd.h"

namespace UpdCoreTest {

using namespace UpdUI;

// A control that records the events that reach it and counts its deletion.
class CProbeUI : public CControlUI
{
public:
    explicit CProbeUI(LPCWSTR pstrName = L"", UINT uFlags = UIFLAG_TABSTOP, LPCWSTR pstrClass = L"ProbeUI",
                      int* pDeleted = nullptr)
        : m_uFlags(uFlags), m_pstrClass(pstrClass), m_pDeleted(pDeleted)
    {
        SetName(pstrName);
    }
    ~CProbeUI() override
    {
        if (m_pDeleted != nullptr) (*m_pDeleted)++;
    }
    LPCWSTR GetControlClass() const override { return m_pstrClass; }
    UINT GetControlFlags() const override { return m_uFlags; }
    void DoEvent(TEventRecUI& event) override
    {
        events.push_back(event);
        CControlUI::DoEvent(event);
    }
    int Count(int type) const
    {
        int n = 0;
        for (const TEventRecUI& e : events) n += e.type == type ? 1 : 0;
        return n;
    }
    const TEventRecUI* Last(int type) const
    {
        for (size_t i = events.size(); i > 0; i--) {
            if (events[i - 1].type == type) return &events[i - 1];
        }
        return nullptr;
    }

    std::vector<TEventRecUI> events;

private:
    UINT m_uFlags;
    LPCWSTR m_pstrClass;
    int* m_pDeleted;
};

// A container that records the events bubbling into it.
class CProbeContainerUI : public CContainerUI
{
public:
    explicit CProbeContainerUI(int* pDeleted = nullptr) : m_pDeleted(pDeleted) { }
    ~CProbeContainerUI() override
    {
        if (m_pDeleted != nullptr) (*m_pDeleted)++;
    }
    void DoEvent(TEventRecUI& event) override
    {
        events.push_back(event.type);
        CContainerUI::DoEvent(event);
    }
    std::vector<int> events;

private:
    int* m_pDeleted;
};

using CNotifyLog = TNotifyLog<INotifyUI, TNotifyRecUI>;

// The window all tests share, with a manager of each test's own.
class CHostWnd : public TManagedHostWnd<CWindowWnd, CWindowManagerUI>
{
public:
    LPCWSTR GetWindowClassName() const override { return L"UpdCoreTestHost"; }
};

inline void PumpMessages();

inline CHostWnd& SharedHost()
{
    static CHostWnd* pHost = nullptr;
    if (pHost == nullptr) {
        CWindowManagerUI::SetInstance(::GetModuleHandleW(nullptr));
        pHost = new CHostWnd;
        pHost->Create(nullptr, L"UpdCoreTest", WS_POPUP | WS_VISIBLE, 0, 50, 50, 400, 300);
        PumpMessages();
    }
    return *pHost;
}

// Runs every message already queued for this thread.
inline void PumpMessages()
{
    MSG msg = {};
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

// Forces a WM_PAINT of the whole client area now.
inline void PaintNow(HWND hWnd)
{
    ::InvalidateRect(hWnd, nullptr, FALSE);
    ::UpdateWindow(hWnd);
}

inline RECT Rect(int l, int t, int r, int b)
{
    RECT rc = { l, t, r, b };
    return rc;
}

// A manager of each test's own on the shared host window, reporting to log;
// controls get real window messages.
class CHostedManagerFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        host = &SharedHost();
        hWnd = host->GetWindowHandle();
        manager = new CWindowManagerUI;
        manager->Init(hWnd);
        manager->AddNotifier(&log);
        host->m_pm = manager;
    }
    void TearDown() override
    {
        host->m_pm = nullptr;
        delete manager;
        PumpMessages();
    }
    static void ReleaseAllKeys()
    {
        BYTE state[256] = {};
        ::SetKeyboardState(state);
    }

    CHostWnd* host = nullptr;
    HWND hWnd = nullptr;
    CWindowManagerUI* manager = nullptr;
    CNotifyLog log;
};

} // namespace UpdCoreTest
