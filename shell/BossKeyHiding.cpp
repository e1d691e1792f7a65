#include "BossKeyHiding.h"

#include "ProgramGlobals.h"
#include "WaitPoweroff.h"
#include "WindowManagerUI.h"

void CBossKeyHiding::Hide()
{
    m_windows.clear();
    for (int i = 0; i < ApplicationWindowList.GetSize(); ++i) {
        auto* manager = static_cast<CWindowManagerUI*>(ApplicationWindowList.GetAt(i));
        HWND window = manager ? manager->GetPaintWindow() : nullptr;
        if (!window) continue;
        if (CWaitPoweroff::IsCountdownWindow(window)) {
            SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
            continue;
        }
        m_windows.push_back({ window, IsWindowVisible(window) != FALSE });
    }
    m_hiding = true;
    for (const HiddenWindow& hidden : m_windows) ShowWindow(hidden.window, SW_HIDE);
}

void CBossKeyHiding::Reveal()
{
    m_hiding = false;
    std::vector<HiddenWindow> windows;
    windows.swap(m_windows);
    for (const HiddenWindow& hidden : windows) {
        if (hidden.wasVisible && IsWindow(hidden.window)) ShowWindow(hidden.window, SW_SHOW);
    }
}
