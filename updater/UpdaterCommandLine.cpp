#include "UpdaterCommandLine.h"

#include "UpdateManifest.h"

#include <cwctype>

namespace {

wchar_t FirstUpper(const wchar_t* argument)
{
    return argument ? static_cast<wchar_t>(towupper(argument[0])) : L'\0';
}

void SetHidden(UpdaterCommandLine& line, WORD mode)
{
    line.mode = mode;
    line.exStyle = WS_EX_TOOLWINDOW;
}

} // namespace

UpdaterCommandLine ParseUpdaterCommandLine(int argc, const wchar_t* const* argv)
{
    UpdaterCommandLine line;
    if (argc < 1 || argc > 3 || !argv) return line;
    line.valid = true;
    if (argc == 2) {
        wchar_t first = FirstUpper(argv[1]);
        if (first == L'F')
            SetHidden(line, UpdateModeForced);
        else if (first == L'S')
            SetHidden(line, UpdateModeSilent);
    } else if (argc == 3 && FirstUpper(argv[1]) == L'S') {
        wchar_t second = FirstUpper(argv[2]);
        if (second == L'A') {
            SetHidden(line, UpdateModeSilent);
            line.quietWhenNewest = true;
        } else if (second == L'F') {
            SetHidden(line, UpdateModeForced);
            line.installFromDownload = true;
        }
    }
    return line;
}
