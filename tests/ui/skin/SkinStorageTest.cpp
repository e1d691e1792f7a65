#include <gtest/gtest.h>

#include "SkinStorageUI.h"
#include "SkinTestPaths.h"
#include "XmlDocUI.h"

TEST(SkinStorage, MarkupAndImagesComeFromThePackedSkin)
{
    const std::wstring skin = TestSkinFile();
    std::vector<BYTE> bytes;
    ASSERT_TRUE(CSkinStorageUI::ReadStream(skin.c_str(), L"xml", L"storage.xml", bytes));
    EXPECT_EQ(bytes, ReadFileForTest(TestSkinSource(L"xml\\storage.xml")));

    CXmlDocUI doc;
    ASSERT_TRUE(doc.LoadFromMem(bytes.data(), (DWORD)bytes.size(), CXmlDocUI::ENCODING_UTF8))
        << doc.GetLastErrorMessage();
    CXmlNodeUI leaf = doc.GetRoot().GetChild().GetChild();
    EXPECT_STREQ(leaf.GetName(), L"Control");
    WCHAR text[8] = {};
    ASSERT_TRUE(leaf.GetAttributeValue(L"text", text, 7));
    EXPECT_STREQ(text, L"\x786E\x5B9A");

    for (LPCWSTR picture : { L"frame.png", L"frames.png", L"premul.png", L"backdrop.png" }) {
        ASSERT_TRUE(CSkinStorageUI::ReadStream(skin.c_str(), L"pic", picture, bytes)) << picture;
        EXPECT_EQ(bytes, ReadFileForTest(TestSkinSource((std::wstring(L"pic\\") + picture).c_str()))) << picture;
    }
}

TEST(SkinStorage, NothingElseIsTriedWhenAPartIsMissing)
{
    const std::wstring skin = TestSkinFile();
    std::vector<BYTE> bytes;
    // A file of the same name beside the program must not stand in for a missing stream.
    WriteFileForTest(L"missing.xml", "<Window/>");
    EXPECT_FALSE(CSkinStorageUI::ReadStream(skin.c_str(), L"xml", L"missing.xml", bytes));
    EXPECT_TRUE(bytes.empty());
    DeleteFileW(L"missing.xml");

    EXPECT_FALSE(CSkinStorageUI::ReadStream(skin.c_str(), L"pic", L"storage.xml", bytes)) << "wrong sub-storage";
    EXPECT_FALSE(CSkinStorageUI::ReadStream(skin.c_str(), L"nosuch", L"storage.xml", bytes));
    EXPECT_FALSE(CSkinStorageUI::ReadStream(L"no_such_skin.sk", L"xml", L"storage.xml", bytes));
    const std::wstring source = TestSkinSource(L"xml\\storage.xml");
    EXPECT_FALSE(CSkinStorageUI::ReadStream(source.c_str(), L"xml", L"storage.xml", bytes)) << "not a compound file";
}

TEST(SkinStorage, FilesAndResources)
{
    std::vector<BYTE> bytes;
    const std::wstring source = TestSkinSource(L"pic\\frame.png");
    ASSERT_TRUE(CSkinStorageUI::ReadWholeFile(source.c_str(), bytes));
    EXPECT_EQ(bytes, ReadFileForTest(source));
    EXPECT_FALSE(CSkinStorageUI::ReadWholeFile(L"no_such_file.png", bytes));
    EXPECT_FALSE(CSkinStorageUI::ReadResource(GetModuleHandleW(nullptr), 4711, L"PNG", bytes));
}
