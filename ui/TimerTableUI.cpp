#include "TimerTableUI.h"

namespace {

const UINT kFirstTimerCounter = 4096;
const UINT kTimerIdCount = 255;

} // namespace

CTimerTableUI::CTimerTableUI() : m_uTimerID(kFirstTimerCounter) { }

CTimerTableUI::~CTimerTableUI()
{
    KillAll();
}

TTimerRecUI* CTimerTableUI::TimerAt(int iIndex) const
{
    return static_cast<TTimerRecUI*>(m_aTimers.GetAt(iIndex));
}

TTimerRecUI* CTimerTableUI::FindEntry(HWND hWnd, CControlUI* pControl, UINT nTimerKey) const
{
    for (int i = 0; i < m_aTimers.GetSize(); i++) {
        TTimerRecUI* pTimer = TimerAt(i);
        if (pTimer->pSender == pControl && pTimer->hWnd == hWnd && pTimer->nTimerKey == nTimerKey) return pTimer;
    }
    return nullptr;
}

bool CTimerTableUI::IsIdHeld(HWND hWnd, UINT uId) const
{
    for (int i = 0; i < m_aTimers.GetSize(); i++) {
        TTimerRecUI* pTimer = TimerAt(i);
        if (pTimer->hWnd == hWnd && pTimer->uWinTimer == uId) return true;
    }
    return false;
}

// Ids run (counter + 1) mod 255; an id still held by an entry (running, or killed
// and kept for re-use) is skipped, so two timers never share a window timer.
bool CTimerTableUI::NextFreeId(HWND hWnd, UINT& uId) const
{
    uId = m_uTimerID;
    for (UINT nTry = 0; nTry < kTimerIdCount; nTry++) {
        uId = (uId + 1) % kTimerIdCount;
        if (!IsIdHeld(hWnd, uId)) return true;
    }
    return false;
}

bool CTimerTableUI::SetTimer(HWND hWnd, CControlUI* pControl, UINT nTimerKey, UINT uElapse)
{
    TTimerRecUI* pEntry = FindEntry(hWnd, pControl, nTimerKey);
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
    TTimerRecUI* pTimer = new TTimerRecUI{ pControl, nTimerKey, hWnd, uId, false };
    if (!m_aTimers.Add(pTimer)) {
        ::KillTimer(hWnd, uId);
        delete pTimer;
        return false;
    }
    return true;
}

bool CTimerTableUI::KillTimer(HWND hWnd, CControlUI* pControl, UINT nTimerKey)
{
    for (int i = 0; i < m_aTimers.GetSize(); i++) {
        TTimerRecUI* pTimer = TimerAt(i);
        if (pTimer->pSender == pControl && pTimer->hWnd == hWnd && pTimer->nTimerKey == nTimerKey && !pTimer->bKilled) {
            ::KillTimer(pTimer->hWnd, pTimer->uWinTimer);
            pTimer->bKilled = true;
            return true;
        }
    }
    return false;
}

// A deleted control must not leave a running window timer behind.
void CTimerTableUI::KillTimersOf(CControlUI* pControl)
{
    for (int i = m_aTimers.GetSize() - 1; i >= 0; i--) {
        TTimerRecUI* pTimer = TimerAt(i);
        if (pTimer->pSender != pControl) continue;
        if (!pTimer->bKilled) ::KillTimer(pTimer->hWnd, pTimer->uWinTimer);
        delete pTimer;
        m_aTimers.Remove(i);
    }
}

void CTimerTableUI::KillAll()
{
    for (int i = 0; i < m_aTimers.GetSize(); i++) {
        TTimerRecUI* pTimer = TimerAt(i);
        if (!pTimer->bKilled) ::KillTimer(pTimer->hWnd, pTimer->uWinTimer);
        delete pTimer;
    }
    m_aTimers.Empty();
}

const TTimerRecUI* CTimerTableUI::FindRunning(HWND hWnd, UINT uWinTimer) const
{
    for (int i = 0; i < m_aTimers.GetSize(); i++) {
        TTimerRecUI* pTimer = TimerAt(i);
        if (pTimer->hWnd == hWnd && pTimer->uWinTimer == uWinTimer && !pTimer->bKilled) return pTimer;
    }
    return nullptr;
}
