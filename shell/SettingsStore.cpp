#include "SettingsStore.h"

#include <cwchar>

namespace {

const wchar_t kSection[] = L"setting";
const int kSkinColorCount = 6;

int ReadSetting(const wchar_t* key, const std::wstring& path)
{
    // The API hands back the parsed value as UINT; "-1" comes back as 0xFFFFFFFF.
    return static_cast<int>(GetPrivateProfileIntW(kSection, key, 0, path.c_str()));
}

} // namespace

SettingsStore::SettingsStore(const std::wstring& path)
    : quit(false), autorun(false), quitacc(false), topwentv(false), powerOffArmed(false), poweroffhour(0),
      poweroffminute(0), skincolor(0), filePath(path)
{ }

void SettingsStore::Load()
{
    Transfer(false);
}

void SettingsStore::Save()
{
    Transfer(true);
}

// One walk over the keys serves both directions, so the file's key order is
// the order written here.
void SettingsStore::Transfer(bool save)
{
    TransferFlag(L"quit", quit, save);
    TransferFlag(L"autorun", autorun, save);
    TransferFlag(L"quitacc", quitacc, save);
    TransferFlag(L"topwentv", topwentv, save);
    TransferNumber(L"skincolor", skincolor, save);
    TransferNumber(L"poweroffhour", poweroffhour, save);
    TransferNumber(L"poweroffminute", poweroffminute, save);
    // A daily power-off stays on across restarts until the user turns it
    // off; files written before this key existed load it as off.
    TransferFlag(L"poweroffarmed", powerOffArmed, save);
    if (save) return;
    if (skincolor < 0 || skincolor >= kSkinColorCount) skincolor = 0;
}

void SettingsStore::TransferFlag(const wchar_t* key, bool& value, bool save)
{
    if (save)
        WriteSetting(key, value ? 1 : 0, filePath);
    else
        value = ReadSetting(key, filePath) != 0;
}

void SettingsStore::TransferNumber(const wchar_t* key, int& value, bool save)
{
    if (save)
        WriteSetting(key, value, filePath);
    else
        value = ReadSetting(key, filePath);
}

BOOL WriteSetting(const wchar_t* key, int value, const std::wstring& path)
{
    wchar_t text[16];
    std::swprintf(text, sizeof text / sizeof text[0], L"%d", value);
    return WritePrivateProfileStringW(kSection, key, text, path.c_str());
}
