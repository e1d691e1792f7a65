// The updater's crash filter, end to end: a child process crashes with the
// filter installed and must leave "Log\YYYY-MM-DD HHMMSS.dmp" beside itself.
#include <gtest/gtest.h>
#include <windows.h>
#include <dbghelp.h>

#include <cwctype>
#include <string>
#include <vector>

namespace {

const DWORD kChildWaitMs = 60000;

std::wstring ChildExe()
{
    return std::wstring(LUMORA_TEST_BUILD_DIR) + L"\\tests\\updater_crash_child.exe";
}

void DeleteTree(const std::wstring& folder)
{
    WIN32_FIND_DATAW entry;
    HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &entry);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            std::wstring name = entry.cFileName;
            if (name == L"." || name == L"..") continue;
            std::wstring path = folder + L"\\" + name;
            if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                DeleteTree(path);
            else
                DeleteFileW(path.c_str());
        } while (FindNextFileW(find, &entry));
        FindClose(find);
    }
    RemoveDirectoryW(folder.c_str());
}

std::vector<char> ReadFileBytes(const std::wstring& path)
{
    std::vector<char> bytes;
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return bytes;
    LARGE_INTEGER size{};
    GetFileSizeEx(file, &size);
    bytes.resize(static_cast<size_t>(size.QuadPart));
    DWORD read = 0;
    if (!bytes.empty()) ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
    bytes.resize(read);
    CloseHandle(file);
    return bytes;
}

// The exception code recorded in the dump's exception stream; 0 without one.
DWORD DumpedExceptionCode(const std::vector<char>& dump)
{
    if (dump.size() < sizeof(MINIDUMP_HEADER)) return 0;
    const auto* header = reinterpret_cast<const MINIDUMP_HEADER*>(dump.data());
    for (ULONG32 i = 0; i < header->NumberOfStreams; ++i) {
        size_t at = header->StreamDirectoryRva + i * sizeof(MINIDUMP_DIRECTORY);
        if (at + sizeof(MINIDUMP_DIRECTORY) > dump.size()) return 0;
        const auto* directory = reinterpret_cast<const MINIDUMP_DIRECTORY*>(dump.data() + at);
        if (directory->StreamType != ExceptionStream) continue;
        if (directory->Location.Rva + sizeof(MINIDUMP_EXCEPTION_STREAM) > dump.size()) return 0;
        const auto* stream = reinterpret_cast<const MINIDUMP_EXCEPTION_STREAM*>(dump.data() + directory->Location.Rva);
        return stream->ExceptionRecord.ExceptionCode;
    }
    return 0;
}

ULONGLONG SecondsOf(const SYSTEMTIME& time)
{
    SYSTEMTIME whole = time;
    whole.wMilliseconds = 0;
    FILETIME file{};
    SystemTimeToFileTime(&whole, &file);
    return ((static_cast<ULONGLONG>(file.dwHighDateTime) << 32) | file.dwLowDateTime) / 10000000ULL;
}

// "YYYY-MM-DD HHMMSS.dmp" -> the local time it names; false for any other shape.
bool ParseDumpName(const std::wstring& name, SYSTEMTIME* time)
{
    const std::wstring shape = L"####-##-## ######.dmp";
    if (name.size() != shape.size()) return false;
    for (size_t i = 0; i < shape.size(); ++i) {
        if (shape[i] == L'#' ? !iswdigit(name[i]) : name[i] != shape[i]) return false;
    }
    auto number = [&](size_t at, size_t count) { return static_cast<WORD>(std::stoi(name.substr(at, count))); };
    *time = SYSTEMTIME{};
    time->wYear = number(0, 4);
    time->wMonth = number(5, 2);
    time->wDay = number(8, 2);
    time->wHour = number(11, 2);
    time->wMinute = number(13, 2);
    time->wSecond = number(15, 2);
    return true;
}

class CrashDumpTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        m_folder = std::wstring(temp) + L"lumora_crashdump_" + std::to_wstring(GetCurrentProcessId()) + L"_" +
            std::to_wstring(GetTickCount());
        ASSERT_TRUE(CreateDirectoryW(m_folder.c_str(), nullptr));
        ASSERT_TRUE(CopyFileW(ChildExe().c_str(), (m_folder + L"\\lumoraupd.exe").c_str(), FALSE)) << "child not built";
    }
    void TearDown() override { DeleteTree(m_folder); }

    DWORD RunChild(const std::wstring& mode)
    {
        std::wstring command = L"\"" + m_folder + L"\\lumoraupd.exe\" " + mode;
        STARTUPINFOW startup{};
        startup.cb = sizeof(startup);
        PROCESS_INFORMATION process{};
        GetLocalTime(&m_started);
        if (!CreateProcessW(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
            return 0xFFFFFFFF;
        DWORD code = STILL_ACTIVE;
        if (WaitForSingleObject(process.hProcess, kChildWaitMs) == WAIT_OBJECT_0)
            GetExitCodeProcess(process.hProcess, &code);
        else
            TerminateProcess(process.hProcess, 1);
        GetLocalTime(&m_ended);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
        return code;
    }

    std::wstring LogFolder() const { return m_folder + L"\\Log"; }

    std::vector<std::wstring> LogEntries() const
    {
        std::vector<std::wstring> names;
        WIN32_FIND_DATAW entry;
        HANDLE find = FindFirstFileW((LogFolder() + L"\\*").c_str(), &entry);
        if (find == INVALID_HANDLE_VALUE) return names;
        do {
            std::wstring name = entry.cFileName;
            if (name != L"." && name != L"..") names.push_back(name);
        } while (FindNextFileW(find, &entry));
        FindClose(find);
        return names;
    }

    // The one dump in Log, checked for its name and its minidump signature.
    std::vector<char> TheDump(const std::vector<std::wstring>& ignore = {})
    {
        std::vector<std::wstring> dumps;
        for (const std::wstring& name : LogEntries()) {
            bool ignored = false;
            for (const std::wstring& other : ignore) ignored = ignored || name == other;
            if (!ignored) dumps.push_back(name);
        }
        EXPECT_EQ(dumps.size(), 1u);
        if (dumps.size() != 1) return {};
        SYSTEMTIME named{};
        EXPECT_TRUE(ParseDumpName(dumps[0], &named)) << "unexpected dump name " << testing::PrintToString(dumps[0]);
        EXPECT_GE(SecondsOf(named), SecondsOf(m_started)) << "named after the local time of the crash";
        EXPECT_LE(SecondsOf(named), SecondsOf(m_ended)) << "named after the local time of the crash";
        std::vector<char> bytes = ReadFileBytes(LogFolder() + L"\\" + dumps[0]);
        EXPECT_GE(bytes.size(), sizeof(MINIDUMP_HEADER));
        EXPECT_EQ(std::string(bytes.data(), bytes.size() < 4 ? bytes.size() : 4), "MDMP");
        return bytes;
    }

    std::wstring m_folder;
    SYSTEMTIME m_started{};
    SYSTEMTIME m_ended{};
};

TEST_F(CrashDumpTest, CrashCreatesLogAndWritesOneDumpWithTheException)
{
    ASSERT_EQ(GetFileAttributesW(LogFolder().c_str()), INVALID_FILE_ATTRIBUTES);
    // The filter ends the process quietly with the exception as its exit code.
    EXPECT_EQ(RunChild(L"crash"), static_cast<DWORD>(EXCEPTION_ACCESS_VIOLATION));
    std::vector<char> dump = TheDump();
    EXPECT_EQ(DumpedExceptionCode(dump), static_cast<DWORD>(EXCEPTION_ACCESS_VIOLATION));
}

TEST_F(CrashDumpTest, CrashWithLogPresentAddsItsDumpBesideOlderFiles)
{
    ASSERT_TRUE(CreateDirectoryW(LogFolder().c_str(), nullptr));
    HANDLE old = CreateFileW((LogFolder() + L"\\2000-01-01 000000.dmp").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(old, INVALID_HANDLE_VALUE);
    CloseHandle(old);
    EXPECT_EQ(RunChild(L"crash"), static_cast<DWORD>(EXCEPTION_ACCESS_VIOLATION));
    TheDump({ L"2000-01-01 000000.dmp" });
    EXPECT_EQ(LogEntries().size(), 2u);
}

TEST_F(CrashDumpTest, WithoutDumpWriterLogIsCreatedButStaysEmpty)
{
    EXPECT_EQ(RunChild(L"crash-no-writer"), static_cast<DWORD>(EXCEPTION_ACCESS_VIOLATION));
    DWORD attributes = GetFileAttributesW(LogFolder().c_str());
    ASSERT_NE(attributes, INVALID_FILE_ATTRIBUTES);
    EXPECT_TRUE(attributes & FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_TRUE(LogEntries().empty());
}

TEST_F(CrashDumpTest, UnwritableLogStillEndsTheProcessQuietly)
{
    // A file named "Log" where the folder should be: the dump cannot be created.
    HANDLE blocker =
        CreateFileW(LogFolder().c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(blocker, INVALID_HANDLE_VALUE);
    CloseHandle(blocker);
    EXPECT_EQ(RunChild(L"crash"), static_cast<DWORD>(EXCEPTION_ACCESS_VIOLATION));
    DWORD attributes = GetFileAttributesW(LogFolder().c_str());
    EXPECT_FALSE(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

TEST_F(CrashDumpTest, DumpWithoutExceptionHasNoExceptionStream)
{
    EXPECT_EQ(RunChild(L"write"), 0u);
    std::vector<char> dump = TheDump();
    EXPECT_EQ(DumpedExceptionCode(dump), 0u);
}

} // namespace
