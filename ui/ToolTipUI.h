#pragma once
#include <windows.h>
#include <commctrl.h>

// The tooltip of one window: a single tracking tool on the whole window, created at
// the first tip and moved to each control whose tip is shown.
class CToolTipUI
{
public:
    CToolTipUI();
    ~CToolTipUI();
    CToolTipUI(const CToolTipUI&) = delete;
    CToolTipUI& operator=(const CToolTipUI&) = delete;

    void Show(HWND hWndOwner, HINSTANCE hInstance, LPCWSTR pstrText, const RECT& rcControl);
    void Deactivate();
    void Destroy();
    // How long the pointer rests before a hover counts: the tip's initial delay.
    DWORD HoverTime() const;

private:
    HWND m_hwndTooltip;
    TOOLINFOW m_ToolTip;
};
