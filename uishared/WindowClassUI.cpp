#include "WindowClassUI.h"

namespace UIShared {

bool CWindowClassUI::RegisteredOrExists(ATOM atom)
{
    return atom != 0 || ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

bool CWindowClassUI::RegisterPlain(UINT uStyle, WNDPROC pfnProc, HINSTANCE hInstance, HICON hIcon,
                                   LPCWSTR pstrClassName)
{
    WNDCLASSW wc = {};
    wc.style = uStyle;
    wc.hIcon = hIcon;
    wc.lpfnWndProc = pfnProc;
    wc.hInstance = hInstance;
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = pstrClassName;
    return RegisteredOrExists(::RegisterClassW(&wc));
}

bool CWindowClassUI::RegisterSuperclass(LPCWSTR pstrBaseClass, LPCWSTR pstrClassName, WNDPROC pfnProc,
                                        HINSTANCE hInstance, WNDPROC* ppfnBaseProc)
{
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof(WNDCLASSEXW);
    if (!::GetClassInfoExW(nullptr, pstrBaseClass, &wc)) {
        if (!::GetClassInfoExW(hInstance, pstrBaseClass, &wc)) return false;
    }
    *ppfnBaseProc = wc.lpfnWndProc;
    wc.lpfnWndProc = pfnProc;
    wc.hInstance = hInstance;
    wc.lpszClassName = pstrClassName;
    return RegisteredOrExists(::RegisterClassExW(&wc));
}

void CWindowClassUI::CenterOnOwner(HWND hWnd)
{
    RECT rcDlg = {};
    ::GetWindowRect(hWnd, &rcDlg);
    RECT rcArea = {};
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &rcArea, 0);
    RECT rcCenter = rcArea;
    HWND hWndOwner = ::GetWindow(hWnd, GW_OWNER);
    if (hWndOwner != nullptr) ::GetWindowRect(hWndOwner, &rcCenter);

    int dlgWidth = rcDlg.right - rcDlg.left;
    int dlgHeight = rcDlg.bottom - rcDlg.top;
    int xLeft = (rcCenter.left + rcCenter.right) / 2 - dlgWidth / 2;
    int yTop = (rcCenter.top + rcCenter.bottom) / 2 - dlgHeight / 2;

    if (xLeft < rcArea.left)
        xLeft = rcArea.left;
    else if (xLeft + dlgWidth > rcArea.right)
        xLeft = rcArea.right - dlgWidth;
    if (yTop < rcArea.top)
        yTop = rcArea.top;
    else if (yTop + dlgHeight > rcArea.bottom)
        yTop = rcArea.bottom - dlgHeight;

    ::SetWindowPos(hWnd, nullptr, xLeft, yTop, -1, -1, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

} // namespace UIShared
