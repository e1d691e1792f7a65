#include "MiniDump.h"

#include <shlwapi.h>

#include <cstdarg>
#include <cwchar>

namespace {

MiniDumpWriteDumpFn g_miniDumpWriteDump = nullptr;

// Paths are built in fixed buffers: the heap may be what is broken.
const size_t kPathCapacity = MAX_PATH + 32;

// The running executable's folder without a trailing backslash; false when the
// path does not fit, so that no dump lands in a wrong, truncated folder.
bool GetExecutableFolder(wchar_t* folder, size_t capacity)
{
    DWORD length = GetModuleFileNameW(nullptr, folder, static_cast<DWORD>(capacity));
    if (length == 0 || length >= capacity) return false;
    wchar_t* lastSlash = wcsrchr(folder, L'\\');
    if (!lastSlash) return false;
    *lastSlash = L'\0';
    return true;
}

bool FormatPath(wchar_t* out, size_t capacity, const wchar_t* format, ...)
{
    va_list args;
    va_start(args, format);
    int written = vswprintf(out, capacity, format, args);
    va_end(args);
    return written > 0 && static_cast<size_t>(written) < capacity;
}

void WriteDumpFile(const wchar_t* path, EXCEPTION_POINTERS* exception)
{
    HANDLE file = CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    MINIDUMP_EXCEPTION_INFORMATION information{};
    information.ThreadId = GetCurrentThreadId();
    information.ExceptionPointers = exception;
    information.ClientPointers = FALSE;
    g_miniDumpWriteDump(GetCurrentProcess(), GetCurrentProcessId(), file, MiniDumpNormal,
                        exception ? &information : nullptr, nullptr, nullptr);
    CloseHandle(file);
}

} // namespace

bool LoadMiniDumpWriter()
{
    HMODULE dbghelp = LoadLibraryW(L"DBGHELP.DLL");
    if (!dbghelp) return false;
    g_miniDumpWriteDump = reinterpret_cast<MiniDumpWriteDumpFn>(GetProcAddress(dbghelp, "MiniDumpWriteDump"));
    return g_miniDumpWriteDump != nullptr;
}

void SetMiniDumpWriter(MiniDumpWriteDumpFn writer)
{
    g_miniDumpWriteDump = writer;
}

void WriteCrashDump(EXCEPTION_POINTERS* exception)
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    wchar_t appFolder[kPathCapacity];
    wchar_t logFolder[kPathCapacity];
    wchar_t dumpPath[kPathCapacity];
    if (!GetExecutableFolder(appFolder, kPathCapacity)) return;
    if (!FormatPath(logFolder, kPathCapacity, L"%ls\\Log", appFolder)) return;
    if (!PathFileExistsW(logFolder)) CreateDirectoryW(logFolder, nullptr);
    if (!g_miniDumpWriteDump) return;
    if (!FormatPath(dumpPath, kPathCapacity, L"%ls\\Log\\%04d-%02d-%02d %02d%02d%02d.dmp", appFolder, now.wYear,
                    now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond))
        return;
    WriteDumpFile(dumpPath, exception);
}

LONG WINAPI UpdateCrashFilter(EXCEPTION_POINTERS* exception)
{
    WriteCrashDump(exception);
    return EXCEPTION_EXECUTE_HANDLER;
}
