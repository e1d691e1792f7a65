#include "ToolTipUI.h"

#include <cstddef>

// Tooltip records are read by size: 44 bytes on 32-bit Windows.
static_assert(sizeof(void*) != 4 || offsetof(TTTOOLINFOW, lParam) + sizeof(LPARAM) == 44, "tooltip record size");

namespace UIShared {

CToolTipUI::CToolTipUI(DWORD dwHoverBeforeFirstTip)
    : m_dwHoverBeforeFirstTip(dwHoverBeforeFirstTip), m_hwndTooltip(nullptr), m_ToolTip()
{ }

CToolTipUI::~CToolTipUI()
{
    Destroy();
}

void CToolTipUI::Show(HWND hWndOwner, HINSTANCE hInstance, LPCWSTR pstrText, const RECT& rcControl)
{
    if (pstrText == nullptr || pstrText[0] == L'\0') return;
    ::ZeroMemory(&m_ToolTip, sizeof(m_ToolTip));
    m_ToolTip.cbSize = TTTOOLINFOW_V2_SIZE;
    m_ToolTip.uFlags = TTF_IDISHWND;
    m_ToolTip.hwnd = hWndOwner;
    m_ToolTip.uId = reinterpret_cast<UINT_PTR>(hWndOwner);
    m_ToolTip.hinst = hInstance;
    m_ToolTip.lpszText = const_cast<LPWSTR>(pstrText);
    m_ToolTip.rect = rcControl;
    if (m_hwndTooltip == nullptr) {
        m_hwndTooltip =
            ::CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, CW_USEDEFAULT,
                              CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hWndOwner, nullptr, hInstance, nullptr);
        if (m_hwndTooltip == nullptr) return;
        ::SendMessageW(m_hwndTooltip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&m_ToolTip));
    }
    ::SendMessageW(m_hwndTooltip, TTM_SETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&m_ToolTip));
    ::SendMessageW(m_hwndTooltip, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&m_ToolTip));
    // The text belongs to the caller: the tooltip window has copied it.
    m_ToolTip.lpszText = nullptr;
}

void CToolTipUI::Hide()
{
    if (m_hwndTooltip == nullptr) return;
    ::SendMessageW(m_hwndTooltip, TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&m_ToolTip));
}

void CToolTipUI::Destroy()
{
    if (m_hwndTooltip != nullptr) ::DestroyWindow(m_hwndTooltip);
    m_hwndTooltip = nullptr;
}

DWORD CToolTipUI::HoverTime() const
{
    if (m_hwndTooltip == nullptr) return m_dwHoverBeforeFirstTip;
    return static_cast<DWORD>(::SendMessageW(m_hwndTooltip, TTM_GETDELAYTIME, TTDT_INITIAL, 0));
}

void CToolTipUI::TrackHover(HWND hWnd) const
{
    TRACKMOUSEEVENT tme = {};
    tme.cbSize = sizeof(tme);
    tme.dwFlags = TME_HOVER | TME_LEAVE;
    tme.hwndTrack = hWnd;
    tme.dwHoverTime = HoverTime();
    ::TrackMouseEvent(&tme);
}

} // namespace UIShared
