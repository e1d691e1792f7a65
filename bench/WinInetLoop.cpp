// The plainest synchronous WinINet download: one InternetOpenUrl, 64 KiB
// InternetReadFile calls, each piece written to the file at once. It is the
// yardstick for the transfer engine: what WinINet itself delivers on this
// machine and this Wine, without threads, ranges or asynchronous mode.
//   wininet_loop [async] <url> <file>
// Prints total_seconds= and bytes= lines, as download_bench.exe does. With
// "async" the same loop runs on an asynchronous session (IRF_ASYNC reads
// completed through the status callback), which shows what WinINet's
// asynchronous mode costs by itself.
#include <windows.h>
#include <wininet.h>

#include <cstdio>
#include <cstring>
#include <vector>

namespace {

double Now()
{
    LARGE_INTEGER frequency, counter;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

struct AsyncState
{
    HANDLE done = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    HINTERNET handle = nullptr;
    DWORD error = 0;
};

void CALLBACK OnStatus(HINTERNET, DWORD_PTR context, DWORD status, LPVOID info, DWORD)
{
    AsyncState* state = reinterpret_cast<AsyncState*>(context);
    if (!state) return;
    if (status == INTERNET_STATUS_HANDLE_CREATED) {
        state->handle = *static_cast<HINTERNET*>(info);
    } else if (status == INTERNET_STATUS_REQUEST_COMPLETE) {
        state->error = static_cast<INTERNET_ASYNC_RESULT*>(info)->dwError;
        SetEvent(state->done);
    }
}

// Completes a call that may have gone asynchronous.
bool Finish(BOOL immediate, AsyncState& state)
{
    if (immediate) return true;
    if (GetLastError() != ERROR_IO_PENDING) return false;
    WaitForSingleObject(state.done, INFINITE);
    return state.error == 0;
}

int Fail(const char* what)
{
    printf("error=%s (%lu)\n", what, static_cast<unsigned long>(GetLastError()));
    return 1;
}

} // namespace

int main(int argc, char** argv)
{
    const bool async = argc == 4 && strcmp(argv[1], "async") == 0;
    if (argc != 3 && !async) {
        fprintf(stderr, "usage: wininet_loop [async] <url> <file>\n");
        return 2;
    }
    const char* url = argv[argc - 2];
    const char* path = argv[argc - 1];
    AsyncState state;
    const DWORD_PTR context = async ? reinterpret_cast<DWORD_PTR>(&state) : 0;
    const double started = Now();
    HINTERNET session =
        InternetOpenA("wininet_loop", INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, async ? INTERNET_FLAG_ASYNC : 0);
    if (!session) return Fail("InternetOpen");
    if (async) InternetSetStatusCallbackA(session, OnStatus);
    HINTERNET request =
        InternetOpenUrlA(session, url, nullptr, 0, INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE, context);
    if (!request && !(async && Finish(FALSE, state) && (request = state.handle))) return Fail("InternetOpenUrl");
    HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return Fail("CreateFile");
    std::vector<char> buffer(0x10000);
    unsigned long long total = 0;
    for (;;) {
        DWORD read = 0;
        if (async) {
            INTERNET_BUFFERSA buffers = {};
            buffers.dwStructSize = sizeof(buffers);
            buffers.lpvBuffer = buffer.data();
            buffers.dwBufferLength = static_cast<DWORD>(buffer.size());
            if (!Finish(InternetReadFileExA(request, &buffers, IRF_ASYNC, context), state))
                return Fail("InternetReadFileEx");
            read = buffers.dwBufferLength;
        } else if (!InternetReadFile(request, buffer.data(), static_cast<DWORD>(buffer.size()), &read)) {
            return Fail("InternetReadFile");
        }
        if (read == 0) break;
        DWORD written = 0;
        if (!WriteFile(file, buffer.data(), read, &written, nullptr) || written != read) return Fail("WriteFile");
        total += read;
    }
    CloseHandle(file);
    InternetCloseHandle(request);
    InternetCloseHandle(session);
    printf("total_seconds=%.4f\nbytes=%llu\n", Now() - started, total);
    return 0;
}
