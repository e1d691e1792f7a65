#include "HelpWnd.h"

#include <cwchar>
#include <cwctype>

namespace {

const DWORD kPopupStyle = 0x86C80000; // WS_POPUP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_CAPTION | WS_SYSMENU
const DWORD kPopupExStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_DLGMODALFRAME;
const DWORD kLinkColor = 0xFF001C30;
const DWORD kLinkHoverColor = 0xFFFF6600;

// The address comes from a page: only a web page may replace the home view, never
// a local file, a script or another scheme the engine would act on.
bool IsWebAddress(const std::wstring& address)
{
    std::wstring scheme = address.substr(0, 8);
    for (wchar_t& ch : scheme) ch = static_cast<wchar_t>(std::towlower(ch));
    return scheme.compare(0, 7, L"http://") == 0 || scheme.compare(0, 8, L"https://") == 0;
}

} // namespace

CHelpWnd::CHelpWnd(INoticeAddressTarget* pTarget)
    : m_pTitle(nullptr), m_pText(nullptr), m_pClose(nullptr), m_pShow(nullptr), m_pTarget(pTarget)
{ }

HWND CHelpWnd::Show(const std::wstring& text, const std::wstring& address)
{
    HWND hWnd = Create(nullptr, L"帮助", kPopupStyle, kPopupExStyle, 0, 0, kWidth, kHeight);
    if (hWnd == nullptr) {
        delete this;
        return nullptr;
    }
    m_manager.SetDefaultLinkFont(m_manager.GetDefaultLinkFont(), kLinkColor, kLinkHoverColor);
    MeasureTextCapacity();
    SetNoticeText(text);
    m_address = address;
    MoveToWorkAreaCorner();
    return hWnd;
}

void CHelpWnd::Replace(const std::wstring& text, const std::wstring& address)
{
    SetNoticeText(text);
    m_address = address;
    ::SetWindowPos(m_hWnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW | SWP_NOACTIVATE);
}

CHelpWnd* CHelpWnd::FromWindow(HWND hWnd)
{
    wchar_t className[16] = {};
    if (::GetClassNameW(hWnd, className, 16) == 0 || wcscmp(className, kClassName) != 0) return nullptr;
    // The window procedure keeps its object here.
    auto* window = reinterpret_cast<CWindowWnd*>(::GetWindowLongPtrW(hWnd, GWLP_USERDATA));
    return dynamic_cast<CHelpWnd*>(window);
}

// Characters no narrower than half the font's average width, in as many
// lines as the box is high (and one more, partly shown).
void CHelpWnd::MeasureTextCapacity()
{
    const TEXTMETRICW& tm = m_manager.GetFontInfo(kLinkFont);
    const int narrowest = tm.tmAveCharWidth / 2 > 0 ? tm.tmAveCharWidth / 2 : 1;
    const int lineHeight = tm.tmHeight > 0 ? tm.tmHeight : 1;
    const int width = kWidth > 0 ? kWidth : 1;
    const int height = m_pText->GetFixedHeight() > 0 ? m_pText->GetFixedHeight() : kHeight;
    m_nMaxTitleChars = static_cast<size_t>(width / narrowest);
    m_nMaxLinkChars = m_nMaxTitleChars * static_cast<size_t>(height / lineHeight + 1);
}

bool CHelpWnd::InitControls()
{
    m_pTitle = Find<CControlUI>(L"txtTitle");
    m_pText = Find<CControlUI>(L"txt");
    m_pClose = Find<CControlUI>(L"close");
    m_pShow = Find<CControlUI>(L"show");
    return m_pTitle != nullptr && m_pText != nullptr && m_pClose != nullptr && m_pShow != nullptr;
}

void CHelpWnd::ApplyWindowRegion()
{
    ApplyRoundCornerRegion();
}

void CHelpWnd::SplitNoticeText(const std::wstring& text, std::wstring& title, std::wstring& linkMarkup)
{
    size_t bar = text.find(L'|');
    title = bar == std::wstring::npos ? std::wstring() : text.substr(0, bar);
    std::wstring link = bar == std::wstring::npos ? text : text.substr(bar + 1);
    linkMarkup = L"<f 3><a>" + EscapeMarkup(link) + L"</a></f>";
}

