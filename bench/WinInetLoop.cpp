// The plainest synchronous WinINet download: one InternetOpenUrl, 64 KiB
// InternetReadFile calls, each piece written to the file at once. It is the
// yardstick for the transfer engine: what WinINet itself delivers on this
// machine and this Wine, without threads, ranges or asynchronous mode.
//   wininet_loop <url> <file>
// Prints total_seconds= and bytes= lines, as download_bench.exe does.
#include <windows.h>
#include <wininet.h>

#include <cstdio>
#include <vector>

namespace {

double Now()
{
    LARGE_INTEGER frequency, counter;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

int Fail(const char* what)
{
    printf("error=%s (%lu)\n", what, static_cast<unsigned long>(GetLastError()));
    return 1;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        fprintf(stderr, "usage: wininet_loop <url> <file>\n");
        return 2;
    }
    const double started = Now();
    HINTERNET session = InternetOpenA("wininet_loop", INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0);
    if (!session)
        return Fail("InternetOpen");
    HINTERNET request = InternetOpenUrlA(session, argv[1], nullptr, 0,
                                         INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE, 0);
    if (!request)
        return Fail("InternetOpenUrl");
    HANDLE file = CreateFileA(argv[2], GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return Fail("CreateFile");
    std::vector<char> buffer(0x10000);
    unsigned long long total = 0;
    for (;;) {
        DWORD read = 0;
        if (!InternetReadFile(request, buffer.data(), static_cast<DWORD>(buffer.size()), &read))
            return Fail("InternetReadFile");
        if (read == 0)
            break;
        DWORD written = 0;
        if (!WriteFile(file, buffer.data(), read, &written, nullptr) || written != read)
            return Fail("WriteFile");
        total += read;
    }
    CloseHandle(file);
    InternetCloseHandle(request);
    InternetCloseHandle(session);
    printf("total_seconds=%.4f\nbytes=%llu\n", Now() - started, total);
    return 0;
}
