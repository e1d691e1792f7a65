#include "TimerTableUI.h"

#include <new>

namespace UpdUI {

namespace {

const UINT kTimerIdBase = 4096;
const UINT kTimerIdModulo = 255;

} // namespace

CTimerTableUI::CTimerTableUI() : m_uTimerID(kTimerIdBase) { }

CTimerTableUI::~CTimerTableUI()
{
    KillAll();
}

TTimerRecUI* CTimerTableUI::TimerAt(int iIndex) const
{
    return static_cast<TTimerRecUI*>(m_aTimers[iIndex]);
}

// Local ids count (counter + 1) mod 255 from 4096. Once the count wraps, an id still
// held by another entry of this window is passed over: SetTimer with a live id would
// silently take that timer away from its control.
bool CTimerTableUI::SetTimer(HWND hWnd, CControlUI* pControl, UINT nTimerKey, UINT uElapse)
{
    if (pControl == nullptr || hWnd == nullptr) return false;
    for (int i = 0; i < m_aTimers.GetCount(); ++i) {
        TTimerRecUI* pTimer = TimerAt(i);
        if (pTimer->pSender != pControl || pTimer->hWnd != hWnd || pTimer->nTimerKey != nTimerKey) continue;
        if (!pTimer->bKilled) return false;
        if (::SetTimer(hWnd, pTimer->uWinTimer, uElapse, nullptr) == 0) return false;
        pTimer->bKilled = false;
        return true;
    }
    UINT uId = m_uTimerID;
    bool bFree = false;
    for (UINT nTries = 0; nTries < kTimerIdModulo && !bFree; ++nTries) {
        uId = (uId + 1) % kTimerIdModulo;
        bFree = true;
        for (int i = 0; i < m_aTimers.GetCount() && bFree; ++i) {
            TTimerRecUI* pTimer = TimerAt(i);
            if (pTimer->hWnd == hWnd && pTimer->uWinTimer == uId) bFree = false;
        }
    }
    if (!bFree) return false;
    m_uTimerID = uId;
    if (::SetTimer(hWnd, uId, uElapse, nullptr) == 0) return false;
    TTimerRecUI* pTimer = new (std::nothrow) TTimerRecUI;
    if (pTimer == nullptr) {
        ::KillTimer(hWnd, uId);
        return false;
    }
    pTimer->pSender = pControl;
    pTimer->nTimerKey = nTimerKey;
    pTimer->hWnd = hWnd;
    pTimer->uWinTimer = uId;
    pTimer->bKilled = false;
    if (!m_aTimers.Add(pTimer)) {
        ::KillTimer(hWnd, uId);
        delete pTimer;
        return false;
    }
    return true;
}

bool CTimerTableUI::KillTimer(HWND hWnd, CControlUI* pControl, UINT nTimerKey)
{
    for (int i = 0; i < m_aTimers.GetCount(); ++i) {
        TTimerRecUI* pTimer = TimerAt(i);
        if (pTimer->pSender != pControl || pTimer->hWnd != hWnd || pTimer->nTimerKey != nTimerKey) continue;
        if (pTimer->bKilled) continue;
        if (::IsWindow(hWnd)) ::KillTimer(pTimer->hWnd, pTimer->uWinTimer);
        pTimer->bKilled = true;
        return true;
    }
    return false;
}

void CTimerTableUI::KillTimersOf(HWND hWnd, CControlUI* pControl)
{
    for (int i = m_aTimers.GetCount() - 1; i >= 0; --i) {
        TTimerRecUI* pTimer = TimerAt(i);
        if (pTimer->pSender != pControl || pTimer->hWnd != hWnd) continue;
        if (!pTimer->bKilled && ::IsWindow(pTimer->hWnd)) ::KillTimer(pTimer->hWnd, pTimer->uWinTimer);
        m_aTimers.Remove(i);
        delete pTimer;
    }
}

void CTimerTableUI::KillAll()
{
    for (int i = 0; i < m_aTimers.GetCount(); ++i) {
        TTimerRecUI* pTimer = TimerAt(i);
        if (!pTimer->bKilled && ::IsWindow(pTimer->hWnd)) ::KillTimer(pTimer->hWnd, pTimer->uWinTimer);
        delete pTimer;
    }
    m_aTimers.Empty();
}

const TTimerRecUI* CTimerTableUI::FindRunning(HWND hWnd, UINT uWinTimer) const
{
    for (int i = 0; i < m_aTimers.GetCount(); ++i) {
        TTimerRecUI* pTimer = TimerAt(i);
        if (pTimer->hWnd != hWnd || pTimer->uWinTimer != uWinTimer || pTimer->bKilled) continue;
        return pTimer;
    }
    return nullptr;
}

} // namespace UpdUI
