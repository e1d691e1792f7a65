#pragma once
#include "ColorScheme.h"
#include "SkinPopupWnd.h"
#include "SystemShutdown.h"

class SettingsStore;

// The timed power-off's countdown window: counts down once a second on its
// "close" button's timer and switches the computer off at 0, unless the user
// cancels. "rn" switches off at the next tick. A countdown opened for the
// daily power-off follows the settings at every tick: switched off or moved to
// another time, it ends without switching anything off.
class CWaitPoweroff : public CSkinPopupWnd
{
public:
    // Key of the countdown timer on the "close" control.
    enum { kTickTimer = 1 };
    static constexpr UINT kTickMs = 1000;
    // Private message: wParam = colour scheme index 0..5.
    static constexpr UINT kMsgColorScheme = CColorScheme::kMessage;

    // shutdown switches the computer off; tests pass a recorder.
    explicit CWaitPoweroff(CSystemShutdown& shutdown = CSystemShutdown::System());

    // Sets the seconds left and starts the ticks; the window must exist.
    bool StartCountdown(int seconds);
    int GetCountdown() const;
    // The countdown goes on only while these settings still ask for a
    // power-off at this hour and minute; the settings must outlive the window.
    void FollowSchedule(const SettingsStore* settings, int hour, int minute);
    // Whether the window is a power-off countdown.
    static bool IsCountdownWindow(HWND hWnd);

    void Notify(TNotifyRecUI& msg) override;

protected:
    LPCWSTR GetWindowClassName() const override { return kClassName; }
    UINT GetClassStyle() const override { return CS_DBLCLKS; }
    LPCWSTR GetSkinXml() const override { return L"poweroff.xml"; }
    bool InitControls() override;
    void ApplyWindowRegion() override;
    bool HandleCustomMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lRes) override;

private:
    static constexpr const wchar_t* kClassName = L"自动关机";

    void Tick();
    bool StillWanted() const;
    void ShowCountdown();
    void StopTicks();
    void PowerOff();
    void ApplyColorScheme(WPARAM index);

    CControlUI* m_pClose;
    CControlUI* m_pPowerOffNow;
    CControlUI* m_pCancel;
    CControlUI* m_pTime;
    int m_nCountdown;
    CControlUI* m_pMain;
    CControlUI* m_pCaption;
    CSystemShutdown& m_shutdown;
    const SettingsStore* m_pSchedule = nullptr;
    int m_nHour = -1;
    int m_nMinute = -1;
};
