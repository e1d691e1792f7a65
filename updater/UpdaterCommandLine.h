// The updater's command line: how it is started decides the wizard's mode,
// whether it stays quiet when nothing is new, and its taskbar presence.
#pragma once

#include <windows.h>

struct UpdaterCommandLine
{
    bool valid = false; // 0 or more than 3 argv entries end the run
    WORD mode = 0;      // UpdateModeValue
    bool quietWhenNewest = false;
    bool installFromDownload = false;
    DWORD exStyle = WS_EX_APPWINDOW;
};

// argc counts argv[0], the program name. Only the first character of argv[1]
// and argv[2] matters, in either case.
UpdaterCommandLine ParseUpdaterCommandLine(int argc, const wchar_t* const* argv);
