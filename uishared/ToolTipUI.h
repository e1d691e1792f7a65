#pragma once
#include <windows.h>
#include <commctrl.h>

namespace UIShared {

// The tooltip of one window: a single tracking tool on the whole window, created at
// the first tip and moved to each control whose tip is shown. The libraries differ
// only in how long a hover takes before the first tip exists.
class CToolTipUI
{
public:
    explicit CToolTipUI(DWORD dwHoverBeforeFirstTip);
    ~CToolTipUI();
    CToolTipUI(const CToolTipUI&) = delete;
    CToolTipUI& operator=(const CToolTipUI&) = delete;

    // An empty text shows nothing.
    void Show(HWND hWndOwner, HINSTANCE hInstance, LPCWSTR pstrText, const RECT& rcControl);
    void Hide();
    void Destroy();
    // How long the pointer rests before a hover counts: the tip's initial delay, or
    // the library's own wait before the first tip.
    DWORD HoverTime() const;
    // Asks the window for one hover and one leave report, the hover after HoverTime.
    void TrackHover(HWND hWnd) const;

private:
    DWORD m_dwHoverBeforeFirstTip;
    HWND m_hwndTooltip;
    TOOLINFOW m_ToolTip;
};

} // namespace UIShared
