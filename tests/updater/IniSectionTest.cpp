// A section read once and looked up in memory answers as the profile calls
// answer on the same file, which the manifest's readers were written against.
#include "IniSection.h"
#include "UpdaterTestSupport.h"

#include <gtest/gtest.h>

#include <windows.h>

namespace {

class IniSectionTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_folder = FreshFolder(::testing::UnitTest::GetInstance()->current_test_info()->name());
        m_path = std::wstring(m_folder.begin(), m_folder.end()) + L"test.ini";
    }

    void Write(const std::string& text) { WriteWholeFile(m_path, text); }

    std::wstring ProfileString(const wchar_t* section, const std::wstring& key, DWORD capacity)
    {
        std::wstring buffer(capacity + 1, L'\0');
        DWORD length = GetPrivateProfileStringW(section, key.c_str(), L"", &buffer[0], capacity, m_path.c_str());
        buffer.resize(length);
        return buffer;
    }

    std::string m_folder;
    std::wstring m_path;
};

TEST_F(IniSectionTest, ValuesAreThoseOfTheProfileCalls)
{
    const std::string x300(300, 'x');
    const std::string x259(259, 'x');
    struct Case
    {
        const char* what;
        std::string ini;
        const wchar_t* key;
        DWORD capacity;
        std::wstring expected;
    } cases[] = {
        { "a plain value", "[S]\r\nKey=value\r\n", L"Key", 260, L"value" },
        { "a key in another case", "[S]\r\nNAME1=a.dll\r\n", L"name1", 260, L"a.dll" },
        { "the first of a repeated key", "[S]\r\nName=first\r\nNAME=second\r\n", L"name", 260, L"first" },
        { "blanks around key and value", "[S]\r\n  Key  =   spaced value   \r\n", L"Key", 260, L"spaced value" },
        { "tabs around key and value", "[S]\r\n\tKey\t=\tv\t\r\n", L"Key", 260, L"v" },
        { "a blank inside the key", "[S]\r\nKey Name=v\r\n", L"Key Name", 260, L"v" },
        { "double quotes", "[S]\r\nKey=\"quoted\"\r\n", L"Key", 260, L"quoted" },
        { "single quotes", "[S]\r\nKey='single'\r\n", L"Key", 260, L"single" },
        { "quotes that do not match", "[S]\r\nKey=\"mismatched'\r\n", L"Key", 260, L"\"mismatched'" },
        { "one quote alone", "[S]\r\nKey=\"\r\n", L"Key", 260, L"\"" },
        { "two quotes", "[S]\r\nKey=\"\"\r\n", L"Key", 260, L"" },
        { "a quote inside quotes", "[S]\r\nKey=\"a\"b\"\r\n", L"Key", 260, L"a\"b" },
        { "quotes with blanks inside", "[S]\r\nKey=\" a b \"\r\n", L"Key", 260, L" a b " },
        { "equals signs in the value", "[S]\r\nKey=a=b=c\r\n", L"Key", 260, L"a=b=c" },
        { "an empty value", "[S]\r\nKey=\r\n", L"Key", 260, L"" },
        { "a key without value before one with", "[S]\r\nKey\r\nKey=later\r\n", L"Key", 260, L"" },
        { "a comment line", "[S]\r\n; Key=commented\r\nKey=real\r\n", L"Key", 260, L"real" },
        { "a missing key", "[S]\r\nOther=1\r\n", L"Key", 260, L"" },
        { "a section in another case", "[s]\r\nKey=lower\r\n", L"Key", 260, L"lower" },
        { "lines ended by LF alone", "[S]\nKey=lf\nNext=2\n", L"Key", 260, L"lf" },
        { "a value longer than the buffer", "[S]\r\nKey=" + x300 + "\r\n", L"Key", 260, std::wstring(259, L'x') },
        { "a quoted value longer than the buffer", "[S]\r\nKey=\"" + x300 + "\"\r\n", L"Key", 260,
          std::wstring(259, L'x') },
        { "a value that just fits", "[S]\r\nKey=" + x259 + "\r\n", L"Key", 260, std::wstring(259, L'x') },
        { "a short buffer", "[S]\r\nSIZE1=12345678901234567890\r\n", L"SIZE1", 16, L"123456789012345" },
        { "a key of another section", "[T]\r\nKey=t\r\n[S]\r\nOther=s\r\n", L"Key", 260, L"" },
        { "a key of the section's second part", "[S]\r\nA=1\r\n[T]\r\nB=2\r\n[S]\r\nKey=3\r\n", L"Key", 260, L"" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Write(c.ini);
        CIniSection section(m_path, L"S");
        EXPECT_TRUE(section.Whole());
        EXPECT_EQ(c.expected, ProfileString(L"S", c.key, c.capacity)) << "the profile call";
        EXPECT_EQ(c.expected, section.Value(c.key, c.capacity));
    }
}

TEST_F(IniSectionTest, IntegersAreThoseOfTheProfileCall)
{
    struct Case
    {
        const char* value;
        int expected;
    } cases[] = {
        { "1", 1 },      { "0", 0 },           { "  7", 7 },
        { "0x1F", 31 },  { "-3", -3 },         { "+4", 4 },
        { "12abc", 12 }, { "abc", 0 },         { "", -5 },
        { "0b101", 5 },  { "0o17", 15 },       { "010", 10 },
        { "\"9\"", 9 },  { "4294967295", -1 }, { "2147483648", static_cast<int>(2147483648u) },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        Write(std::string("[S]\r\nNUMBER=") + c.value + "\r\n");
        EXPECT_EQ(c.expected, static_cast<int>(GetPrivateProfileIntW(L"S", L"NUMBER", -5, m_path.c_str())))
            << "the profile call";
        EXPECT_EQ(c.expected, CIniSection(m_path, L"S").Integer(L"NUMBER", -5));
    }
    Write("[S]\r\nOther=1\r\n");
    EXPECT_EQ(-5, CIniSection(m_path, L"S").Integer(L"NUMBER", -5));
}

// The first buffer holds 64K characters: a larger section is read again
// into a larger one, whole.
TEST_F(IniSectionTest, LargeSectionIsReadWhole)
{
    std::string ini = "[S]\r\n";
    for (int i = 1; i <= 20000; ++i) ini += "Key" + std::to_string(i) + "=value" + std::to_string(i) + "\r\n";
    ini += "Long=" + std::string(100000, 'y') + "\r\n[T]\r\nAfter=1\r\n";
    Write(ini);
    CIniSection section(m_path, L"S");
    EXPECT_TRUE(section.Whole());
    EXPECT_EQ(20001u, section.KeyCount());
    EXPECT_EQ(L"value1", section.Value(L"Key1", 260));
    EXPECT_EQ(L"value20000", section.Value(L"KEY20000", 260));
    EXPECT_EQ(std::wstring(100000, L'y'), section.Value(L"Long", 200000));
    EXPECT_EQ(L"", section.Value(L"After", 260));
}

TEST_F(IniSectionTest, SectionPastTheBoundIsNotRead)
{
    Write("[S]\r\nFirst=1\r\nHuge=" + std::string(CIniSection::kMaxChars, 'z') + "\r\n");
    CIniSection section(m_path, L"S");
    EXPECT_FALSE(section.Whole());
    EXPECT_EQ(0u, section.KeyCount());
    EXPECT_EQ(L"", section.Value(L"First", 260));
}

TEST_F(IniSectionTest, MissingFileOrSectionHasNoKeys)
{
    Write("[T]\r\nKey=1\r\n");
    for (const std::wstring& path : { m_path, m_path + L".missing" }) {
        CIniSection section(path, L"S");
        EXPECT_TRUE(section.Whole());
        EXPECT_EQ(0u, section.KeyCount());
        EXPECT_EQ(L"", section.Value(L"Key", 260));
    }
}

} // namespace
