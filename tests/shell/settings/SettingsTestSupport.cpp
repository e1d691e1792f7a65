#include "SettingsTestSupport.h"

#include "ProgramGlobals.h"

namespace {

wchar_t g_modulePath[MAX_PATH];

} // namespace

std::wstring SettingsProgramFolder()
{
    return std::wstring(LUMORA_TEST_BUILD_DIR) + L"\\tests\\settings\\";
}

void UseSettingsProgramFolder()
{
    std::wstring path = SettingsProgramFolder() + L"lumora.exe";
    wcsncpy(g_modulePath, path.c_str(), MAX_PATH - 1);
    ModulePath = g_modulePath;
}

COLORREF ColourAt(const ScreenShot& shot, int x, int y)
{
    if (x < 0 || y < 0 || x >= shot.Width() || y >= shot.Height()) return CLR_INVALID;
    DWORD pixel = shot.Pixel(x, y);
    return RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF);
}
