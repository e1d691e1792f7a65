#include "WindowFrame.h"

void ApplyRoundCorners(HWND window, UpdUI::CWindowManagerUI& manager)
{
    SIZE corner = manager.GetRoundCorner();
    if (IsIconic(window) || (corner.cx == 0 && corner.cy == 0)) return;
    RECT rc;
    GetWindowRect(window, &rc);
    OffsetRect(&rc, -rc.left, -rc.top);
    HRGN region = CreateRoundRectRgn(rc.left, rc.top, rc.right + 1, rc.bottom + 1, corner.cx, corner.cy);
    SetWindowRgn(window, region, TRUE); // the window owns the region now
}

void MaximizeToWorkArea(HWND window, LPARAM minMaxInfo)
{
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof(monitor);
    if (!GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY), &monitor)) return;
    RECT work = monitor.rcWork;
    OffsetRect(&work, -work.left, -work.top);
    MINMAXINFO* info = reinterpret_cast<MINMAXINFO*>(minMaxInfo);
    info->ptMaxPosition.x = 0;
    info->ptMaxPosition.y = 0;
    info->ptMaxSize.x = work.right;
    info->ptMaxSize.y = work.bottom;
}

LRESULT CaptionHitTest(HWND window, UpdUI::CWindowManagerUI& manager, LPARAM lParam,
                       const wchar_t* const* clientClasses)
{
    POINT pt = { static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)) };
    ScreenToClient(window, &pt);
    RECT client;
    GetClientRect(window, &client);
    RECT caption = manager.GetCaptionRect();
    bool inCaption = pt.x >= client.left + caption.left && pt.x < client.right - caption.right && pt.y >= caption.top &&
        pt.y < caption.bottom;
    if (!inCaption) return HTCLIENT;
    UpdUI::CControlUI* control = manager.FindControlAt(pt);
    if (!control) return HTCLIENT;
    for (const wchar_t* const* name = clientClasses; *name; ++name) {
        if (wcscmp(control->GetControlClass(), *name) == 0) return HTCLIENT;
    }
    return HTCAPTION;
}

void DropNativeCaption(HWND window)
{
    LONG_PTR style = GetWindowLongPtrW(window, GWL_STYLE);
    style = (style & ~static_cast<LONG_PTR>(WS_CAPTION)) | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
    SetWindowLongPtrW(window, GWL_STYLE, style);
}
