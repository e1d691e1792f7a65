// The test programs' entry point: GoogleTest's own, and one thing more. Under
// Wine an unhandled exception starts the debugger, which prints its report and
// ends the process; for a process of several threads the exit status Wine
// hands back is then 0, so a test program that crashed passed. Here a crash is
// named on standard error and ends the process with a failing status.
#include <gtest/gtest.h>
#include <windows.h>

namespace {

const UINT kCrashExitCode = 3;

// The crash may have broken the heap or left the C library's locks held:
// nothing here allocates or takes a lock.
void WriteHex(char* out, ULONG_PTR value, int nDigits)
{
    for (int i = nDigits - 1; i >= 0; i--, value >>= 4) out[i] = "0123456789abcdef"[value & 0xF];
}

LONG WINAPI ReportCrash(EXCEPTION_POINTERS* pInfo)
{
    const EXCEPTION_RECORD* pRecord = pInfo != nullptr ? pInfo->ExceptionRecord : nullptr;
    char line[] = "\ntest program crashed: exception 0x00000000 at 0x0000000000000000\n";
    char* pCode = line + sizeof("\ntest program crashed: exception 0x") - 1;
    char* pAddress = pCode + sizeof("00000000 at 0x") - 1;
    if (pRecord != nullptr) {
        WriteHex(pCode, pRecord->ExceptionCode, 8);
        WriteHex(pAddress, reinterpret_cast<ULONG_PTR>(pRecord->ExceptionAddress), 16);
    }
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_ERROR_HANDLE), line, sizeof(line) - 1, &written, nullptr);
    TerminateProcess(GetCurrentProcess(), kCrashExitCode);
    return EXCEPTION_EXECUTE_HANDLER;
}

} // namespace

int main(int argc, char** argv)
{
    SetUnhandledExceptionFilter(ReportCrash);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
