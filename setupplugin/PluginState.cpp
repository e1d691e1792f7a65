#include "PluginState.h"

#include "InstallWnd.h"
#include "UnInstallWnd.h"

namespace {

TPluginState g_state;
CInstallWnd g_installWnd;
CUnInstallWnd g_unInstallWnd;

} // namespace

TPluginState& PluginState()
{
    return g_state;
}

CInstallWnd& InstallWindow()
{
    return g_installWnd;
}

CUnInstallWnd& UnInstallWindow()
{
    return g_unInstallWnd;
}

bool IsInstallMode()
{
    return g_state.installerMode != 0;
}

CSetupWnd& CurrentSetupWindow()
{
    if (IsInstallMode()) return g_installWnd;
    return g_unInstallWnd;
}
