// The real installer, made by makensis with the plug-in, run silently into a
// folder of its own and uninstalled again. Built where 32-bit programs run.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

namespace {

DWORD RunAndWait(std::wstring commandLine)
{
    STARTUPINFOW si = { sizeof(si) };
    PROCESS_INFORMATION pi = {};
    if (!::CreateProcessW(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        return static_cast<DWORD>(-1);
    ::WaitForSingleObject(pi.hProcess, INFINITE);
    DWORD code = 0;
    ::GetExitCodeProcess(pi.hProcess, &code);
    ::CloseHandle(pi.hThread);
    ::CloseHandle(pi.hProcess);
    return code;
}

bool Exists(const std::wstring& path)
{
    return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

TEST(InstallerRun, SilentInstallPutsTheProgramInPlaceAndTheUninstallerRemovesIt)
{
    wchar_t temp[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, temp);
    std::wstring target = std::wstring(temp) + L"LumoraSetupRun";
    // /D must come last and unquoted.
    ASSERT_EQ(RunAndWait(L"\"" LUMORA_SETUP_EXE L"\" /S /D=" + target), 0u);
    EXPECT_TRUE(Exists(target + L"\\lumora.exe"));
    EXPECT_TRUE(Exists(target + L"\\uninst.exe"));

    // _?= keeps the uninstaller in place, so it can be waited for.
    ASSERT_EQ(RunAndWait(L"\"" + target + L"\\uninst.exe\" /S _?=" + target), 0u);
    EXPECT_FALSE(Exists(target + L"\\lumora.exe"));
    ::DeleteFileW((target + L"\\uninst.exe").c_str());
    ::RemoveDirectoryW(target.c_str());
}

} // namespace
