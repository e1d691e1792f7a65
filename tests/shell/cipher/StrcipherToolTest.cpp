// The strcipher tool must produce texts the programs' decoder reads back.
#include <gtest/gtest.h>

#include <string>

#include "StringCipher.h"
#include "TestProcess.h"

namespace {

const char kViewKey[] = "m!r+t#v$w%xyz^q&k*n(j";
const wchar_t kViewKeyWide[] = L"m!r+t#v$w%xyz^q&k*n(j";

std::wstring Tool(const std::wstring& arguments)
{
    return L"\"" LUMORA_TEST_BIN_DIR L"\\strcipher.exe\" " + arguments;
}

std::string WithoutNewline(std::string text)
{
    if (!text.empty() && text.back() == '\n') text.pop_back();
    return text;
}

TEST(StrcipherTool, EnciphersAnArgumentTheDecoderReadsBack)
{
    TestProcessResult run = RunTestProcess(
        Tool(std::wstring(L"encode \"") + kViewKeyWide + L"\" \"http://127.0.0.1/tv/\x7535\x89c6.html\""), "");
    ASSERT_TRUE(run.started);
    EXPECT_EQ(run.exitCode, 0u);
    EXPECT_EQ(StringCipher(WithoutNewline(run.output), StringCipherKey(kViewKey), CipherDecode),
              "http://127.0.0.1/tv/\xe7\x94\xb5\xe8\xa7\x86.html");
}

TEST(StrcipherTool, DeciphersStandardInput)
{
    std::string list = "{\"files\":[\"a.dll\",\"b.dll\"]}\r\n";
    StringCipherKey key("updater list key");
    TestProcessResult run = RunTestProcess(Tool(L"decode \"updater list key\""), StringCipher(list, key, CipherEncode));
    ASSERT_TRUE(run.started);
    EXPECT_EQ(run.exitCode, 0u);
    EXPECT_EQ(run.output, list + "\n");
}

TEST(StrcipherTool, ReportsFailures)
{
    const struct
    {
        const wchar_t* arguments;
        unsigned long exitCode;
    } cases[] = {
        { L"decode \"another key\" abcdefghijklmnopqrstuvwxyz0123456789ABCDEFGH", 1 },
        { L"decode k short", 1 },
        { L"encode", 2 },
        { L"scramble k text", 2 },
    };
    for (const auto& c : cases) {
        TestProcessResult run = RunTestProcess(Tool(c.arguments), "");
        ASSERT_TRUE(run.started);
        EXPECT_EQ(run.exitCode, c.exitCode) << std::string(c.arguments, c.arguments + wcslen(c.arguments));
        EXPECT_EQ(run.output, "");
    }
}

} // namespace
