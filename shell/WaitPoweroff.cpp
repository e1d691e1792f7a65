#include "WaitPoweroff.h"

#include <cwchar>

#include "PowerOffSchedule.h"
#include "ProgramGlobals.h"
#include "SettingsStore.h"
#include "WindowRegion.h"

CWaitPoweroff::CWaitPoweroff(CSystemShutdown& shutdown)
    : m_pClose(nullptr), m_pPowerOffNow(nullptr), m_pCancel(nullptr), m_pTime(nullptr), m_nCountdown(0),
      m_pMain(nullptr), m_pCaption(nullptr), m_shutdown(shutdown)
{ }

bool CWaitPoweroff::InitControls()
{
    m_pMain = Find<CControlUI>(L"main");
    m_pCaption = Find<CControlUI>(L"caption");
    m_pClose = Find<CControlUI>(L"close");
    m_pTime = Find<CControlUI>(L"time");
    m_pPowerOffNow = Find<CControlUI>(L"rn");
    m_pCancel = Find<CControlUI>(L"cancel");
    if (m_pMain == nullptr || m_pCaption == nullptr || m_pClose == nullptr || m_pTime == nullptr ||
        m_pPowerOffNow == nullptr || m_pCancel == nullptr)
        return false;
    if (GlobalSettings != nullptr) ApplyColorScheme(static_cast<WPARAM>(GlobalSettings->skincolor));
    return true;
}

void CWaitPoweroff::ApplyWindowRegion()
{
    CWindowRegion::ApplyMainShape(m_hWnd);
}

bool CWaitPoweroff::HandleCustomMessage(UINT uMsg, WPARAM wParam, LPARAM, LRESULT& lRes)
{
    if (uMsg != kMsgColorScheme) return false;
    ApplyColorScheme(wParam);
    lRes = 0;
    return true;
}

// An index from outside the table changes nothing.
void CWaitPoweroff::ApplyColorScheme(WPARAM index)
{
    const CColorScheme* pScheme = CColorScheme::At(index);
    if (pScheme == nullptr) return;
    m_pMain->SetBkColor(pScheme->dwWindow);
    m_pMain->SetBorderColor(pScheme->dwWindow);
    m_pCaption->SetBkColor(pScheme->dwCaption);
    m_pMain->Invalidate();
}

bool CWaitPoweroff::StartCountdown(int seconds)
{
    if (m_pClose == nullptr) return false;
    m_nCountdown = seconds;
    return m_manager.SetTimer(m_pClose, kTickTimer, kTickMs);
}

int CWaitPoweroff::GetCountdown() const
{
    return m_nCountdown;
}

void CWaitPoweroff::FollowSchedule(const SettingsStore* settings, int hour, int minute)
{
    m_pSchedule = settings;
    m_nHour = hour;
    m_nMinute = minute;
}

bool CWaitPoweroff::IsCountdownWindow(HWND hWnd)
{
    wchar_t className[16] = {};
    return ::GetClassNameW(hWnd, className, 16) > 0 && wcscmp(className, kClassName) == 0;
}

bool CWaitPoweroff::StillWanted() const
{
    return m_pSchedule == nullptr || PowerOffSchedule::Wants(*m_pSchedule, m_nHour, m_nMinute);
}

void CWaitPoweroff::Notify(TNotifyRecUI& msg)
{
    if (msg.type == NotifyTimer) {
        if (msg.sender == m_pClose && msg.wParam == kTickTimer) Tick();
        return;
    }
    if (msg.type != NotifyClick) return;
    if (msg.sender == m_pClose) {
        CloseBySysCommand();
    } else if (msg.sender == m_pPowerOffNow) {
        m_nCountdown = 0;
    } else if (msg.sender == m_pCancel) {
        StopTicks();
        CloseBySysCommand();
    }
}

void CWaitPoweroff::Tick()
{
    if (!StillWanted()) {
        StopTicks();
        CloseBySysCommand();
        return;
    }
    ShowCountdown();
    if (m_nCountdown <= 0) {
        StopTicks();
        ::ShowWindow(m_hWnd, SW_HIDE);
        PowerOff();
    }
    m_nCountdown--;
}

void CWaitPoweroff::ShowCountdown()
{
    wchar_t text[16] = {};
    swprintf(text, sizeof(text) / sizeof(text[0]), L" %d ", m_nCountdown);
    m_pTime->SetText(text);
    m_pTime->Invalidate();
}

void CWaitPoweroff::StopTicks()
{
    m_manager.KillTimer(m_pClose, kTickTimer);
}

// When the system refuses, a hidden countdown stuck at 0 must not stay behind
// (the boss key would show it again): the window closes instead.
void CWaitPoweroff::PowerOff()
{
    if (!m_shutdown.PowerOff()) CloseBySysCommand();
}
