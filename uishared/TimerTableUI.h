#pragma once
#include <windows.h>

#include <new>
#include <vector>

namespace UIShared {

// One per-control timer of a window manager.
template <class TControl> struct TTimerRecT
{
    TControl* pSender;
    UINT nTimerKey;
    HWND hWnd;
    UINT uWinTimer;
    bool bKilled;
};

// The per-control timers of one window manager, kept per (control, key), each on a
// window timer of its own. A killed timer keeps its entry and its window timer id, so
// setting it again revives the same id. Both libraries number and re-use timers alike;
// TControl is the library's control class.
template <class TControl> class CTimerTableT
{
public:
    typedef TTimerRecT<TControl> TRec;

    CTimerTableT() : m_uTimerID(kFirstTimerCounter) { }
    ~CTimerTableT() { KillAll(); }
    CTimerTableT(const CTimerTableT&) = delete;
    CTimerTableT& operator=(const CTimerTableT&) = delete;

    bool SetTimer(HWND hWnd, TControl* pControl, UINT nTimerKey, UINT uElapse)
    {
        TRec* pEntry = FindEntry(hWnd, pControl, nTimerKey);
        if (pEntry != nullptr) {
            if (!pEntry->bKilled) return false;
            if (::SetTimer(hWnd, pEntry->uWinTimer, uElapse, nullptr) == 0) return false;
            pEntry->bKilled = false;
            return true;
        }
        UINT uId = 0;
        if (!NextFreeId(hWnd, uId)) return false;
        m_uTimerID = uId;
        if (::SetTimer(hWnd, uId, uElapse, nullptr) == 0) return false;
        if (!Append(TRec{ pControl, nTimerKey, hWnd, uId, false })) {
            ::KillTimer(hWnd, uId);
            return false;
        }
        return true;
    }

    bool KillTimer(HWND hWnd, TControl* pControl, UINT nTimerKey)
    {
        TRec* pEntry = FindEntry(hWnd, pControl, nTimerKey);
        if (pEntry == nullptr || pEntry->bKilled) return false;
        KillWindowTimer(*pEntry);
        pEntry->bKilled = true;
        return true;
    }

    // Kills and forgets every timer of the control, whichever window it runs on.
    void KillTimersOf(TControl* pControl) { RemoveTimersOf(pControl, nullptr, false); }
    // Kills and forgets every timer of the control on the window.
    void KillTimersOf(HWND hWnd, TControl* pControl) { RemoveTimersOf(pControl, hWnd, true); }

    void KillAll()
    {
        for (TRec& timer : m_aTimers) {
            if (!timer.bKilled) KillWindowTimer(timer);
        }
        m_aTimers.clear();
    }

    // The running timer behind a WM_TIMER of the window, or null; valid until the
    // table changes.
    const TRec* FindRunning(HWND hWnd, UINT uWinTimer) const
    {
        for (const TRec& timer : m_aTimers) {
            if (timer.hWnd == hWnd && timer.uWinTimer == uWinTimer && !timer.bKilled) return &timer;
        }
        return nullptr;
    }

private:
    static const UINT kFirstTimerCounter = 4096;
    static const UINT kTimerIdCount = 255;

    // A window already gone has no timer left to kill.
    static void KillWindowTimer(const TRec& timer)
    {
        if (::IsWindow(timer.hWnd)) ::KillTimer(timer.hWnd, timer.uWinTimer);
    }

    TRec* FindEntry(HWND hWnd, TControl* pControl, UINT nTimerKey)
    {
        for (TRec& timer : m_aTimers) {
            if (timer.pSender == pControl && timer.hWnd == hWnd && timer.nTimerKey == nTimerKey) return &timer;
        }
        return nullptr;
    }

    bool IsIdHeld(HWND hWnd, UINT uId) const
    {
        for (const TRec& timer : m_aTimers) {
            if (timer.hWnd == hWnd && timer.uWinTimer == uId) return true;
        }
        return false;
    }

    // Ids run (counter + 1) mod 255; an id still held by an entry (running, or killed
    // and kept for re-use) is skipped: SetTimer with a live id would silently take that
    // timer away from its control.
    bool NextFreeId(HWND hWnd, UINT& uId) const
    {
        uId = m_uTimerID;
        for (UINT nTry = 0; nTry < kTimerIdCount; nTry++) {
            uId = (uId + 1) % kTimerIdCount;
            if (!IsIdHeld(hWnd, uId)) return true;
        }
        return false;
    }

    bool Append(const TRec& timer)
    {
        try {
            m_aTimers.push_back(timer);
        } catch (const std::bad_alloc&) {
            return false;
        }
        return true;
    }

    void RemoveTimersOf(TControl* pControl, HWND hWnd, bool bThisWindowOnly)
    {
        for (size_t i = m_aTimers.size(); i-- > 0;) {
            const TRec& timer = m_aTimers[i];
            if (timer.pSender != pControl || (bThisWindowOnly && timer.hWnd != hWnd)) continue;
            if (!timer.bKilled) KillWindowTimer(timer);
            m_aTimers.erase(m_aTimers.begin() + static_cast<std::ptrdiff_t>(i));
        }
    }

    std::vector<TRec> m_aTimers;
    UINT m_uTimerID;
};

} // namespace UIShared
