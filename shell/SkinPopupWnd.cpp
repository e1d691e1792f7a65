#include "SkinPopupWnd.h"

#include <string>

#include "AppPaths.h"
#include "ProgramGlobals.h"
#include "WindowRegion.h"

namespace {

const DWORD kRemovedStyle = WS_CAPTION;
const DWORD kAddedStyle = WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
const wchar_t kSkinFile[] = L"skin\\skin.sk";

std::wstring SkinFilePath()
{
    if (ModulePath == nullptr) return std::wstring();
    return SiblingPath(ModulePath, kSkinFile);
}

} // namespace

CSkinPopupWnd::CSkinPopupWnd() : m_bListed(false), m_bCreated(false) { }

CWindowManagerUI& CSkinPopupWnd::GetManager()
{
    return m_manager;
}

HWND CSkinPopupWnd::Create(HWND hwndParent, LPCWSTR pstrName, DWORD dwStyle, DWORD dwExStyle, int x, int y, int cx,
                           int cy, HMENU hMenu)
{
    HWND hWnd = CWindowWnd::Create(hwndParent, pstrName, dwStyle, dwExStyle, x, y, cx, cy, hMenu);
    m_bCreated = hWnd != nullptr;
    return hWnd;
}

HWND CSkinPopupWnd::CreateInRect(HWND hwndParent, LPCWSTR pstrName, DWORD dwStyle, DWORD dwExStyle, RECT rc,
                                 HMENU hMenu)
{
    return Create(hwndParent, pstrName, dwStyle, dwExStyle, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top,
                  hMenu);
}

bool CSkinPopupWnd::HandleCustomMessage(UINT, WPARAM, LPARAM, LRESULT&)
{
    return false;
}

bool CSkinPopupWnd::IsDeletedWithWindow() const
{
    return true;
}

LRESULT CSkinPopupWnd::HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    switch (uMsg) {
    case WM_CREATE: return OnCreate();
    case WM_SIZE:
        if (!::IsIconic(m_hWnd)) ApplyWindowRegion();
        break;
    case WM_NCHITTEST: return OnNcHitTest(lParam);
    case WM_NCACTIVATE:
        if (!::IsIconic(m_hWnd)) return wParam == 0 ? TRUE : FALSE;
        break;
    case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) == SC_CLOSE) {
            ::PostMessageW(m_hWnd, WM_CLOSE, 0, 0);
            return 0;
        }
        return CWindowWnd::HandleMessage(uMsg, wParam, lParam);
    case WM_NCCALCSIZE:
    case WM_NCPAINT: return 0;
    default: break;
    }
    LRESULT lRes = 0;
    if (HandleCustomMessage(uMsg, wParam, lParam, lRes)) return lRes;
    if (m_manager.HandleWindowMessage(uMsg, wParam, lParam, lRes)) return lRes;
    return CWindowWnd::HandleMessage(uMsg, wParam, lParam);
}

// A missing skin or a skin without the window's controls fails the creation
// cleanly instead of leaving a window that would use missing controls.
LRESULT CSkinPopupWnd::OnCreate()
{
    LONG_PTR style = ::GetWindowLongPtrW(m_hWnd, GWL_STYLE);
    ::SetWindowLongPtrW(m_hWnd, GWL_STYLE, (style & ~static_cast<LONG_PTR>(kRemovedStyle)) | kAddedStyle);
    RECT rcClient = {};
    ::GetClientRect(m_hWnd, &rcClient);
    ::SetWindowPos(m_hWnd, nullptr, rcClient.left, rcClient.top, rcClient.right - rcClient.left,
                   rcClient.bottom - rcClient.top, SWP_FRAMECHANGED);
    if (!BuildSkin()) return -1;
    ResizeToInitialSize();
    return InitControls() ? 0 : -1;
}

bool CSkinPopupWnd::BuildSkin()
{
    m_manager.Init(m_hWnd);
    std::wstring skinFile = SkinFilePath();
    if (skinFile.empty()) return false;
    CSkinBuilderUI builder;
    CControlUI* pRoot = builder.Build(skinFile.c_str(), GetSkinXml(), nullptr, nullptr, &m_manager);
    if (pRoot == nullptr) return false;
    m_bListed = ApplicationWindowList.Add(&m_manager);
    m_manager.AttachRoot(pRoot);
    m_manager.AddNotifier(this);
    return true;
}

void CSkinPopupWnd::ResizeToInitialSize()
{
    CSizeUI size = m_manager.GetInitSize();
    if (size.cx == 0 || size.cy == 0) return;
    ::SetWindowPos(m_hWnd, nullptr, 0, 0, size.cx, size.cy, SWP_NOZORDER | SWP_NOMOVE | SWP_NOACTIVATE);
}

LRESULT CSkinPopupWnd::OnNcHitTest(LPARAM lParam) const
{
    POINT pt = { static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)) };
    ::ScreenToClient(m_hWnd, &pt);
    RECT rcClient = {};
    ::GetClientRect(m_hWnd, &rcClient);
    return IsCaptionPoint(pt, rcClient) ? HTCAPTION : HTCLIENT;
}

// Buttons on the caption stay clickable; the rest of the caption moves the window.
bool CSkinPopupWnd::IsCaptionPoint(POINT pt, const RECT& rcClient) const
{
    RECT rcCaption = m_manager.GetCaptionRect();
    bool bInside = pt.x >= rcClient.left + rcCaption.left && pt.x < rcClient.right - rcCaption.right &&
        pt.y >= rcCaption.top && pt.y < rcCaption.bottom;
    if (!bInside) return false;
    CControlUI* pControl = m_manager.FindControlAt(pt);
    return pControl != nullptr && wcscmp(pControl->GetControlClass(), L"ButtonUI") != 0;
}

void CSkinPopupWnd::ApplyRoundCornerRegion()
{
    CWindowRegion::ApplyRoundCorners(m_hWnd, m_manager.GetRoundCorner());
}

void CSkinPopupWnd::CloseBySysCommand()
{
    ::SendMessageW(m_hWnd, WM_SYSCOMMAND, SC_CLOSE, 0);
}

// A window whose creation failed is destroyed inside Create, which still
// stores its result in the object: the creator deletes it afterwards.
void CSkinPopupWnd::OnFinalMessage(HWND)
{
    if (m_bListed) ApplicationWindowList.Remove(ApplicationWindowList.Find(&m_manager));
    m_bListed = false;
    if (m_bCreated && IsDeletedWithWindow()) delete this;
}
