#pragma once
#include <windows.h>

#include "PtrArrayUI.h"

namespace UpdUI {

class CControlUI;

struct TTimerRecUI
{
    CControlUI* pSender;
    UINT nTimerKey;
    HWND hWnd;
    UINT uWinTimer;
    bool bKilled;
};

// The per-control timers of one window manager, kept per (control, key), each on a
// window timer of its own. A killed timer keeps its entry and its window timer id, so
// setting it again revives the same id.
class CTimerTableUI
{
public:
    CTimerTableUI();
    ~CTimerTableUI();
    CTimerTableUI(const CTimerTableUI&) = delete;
    CTimerTableUI& operator=(const CTimerTableUI&) = delete;

    bool SetTimer(HWND hWnd, CControlUI* pControl, UINT nTimerKey, UINT uElapse);
    bool KillTimer(HWND hWnd, CControlUI* pControl, UINT nTimerKey);
    // Kills and forgets every timer of the control on the window.
    void KillTimersOf(HWND hWnd, CControlUI* pControl);
    void KillAll();
    // The running timer behind a WM_TIMER of the window, or null.
    const TTimerRecUI* FindRunning(HWND hWnd, UINT uWinTimer) const;

private:
    TTimerRecUI* TimerAt(int iIndex) const;

    CPtrArrayUI m_aTimers;
    UINT m_uTimerID;
};

} // namespace UpdUI