// Tags open with either kind of bracket; each bracket is written as the
// escape the tagged-text renderer draws as that bracket: "{<}", "{>}",
// "<{>", "<}>".
std::wstring CHelpWnd::EscapeMarkup(const std::wstring& text)
{
    std::wstring escaped;
    escaped.reserve(text.size());
    for (wchar_t ch : text) {
        if (ch == L'<' || ch == L'>') {
            escaped += L'{';
            escaped += ch;
            escaped += L'}';
        } else if (ch == L'{' || ch == L'}') {
            escaped += L'<';
            escaped += ch;
            escaped += L'>';
        } else {
            escaped += ch;
        }
    }
    return escaped;
}

void CHelpWnd::SetNoticeText(const std::wstring& text)
{
    size_t bar = text.find(L'|');
    std::wstring shown;
    if (bar == std::wstring::npos) {
        shown = text.substr(0, m_nMaxLinkChars);
    } else {
        shown = text.substr(0, bar < m_nMaxTitleChars ? bar : m_nMaxTitleChars) + L'|' +
            text.substr(bar + 1, m_nMaxLinkChars);
    }
    std::wstring title;
    std::wstring linkMarkup;
    SplitNoticeText(shown, title, linkMarkup);
    m_pTitle->SetText(title.c_str());
    m_pText->SetText(linkMarkup.c_str());
}

// The corner of the monitor the popup is on, so a taskbar there is not covered.
// Popups already open stay where they are: a new one takes the lowest free
// place in the column above the corner, so none hides another.
void CHelpWnd::MoveToWorkAreaCorner()
{
    MONITORINFO info = {};
    info.cbSize = sizeof(info);
    ::GetMonitorInfoW(::MonitorFromWindow(m_hWnd, MONITOR_DEFAULTTOPRIMARY), &info);
    RECT rcWindow = {};
    ::GetWindowRect(m_hWnd, &rcWindow);
    const int width = rcWindow.right - rcWindow.left;
    const int height = rcWindow.bottom - rcWindow.top;
    const int x = info.rcWork.right - width;
    int y = info.rcWork.bottom - height;
    const std::vector<RECT> taken = OtherPopupRects();
    while (y - height >= info.rcWork.top && Overlaps(taken, x, y, width, height)) y -= height;
    if (Overlaps(taken, x, y, width, height)) y = info.rcWork.bottom - height; // the column is full
    ::SetWindowPos(m_hWnd, HWND_TOPMOST, x, y, 0, 0, SWP_SHOWWINDOW | SWP_NOSIZE);
}

namespace {

struct PopupSearch
{
    HWND self;
    std::vector<RECT>* rects;
};

BOOL CALLBACK CollectPopup(HWND hWnd, LPARAM lParam)
{
    PopupSearch* search = reinterpret_cast<PopupSearch*>(lParam);
    if (hWnd == search->self || !::IsWindowVisible(hWnd) || !CHelpWnd::FromWindow(hWnd)) return TRUE;
    RECT rc = {};
    ::GetWindowRect(hWnd, &rc);
    search->rects->push_back(rc);
    return TRUE;
}

} // namespace

std::vector<RECT> CHelpWnd::OtherPopupRects() const
{
    std::vector<RECT> rects;
    PopupSearch search = { m_hWnd, &rects };
    ::EnumThreadWindows(::GetCurrentThreadId(), CollectPopup, reinterpret_cast<LPARAM>(&search));
    return rects;
}

bool CHelpWnd::Overlaps(const std::vector<RECT>& rects, int x, int y, int width, int height)
{
    const RECT place = { x, y, x + width, y + height };
    for (const RECT& rc : rects) {
        RECT common = {};
        if (::IntersectRect(&common, &place, &rc)) return true;
    }
    return false;
}

void CHelpWnd::Notify(TNotifyRecUI& msg)
{
    if (msg.type == NotifyLink) {
        OpenAddress();
    } else if (msg.type == NotifyClick && msg.sender == m_pClose) {
        CloseBySysCommand();
    } else if (msg.type == NotifyClick && msg.sender == m_pShow) {
        OpenAddress();
    }
}

void CHelpWnd::OpenAddress()
{
    if (m_pTarget == nullptr) return;
    if (IsWebAddress(m_address)) m_pTarget->OpenNoticeAddress(m_address);
    CloseBySysCommand();
}
