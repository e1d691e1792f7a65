#include "InstallerSubclass.h"

#include <commctrl.h>

#include "PluginState.h"
#include "SetupWnd.h"
#include "UpdateProgressRelay.h"

namespace {

const int kInstallerNextId = IDOK;

} // namespace

void CInstallerSubclass::Attach(HWND hwndInstaller)
{
    if (hwndInstaller == nullptr) return;
    SubclassOnce(hwndInstaller);
    HWND hwndPage = ::FindWindowExW(hwndInstaller, nullptr, L"#32770", nullptr);
    if (hwndPage == nullptr) return;
    SubclassOnce(::FindWindowExW(hwndPage, nullptr, PROGRESS_CLASSW, nullptr));
    SubclassOnce(::FindWindowExW(hwndPage, nullptr, WC_LISTVIEWW, nullptr));
}

void CInstallerSubclass::KeepHidden(HWND hwndInstaller)
{
    if (hwndInstaller == nullptr) return;
    SubclassOnce(hwndInstaller);
    if (::IsWindowVisible(hwndInstaller)) ::ShowWindow(hwndInstaller, SW_HIDE);
}

// Subclassing a window twice would record this procedure as its own previous
// one and make every forwarded message call itself.
void CInstallerSubclass::SubclassOnce(HWND hWnd)
{
    if (hWnd == nullptr) return;
    auto& subclassMap = PluginState().subclassMap;
    if (subclassMap.count(hWnd) != 0) return;
    LONG_PTR previous =
        ::SetWindowLongPtrW(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CInstallerSubclass::InstallerSubclassProc));
    if (previous == 0) return;
    subclassMap[hWnd] = reinterpret_cast<WNDPROC>(previous);
}

LRESULT CALLBACK CInstallerSubclass::InstallerSubclassProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    auto& subclassMap = PluginState().subclassMap;
    auto it = subclassMap.find(hWnd);
    if (it == subclassMap.end()) return 0;
    WNDPROC previous = it->second;
    switch (uMsg) {
    case WM_PAINT: ::ShowWindow(hWnd, SW_HIDE); return 0;
    case WM_SHOWWINDOW:
    case LVM_SETITEMTEXTW: return 0;
    case PBM_SETPOS: return OnSetPos(wParam);
    case WM_WINDOWPOSCHANGING: DropShowing(lParam); break;
    case WM_NCDESTROY:
        // The handle may be reused by another window once this one is gone.
        subclassMap.erase(it);
        break;
    default: break;
    }
    return ::CallWindowProcW(previous, hWnd, uMsg, wParam, lParam);
}

// The installer's bar never sees the position; the skin shows it instead.
LRESULT CInstallerSubclass::OnSetPos(WPARAM wParam)
{
    CUpdateProgressRelay::ReportCopyProgress(static_cast<int>(wParam));
    CControlUI* pControl = CurrentSetupWindow().FindControl(L"progress");
    CProgressUI* pProgress =
        pControl != nullptr ? static_cast<CProgressUI*>(pControl->GetInterface(L"Progress")) : nullptr;
    if (pProgress == nullptr) return 0;
    pProgress->SetMaxValue(kInstallerProgressRange);
    pProgress->SetValue(static_cast<int>(wParam));
    if (pProgress->GetValue() != kInstallerProgressRange) return 0;
    // An open close prompt would otherwise hold the next page inside its own loop.
    if (!CurrentSetupWindow().HoldNextWhileAsking()) PressNext();
    return 0;
}

// The installer shows its window when it leaves the first page and again for
// each page after it; the request to show is taken out of every move.
void CInstallerSubclass::DropShowing(LPARAM lParam)
{
    WINDOWPOS* pPos = reinterpret_cast<WINDOWPOS*>(lParam);
    if (pPos != nullptr) pPos->flags &= ~static_cast<UINT>(SWP_SHOWWINDOW);
}

void CInstallerSubclass::PressNext()
{
    HWND hwndInstaller = PluginState().nsisParentWindow;
    if (hwndInstaller == nullptr) return;
    ::EnableWindow(::GetDlgItem(hwndInstaller, kInstallerNextId), TRUE);
    ::SendMessageW(hwndInstaller, WM_COMMAND, kInstallerNextId, 0);
}
