#include "SystemShutdown.h"

namespace {

const UINT kPowerOffFlags = EWX_SHUTDOWN | EWX_FORCE | EWX_POWEROFF;

} // namespace

CSystemShutdown& CSystemShutdown::System()
{
    static CSystemShutdown instance;
    return instance;
}

bool CSystemShutdown::PowerOff()
{
    // Without the privilege the request below fails on its own and says so.
    if (IsNtFamily()) EnableShutdownPrivilege();
    return ::ExitWindowsEx(kPowerOffFlags, 0) != FALSE;
}

// Windows 9x has neither tokens nor privileges; GetVersion sets its high bit there.
bool CSystemShutdown::IsNtFamily()
{
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    return (::GetVersion() & 0x80000000u) == 0;
#pragma GCC diagnostic pop
}

bool CSystemShutdown::EnableShutdownPrivilege()
{
    HANDLE token = nullptr;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token)) return false;
    TOKEN_PRIVILEGES privileges = {};
    privileges.PrivilegeCount = 1;
    privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    bool ok = ::LookupPrivilegeValueW(nullptr, SE_SHUTDOWN_NAME, &privileges.Privileges[0].Luid) != FALSE;
    // AdjustTokenPrivileges succeeds even when it could not grant the privilege;
    // only the last error tells.
    ok = ok && ::AdjustTokenPrivileges(token, FALSE, &privileges, 0, nullptr, nullptr) != FALSE &&
        ::GetLastError() == ERROR_SUCCESS;
    ::CloseHandle(token);
    return ok;
}
