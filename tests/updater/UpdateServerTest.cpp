// The update server is deployment configuration: the shipped updater knows
// only its built-in server; only the build made for tests takes one from the
// environment.
#include "UpdateServer.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <fstream>
#include <iterator>
#include <string>

namespace {

bool FileContains(const std::wstring& path, const std::string& text)
{
    std::ifstream in(path.c_str(), std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_FALSE(bytes.empty()) << "cannot read the program";
    return bytes.find(text) != std::string::npos;
}

TEST(UpdateServer, ShippedUpdaterIgnoresTheEnvironment)
{
    // This test links the shipped server library.
    SetEnvironmentVariableW(L"LUMORA_UPDATE_SERVER", L"127.0.0.1:5");
    UpdateServerAddress server = CurrentUpdateServer();
    SetEnvironmentVariableW(L"LUMORA_UPDATE_SERVER", nullptr);
    EXPECT_NE("127.0.0.1", server.host);
    EXPECT_NE(5, server.port);
    EXPECT_EQ(0u, BuildManifestUrl(server, 7).find("http://" + server.host));
}

TEST(UpdateServer, OnlyTheTestBuildOfTheProgramNamesTheVariable)
{
    EXPECT_FALSE(FileContains(LUMORA_TEST_BIN_DIR L"\\lumoraupd.exe", "LUMORA_UPDATE_SERVER"));
    EXPECT_TRUE(FileContains(LUMORA_TEST_UPDATER_DIR L"\\lumoraupd.exe", "LUMORA_UPDATE_SERVER"));
}

} // namespace
