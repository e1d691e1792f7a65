#pragma once
#include <windows.h>

namespace UIShared {

// The window-class chores both libraries' window base does the same way: registering a
// plain class or a superclass of an existing one (a class that already exists counts as
// registered) and centring a window on its owner within the work area.
class CWindowClassUI
{
public:
    // hIcon may be null: the class then has no icon.
    static bool RegisterPlain(UINT uStyle, WNDPROC pfnProc, HINSTANCE hInstance, HICON hIcon, LPCWSTR pstrClassName);
    // Looks the base class up among the system classes first, then the module's own. When
    // it is found, *ppfnBaseProc receives its procedure, even if the registration fails.
    static bool RegisterSuperclass(LPCWSTR pstrBaseClass, LPCWSTR pstrClassName, WNDPROC pfnProc, HINSTANCE hInstance,
                                   WNDPROC* ppfnBaseProc);
    static void CenterOnOwner(HWND hWnd);

private:
    static bool RegisteredOrExists(ATOM atom);
};

} // namespace UIShared
