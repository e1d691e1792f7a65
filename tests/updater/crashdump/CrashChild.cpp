// Stand-in for the updater's temporary run when it crashes.
//   crash            load the dump writer, install the filter, crash
//   crash-no-writer  install the filter without a dump writer, crash
//   write            load the dump writer and write a dump without an exception
#include <windows.h>

#include <cstdint>
#include <string>

#include "MiniDump.h"

namespace {

void CrashWithAccessViolation()
{
    // Read through volatile so the compiler cannot see the null pointer and
    // replace the write by a trap instruction.
    volatile std::uintptr_t address = 0;
    *reinterpret_cast<volatile int*>(address) = 1;
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc != 2) return 2;
    std::wstring mode = argv[1];
    if (mode == L"write") {
        if (!LoadMiniDumpWriter()) return 3;
        WriteCrashDump(nullptr);
        return 0;
    }
    if (mode == L"crash") {
        if (!LoadMiniDumpWriter()) return 3;
    } else if (mode == L"crash-no-writer") {
        SetMiniDumpWriter(nullptr);
    } else {
        return 2;
    }
    SetUnhandledExceptionFilter(UpdateCrashFilter);
    CrashWithAccessViolation();
    return 4;
}
