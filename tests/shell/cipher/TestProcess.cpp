#include "TestProcess.h"

#include <windows.h>

#include <vector>

namespace {

struct Pipe
{
    HANDLE read = nullptr;
    HANDLE write = nullptr;
};

bool MakePipe(Pipe& pipe, bool childReads)
{
    SECURITY_ATTRIBUTES inherit = { sizeof inherit, nullptr, TRUE };
    if (!CreatePipe(&pipe.read, &pipe.write, &inherit, 1 << 16)) return false;
    // Only the child's end may be inherited, or the parent never sees EOF.
    SetHandleInformation(childReads ? pipe.write : pipe.read, HANDLE_FLAG_INHERIT, 0);
    return true;
}

void CloseHandleOnce(HANDLE& handle)
{
    if (handle) CloseHandle(handle);
    handle = nullptr;
}

std::string ReadAll(HANDLE from)
{
    std::string text;
    char chunk[4096];
    DWORD got = 0;
    while (ReadFile(from, chunk, sizeof chunk, &got, nullptr) && got > 0) text.append(chunk, got);
    return text;
}

} // namespace

TestProcessResult RunTestProcess(const std::wstring& commandLine, const std::string& input)
{
    TestProcessResult result;
    Pipe in, out;
    if (!MakePipe(in, true) || !MakePipe(out, false)) return result;

    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = in.read;
    startup.hStdOutput = out.write;
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION process = {};
    std::vector<wchar_t> line(commandLine.begin(), commandLine.end());
    line.push_back(L'\0');
    result.started =
        CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process) != 0;
    CloseHandleOnce(in.read);
    CloseHandleOnce(out.write);
    if (result.started) {
        DWORD written = 0;
        if (!input.empty()) WriteFile(in.write, input.data(), DWORD(input.size()), &written, nullptr);
        CloseHandleOnce(in.write);
        result.output = ReadAll(out.read);
        WaitForSingleObject(process.hProcess, INFINITE);
        GetExitCodeProcess(process.hProcess, &result.exitCode);
        CloseHandle(process.hProcess);
        CloseHandle(process.hThread);
    }
    CloseHandleOnce(in.write);
    CloseHandleOnce(out.read);
    return result;
}
