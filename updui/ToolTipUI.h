#pragma once
#include <windows.h>
#include <commctrl.h>

namespace UpdUI {

// The tooltip of one window: a single tracking tool on the whole window, created at
// the first tip and moved to each control whose tip is shown.
class CToolTipUI
{
public:
    CToolTipUI();
    ~CToolTipUI();
    CToolTipUI(const CToolTipUI&) = delete;
    CToolTipUI& operator=(const CToolTipUI&) = delete;

    // An empty text shows nothing.
    void Show(HWND hWndOwner, HINSTANCE hInstance, LPCWSTR pstrText, const RECT& rcControl);
    void Hide();
    void Destroy();
    // How long the pointer rests before a hover counts: the tip's initial delay, or
    // 400 ms before the first tip.
    DWORD HoverTime() const;

private:
    HWND m_hwndTooltip;
    TOOLINFOW m_ToolTip;
};

} // namespace UpdUI
