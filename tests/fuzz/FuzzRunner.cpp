#include "FuzzRunner.h"

#include <process.h>

#include <algorithm>
#include <cstdio>
#include <exception>
#include <vector>

namespace Fuzz {

namespace {

// Shared between the thread that runs the inputs and the watching main thread.
struct Shared
{
    const Target* target = nullptr;
    std::wstring resourceFolder;
    std::vector<std::wstring> inputs;
    size_t first = 0;
    volatile LONG current = -1;      // index of the input being run
    volatile LONGLONG startedAt = 0; // GetTickCount64 when it started
    volatile DWORD faultCode = 0;
    volatile ULONG_PTR faultAddress = 0;
    char detail[512] = {};
    HANDLE failed = nullptr; // set by the running thread on a failure
};

Shared g_shared;

std::vector<std::wstring> ListInputs(const std::wstring& folder)
{
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((folder + L"\\*.in").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return names;
    do {
        if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) names.push_back(data.cFileName);
    } while (FindNextFileW(find, &data));
    FindClose(find);
    std::sort(names.begin(), names.end());
    return names;
}

bool ReadInput(const std::wstring& path, std::vector<BYTE>& bytes)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD size = GetFileSize(file, nullptr);
    bytes.assign(size, 0);
    DWORD read = 0;
    bool ok = size == 0 || (ReadFile(file, bytes.data(), size, &read, nullptr) && read == size);
    CloseHandle(file);
    return ok;
}

// Runs on the faulting thread, possibly with almost no stack left: it only records the
// fault and leaves the reporting to the main thread.
LONG WINAPI OnUnhandledException(EXCEPTION_POINTERS* info)
{
    g_shared.faultCode = info->ExceptionRecord->ExceptionCode;
    g_shared.faultAddress = reinterpret_cast<ULONG_PTR>(info->ExceptionRecord->ExceptionAddress);
    SetEvent(g_shared.failed);
    Sleep(INFINITE);
    return EXCEPTION_CONTINUE_SEARCH;
}

void Fail(const char* detail)
{
    snprintf(g_shared.detail, sizeof(g_shared.detail), "%s", detail);
    SetEvent(g_shared.failed);
    Sleep(INFINITE);
}

bool HeapsAreSound()
{
    HANDLE heaps[256];
    DWORD count = GetProcessHeaps(256, heaps);
    for (DWORD i = 0; i < count && i < 256; ++i) {
        if (!HeapValidate(heaps[i], 0, nullptr)) return false;
    }
    return true;
}

void RunOne(const std::vector<BYTE>& bytes)
{
    try {
        g_shared.target->run(bytes.data(), bytes.size());
    } catch (const std::exception& e) {
        std::string text = std::string("exception escaped the reader: ") + e.what();
        Fail(text.c_str());
    } catch (...) {
        Fail("exception escaped the reader");
    }
}

unsigned __stdcall RunInputs(void*)
{
    SetUnhandledExceptionFilter(OnUnhandledException);
    std::set_terminate([] { Fail("std::terminate"); });
    if (g_shared.target->prepare != nullptr) g_shared.target->prepare(g_shared.resourceFolder);
    std::vector<BYTE> bytes;
    for (size_t i = g_shared.first; i < g_shared.inputs.size(); ++i) {
        // Reading counts for the input read: a slow read must not be blamed on the last one.
        g_shared.startedAt = (LONGLONG)GetTickCount64();
        InterlockedExchange(&g_shared.current, (LONG)i);
        if (!ReadInput(g_shared.inputs[i], bytes)) continue;
        RunOne(bytes);
        // Messages the reader posted to its windows are dropped with the input.
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
        if (!HeapsAreSound()) Fail("heap damaged");
    }
    InterlockedExchange(&g_shared.current, -1);
    return 0;
}

std::wstring BaseName(const std::wstring& path)
{
    size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

void SaveFailure(const std::wstring& failureFolder, LONG index, const std::string& what)
{
    std::wstring input = g_shared.inputs[(size_t)index];
    std::wstring saved = failureFolder + L"\\" + g_shared.target->name + L"-" + BaseName(input);
    CreateDirectoryW(failureFolder.c_str(), nullptr);
    CopyFileW(input.c_str(), saved.c_str(), FALSE);
    FILE* note = _wfopen((saved + L".txt").c_str(), L"w");
    if (note != nullptr) {
        fprintf(note, "%s\n", what.c_str());
        fclose(note);
    }
    printf("FAIL %ls %ls: %s\n", g_shared.target->name, BaseName(input).c_str(), what.c_str());
    fflush(stdout);
}

std::string DescribeFault()
{
    char text[200];
    if (g_shared.faultCode != 0) {
        snprintf(text, sizeof(text), "fault 0x%08lX at %p", (unsigned long)g_shared.faultCode,
                 (void*)g_shared.faultAddress);
        return text;
    }
    return g_shared.detail;
}

// Waits for the running thread to finish, fail or overrun the limit on one input.
int Watch(HANDLE runner, const std::wstring& failureFolder, DWORD limitMs)
{
    HANDLE waits[2] = { g_shared.failed, runner };
    for (;;) {
        DWORD which = WaitForMultipleObjects(2, waits, FALSE, 100);
        if (which == WAIT_OBJECT_0) {
            SaveFailure(failureFolder, g_shared.current, DescribeFault());
            return 2;
        }
        if (which == WAIT_OBJECT_0 + 1) return 0;
        LONG index = g_shared.current;
        LONGLONG elapsed = (LONGLONG)GetTickCount64() - g_shared.startedAt;
        if (index >= 0 && elapsed > (LONGLONG)limitMs && g_shared.current == index) {
            char text[100];
            snprintf(text, sizeof(text), "hang: still running after %lld ms", elapsed);
            SaveFailure(failureFolder, index, text);
            return 2;
        }
    }
}

} // namespace

void ReportWrongResult(const char* what)
{
    Fail(what);
}

int Main(int argc, wchar_t** argv, const Target* targets, size_t count)
{
    if (argc < 4) {
        printf("usage: TARGET INPUT_FOLDER FAILURE_FOLDER [LIMIT_MS [FIRST_INDEX [RESOURCE_FOLDER]]]\n");
        return 1;
    }
    for (size_t i = 0; i < count; ++i) {
        if (wcscmp(targets[i].name, argv[1]) == 0) g_shared.target = &targets[i];
    }
    if (g_shared.target == nullptr) {
        printf("unknown target %ls\n", argv[1]);
        return 1;
    }
    std::wstring inputFolder = argv[2];
    std::wstring failureFolder = argv[3];
    DWORD limitMs = argc > 4 ? wcstoul(argv[4], nullptr, 10) : 5000;
    g_shared.first = argc > 5 ? wcstoul(argv[5], nullptr, 10) : 0;
    g_shared.resourceFolder = argc > 6 ? argv[6] : L"";
    for (const std::wstring& name : ListInputs(inputFolder)) g_shared.inputs.push_back(inputFolder + L"\\" + name);
    g_shared.failed = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    // The stack of a program's main thread: a reader must fit in what it will have.
    HANDLE runner = (HANDLE)_beginthreadex(nullptr, 2 * 1024 * 1024, RunInputs, nullptr,
                                           STACK_SIZE_PARAM_IS_A_RESERVATION, nullptr);
    if (runner == nullptr) return 1;
    DWORD started = GetTickCount();
    int result = Watch(runner, failureFolder, limitMs);
    if (result == 0) {
        printf("PASS %ls %u inputs in %lu ms\n", g_shared.target->name,
               (unsigned)(g_shared.inputs.size() - std::min(g_shared.first, g_shared.inputs.size())),
               GetTickCount() - started);
    }
    fflush(stdout);
    // A failed or hung reader cannot be unwound: end the process as it stands.
    TerminateProcess(GetCurrentProcess(), (UINT)result);
    return result;
}

} // namespace Fuzz
