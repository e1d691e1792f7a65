// The zip reader over a memory block, a file name and a file handle: lookup, entries,
// piecewise memory extraction, extraction to files and damaged archives.
#include <gtest/gtest.h>

#include <string.h>

#include <string>
#include <vector>

#include "UpdSkinTestSupport.h"
#include "SkinSourceUI.h"
#include "ZipArchive.h"

using namespace UpdUI;

namespace {

class UpdZipArchiveTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_zip = UpdSkinTest::ReadWholeFile(UpdSkinTest::TestZipPath());
        ASSERT_FALSE(m_zip.empty()) << "the build zips skins/updtest into the test folder";
        m_hZip = ZipOpen(m_zip.data(), (unsigned int)m_zip.size(), ZIP_MEMORY);
        ASSERT_NE(nullptr, m_hZip);
    }

    void TearDown() override
    {
        if (m_hZip != nullptr) {
            EXPECT_EQ((DWORD)ZR_OK, ZipClose(m_hZip));
        }
    }

    std::vector<BYTE> SourceFile(LPCWSTR pstrName)
    {
        return UpdSkinTest::ReadWholeFile(UpdSkinTest::TestSkinFolder() + pstrName);
    }

    std::vector<BYTE> m_zip;
    ZipArchive* m_hZip = nullptr;
};

TEST_F(UpdZipArchiveTest, ReportsTheItemCountForIndexMinusOne)
{
    ZipEntry entry;
    ASSERT_EQ((DWORD)ZR_OK, ZipGetItem(m_hZip, -1, &entry));
    const int nItems = entry.index;
    EXPECT_GE(nItems, 5); // two markup files and three images, plus any folder entries
    EXPECT_EQ((DWORD)ZR_OK, ZipGetItem(m_hZip, nItems - 1, &entry));
    EXPECT_EQ((DWORD)ZR_ARGS, ZipGetItem(m_hZip, nItems, &entry));
    EXPECT_EQ((DWORD)ZR_ARGS, ZipGetItem(m_hZip, -2, &entry));
    EXPECT_EQ((DWORD)ZR_ARGS, ZipGetLastResult());
}

TEST_F(UpdZipArchiveTest, FindsItemsByNameIgnoringCaseWhenAsked)
{
    int iIndex = -2;
    ZipEntry entry;
    ASSERT_EQ((DWORD)ZR_OK, ZipFindItem(m_hZip, L"DOWN/Frame.PNG", true, &iIndex, &entry));
    EXPECT_EQ(iIndex, entry.index);
    EXPECT_STREQ(L"down/frame.png", entry.name);
    EXPECT_EQ((long)SourceFile(L"down\\frame.png").size(), entry.unc_size);
    EXPECT_EQ(0u, entry.attr & FILE_ATTRIBUTE_DIRECTORY);

    EXPECT_EQ((DWORD)ZR_NOTFOUND, ZipFindItem(m_hZip, L"DOWN/Frame.PNG", false, &iIndex, &entry));
    EXPECT_EQ(-1, iIndex);
    EXPECT_EQ(-1, entry.index);
    EXPECT_EQ(0, entry.unc_size);
    EXPECT_EQ((DWORD)ZR_NOTFOUND, ZipFindItem(m_hZip, L"nothing.xml", true, &iIndex, &entry));
}

TEST_F(UpdZipArchiveTest, FolderEntriesCarryTheDirectoryAttribute)
{
    int iIndex = -1;
    ZipEntry entry;
    if (ZipFindItem(m_hZip, L"down/", true, &iIndex, &entry) != ZR_OK)
        GTEST_SKIP() << "this zip tool writes no folder entries";
    EXPECT_NE(0u, entry.attr & FILE_ATTRIBUTE_DIRECTORY);
}

TEST_F(UpdZipArchiveTest, UnzipsIntoABufferOfExactlyTheItemSize)
{
    int iIndex = -1;
    ZipEntry entry;
    ASSERT_EQ((DWORD)ZR_OK, ZipFindItem(m_hZip, L"update.xml", true, &iIndex, &entry));
    std::vector<BYTE> expected = SourceFile(L"update.xml");
    std::vector<BYTE> buffer(entry.unc_size);
    EXPECT_EQ((DWORD)ZR_MORE, ZipUnzipItem(m_hZip, iIndex, buffer.data(), (unsigned int)buffer.size(), ZIP_MEMORY));
    EXPECT_TRUE(ZipSucceeded(ZR_MORE));
    EXPECT_EQ(expected, buffer);
    // The item stayed open; the next call finds nothing left and closes it.
    EXPECT_EQ((DWORD)ZR_OK, ZipUnzipItem(m_hZip, iIndex, buffer.data(), (unsigned int)buffer.size(), ZIP_MEMORY));
}

TEST_F(UpdZipArchiveTest, ContinuesPiecewiseWhereTheLastCallStopped)
{
    int iIndex = -1;
    ASSERT_EQ((DWORD)ZR_OK, ZipFindItem(m_hZip, L"down/frame.png", true, &iIndex, nullptr));
    std::vector<BYTE> collected;
    BYTE piece[7];
    DWORD dwResult = ZR_MORE;
    int nCalls = 0;
    while (dwResult == ZR_MORE && nCalls++ < 100000) {
        memset(piece, 0, sizeof(piece));
        dwResult = ZipUnzipItem(m_hZip, iIndex, piece, sizeof(piece), ZIP_MEMORY);
        if (dwResult == ZR_MORE) {
            size_t nLeft = SourceFile(L"down\\frame.png").size() - collected.size();
            collected.insert(collected.end(), piece, piece + (nLeft < sizeof(piece) ? nLeft : sizeof(piece)));
        }
    }
    EXPECT_EQ((DWORD)ZR_OK, dwResult);
    EXPECT_EQ(SourceFile(L"down\\frame.png"), collected);
}

TEST_F(UpdZipArchiveTest, RefusesBadArgumentsAndHandles)
{
    ZipEntry entry;
    BYTE buffer[4];
    EXPECT_EQ((DWORD)ZR_ARGS, ZipFindItem(nullptr, L"update.xml", true, nullptr, &entry));
    EXPECT_EQ((DWORD)ZR_ARGS, ZipGetItem(nullptr, 0, &entry));
    EXPECT_EQ((DWORD)ZR_ARGS, ZipUnzipItem(nullptr, 0, buffer, 4, ZIP_MEMORY));
    EXPECT_EQ((DWORD)ZR_ARGS, ZipClose(nullptr));
    EXPECT_EQ((DWORD)ZR_ARGS, ZipUnzipItem(m_hZip, -1, buffer, 4, ZIP_MEMORY));
    EXPECT_EQ((DWORD)ZR_ARGS, ZipUnzipItem(m_hZip, 100000, buffer, 4, ZIP_MEMORY));
    EXPECT_EQ((DWORD)ZR_ARGS, ZipUnzipItem(m_hZip, 0, buffer, 4, 9));
    EXPECT_EQ(nullptr, ZipOpen(m_zip.data(), (unsigned int)m_zip.size(), 9));
    EXPECT_EQ((DWORD)ZR_ARGS, ZipGetLastResult());
}

TEST_F(UpdZipArchiveTest, RefusesDamagedArchivesWithoutReadingPastTheBlock)
{
    const char szGarbage[] = "this is not a zip archive at all, just text of some length";
    EXPECT_EQ(nullptr, ZipOpen((void*)szGarbage, sizeof(szGarbage), ZIP_MEMORY));
    EXPECT_NE((DWORD)ZR_OK, ZipGetLastResult());

    // The end-of-directory record's directory offset pointing far past the block.
    std::vector<BYTE> damaged = m_zip;
    size_t iEnd = damaged.size() - 22;
    while (iEnd > 0 && memcmp(&damaged[iEnd], "PK\x05\x06", 4) != 0) iEnd--;
    ASSERT_GT(iEnd, 0u);
    damaged[iEnd + 16] = 0xF0;
    damaged[iEnd + 17] = 0xFF;
    damaged[iEnd + 18] = 0xFF;
    damaged[iEnd + 19] = 0x7F;
    EXPECT_EQ(nullptr, ZipOpen(damaged.data(), (unsigned int)damaged.size(), ZIP_MEMORY));

    // Only the first half of the archive.
    EXPECT_EQ(nullptr, ZipOpen(m_zip.data(), (unsigned int)m_zip.size() / 2, ZIP_MEMORY));
}

TEST(UpdZipSourceTest, OpensByFileNameAndByDiskFileHandle)
{
    const std::wstring sZip = UpdSkinTest::TestZipPath();
    ZipArchive* hByName = ZipOpen((void*)sZip.c_str(), 0, ZIP_FILENAME);
    ASSERT_NE(nullptr, hByName);
    int iIndex = -1;
    EXPECT_EQ((DWORD)ZR_OK, ZipFindItem(hByName, L"row.xml", true, &iIndex, nullptr));
    EXPECT_EQ((DWORD)ZR_OK, ZipClose(hByName));

    HANDLE hFile = CreateFileW(sZip.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, hFile);
    ZipArchive* hByHandle = ZipOpen(hFile, 0, ZIP_HANDLE);
    CloseHandle(hFile); // the reader keeps its own duplicate
    ASSERT_NE(nullptr, hByHandle);
    EXPECT_EQ((DWORD)ZR_OK, ZipFindItem(hByHandle, L"row.xml", true, &iIndex, nullptr));
    EXPECT_EQ((DWORD)ZR_OK, ZipClose(hByHandle));

    EXPECT_EQ(nullptr, ZipOpen((void*)L"Z:\\no\\such\\skin.zip", 0, ZIP_FILENAME));
    EXPECT_EQ((DWORD)ZR_NOFILE, ZipGetLastResult());

    HANDLE hRead = nullptr, hWrite = nullptr;
    ASSERT_TRUE(CreatePipe(&hRead, &hWrite, nullptr, 0));
    EXPECT_EQ(nullptr, ZipOpen(hRead, 0, ZIP_HANDLE));
    EXPECT_EQ((DWORD)ZR_SEEK, ZipGetLastResult());
    CloseHandle(hRead);
    CloseHandle(hWrite);
}

TEST_F(UpdZipArchiveTest, ExtractsToFilesBelowTheBaseFolderOnly)
{
    // The base folder is the current directory when the archive is opened.
    std::wstring sBase = UpdSkinTest::MakeTempFolder(L"updui_zip_extract");
    WCHAR szOldDir[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, szOldDir);
    ASSERT_TRUE(SetCurrentDirectoryW(sBase.c_str()));
    ZipArchive* hZip = ZipOpen(m_zip.data(), (unsigned int)m_zip.size(), ZIP_MEMORY);
    SetCurrentDirectoryW(szOldDir);
    ASSERT_NE(nullptr, hZip);

    int iIndex = -1;
    ASSERT_EQ((DWORD)ZR_OK, ZipFindItem(hZip, L"down/alpha.png", true, &iIndex, nullptr));
    EXPECT_EQ((DWORD)ZR_OK, ZipUnzipItem(hZip, iIndex, (void*)L"out\\sub\\alpha.png", 0, ZIP_FILENAME));
    EXPECT_EQ(SourceFile(L"down\\alpha.png"), UpdSkinTest::ReadWholeFile(sBase + L"out\\sub\\alpha.png"));

    // An item name that climbs out of the folder is refused and nothing is written.
    EXPECT_EQ((DWORD)ZR_ARGS, ZipUnzipItem(hZip, iIndex, (void*)L"out\\..\\..\\escaped.png", 0, ZIP_FILENAME));
    EXPECT_EQ((DWORD)ZR_ARGS, ZipUnzipItem(hZip, iIndex, (void*)L"../escaped.png", 0, ZIP_FILENAME));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW((sBase + L"..\\escaped.png").c_str()));

    // Into a handle the caller opened.
    std::wstring sTarget = sBase + L"by_handle.png";
    HANDLE hFile = CreateFileW(sTarget.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, hFile);
    EXPECT_EQ((DWORD)ZR_OK, ZipUnzipItem(hZip, iIndex, hFile, 0, ZIP_HANDLE));
    CloseHandle(hFile);
    EXPECT_EQ(SourceFile(L"down\\alpha.png"), UpdSkinTest::ReadWholeFile(sTarget));
    EXPECT_EQ((DWORD)ZR_OK, ZipClose(hZip));
}

// Patches the local and the central record of one item of a zip image: the reader checks
// that both agree, so a damage both carry reaches the item's data.
const size_t kNotFound = (size_t)-1;

class CZipPatcher
{
public:
    CZipPatcher(std::vector<BYTE>& zip, const char* pszName) : m_zip(zip), m_pszName(pszName) { }

    void SetUncompressedSize(DWORD dwSize)
    {
        Patch(0x04034B50, 26, 22, dwSize);
        Patch(0x02014B50, 28, 24, dwSize);
    }
    void SetChecksum(DWORD dwCrc)
    {
        Patch(0x04034B50, 26, 14, dwCrc);
        Patch(0x02014B50, 28, 16, dwCrc);
    }
    DWORD Checksum() const
    {
        size_t i = Find(0x02014B50, 28);
        return i == kNotFound ? 0 : Read32(i + 16);
    }

private:
    DWORD Read32(size_t i) const
    {
        return m_zip[i] | (m_zip[i + 1] << 8) | (m_zip[i + 2] << 16) | ((DWORD)m_zip[i + 3] << 24);
    }
    // The record of that signature whose name (after a header of 30 or 46 bytes) is ours.
    size_t Find(DWORD dwSignature, size_t iNameLength) const
    {
        size_t nHeader = dwSignature == 0x04034B50 ? 30 : 46;
        size_t nName = strlen(m_pszName);
        for (size_t i = 0; i + nHeader + nName <= m_zip.size(); i++) {
            if (Read32(i) != dwSignature) continue;
            size_t nLength = m_zip[i + iNameLength] | (m_zip[i + iNameLength + 1] << 8);
            if (nLength == nName && memcmp(&m_zip[i + nHeader], m_pszName, nName) == 0) return i;
        }
        return kNotFound;
    }
    void Patch(DWORD dwSignature, size_t iNameLength, size_t iField, DWORD dwValue)
    {
        size_t i = Find(dwSignature, iNameLength);
        ASSERT_NE(kNotFound, i) << m_pszName << " not found";
        for (int b = 0; b < 4; b++) m_zip[i + iField + b] = (BYTE)(dwValue >> (8 * b));
    }

    std::vector<BYTE>& m_zip;
    const char* m_pszName;
};

// The skin source reads an item whole: a short item or one whose checksum does not match
// is an error, never data with zero padding.
TEST_F(UpdZipArchiveTest, ShortOrDamagedItemsAreErrors)
{
    std::vector<BYTE> expected = SourceFile(L"update.xml");
    ASSERT_FALSE(expected.empty());
    struct TCase
    {
        const char* pszDamage;
        int nExtraBytes; // recorded size past the real one
        bool bBadChecksum;
    };
    const TCase cases[] = { { "intact", 0, false }, { "size", 10, false }, { "checksum", 0, true } };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.pszDamage);
        std::vector<BYTE> zip = m_zip;
        CZipPatcher patcher(zip, "update.xml");
        if (c.nExtraBytes != 0) patcher.SetUncompressedSize((DWORD)expected.size() + c.nExtraBytes);
        if (c.bBadChecksum) patcher.SetChecksum(patcher.Checksum() ^ 0x5A5A5A5A);
        ZipArchive* hZip = ZipOpen(zip.data(), (unsigned int)zip.size(), ZIP_MEMORY);
        ASSERT_NE(nullptr, hZip);
        std::vector<BYTE> bytes;
        LPCWSTR pstrError = nullptr;
        bool bRead = CSkinSourceUI::ReadZipItem(hZip, L"update.xml", 1 << 20, bytes, &pstrError);
        bool bIntact = c.nExtraBytes == 0 && !c.bBadChecksum;
        EXPECT_EQ(bIntact, bRead);
        if (bIntact) {
            EXPECT_EQ(expected, bytes);
        } else {
            EXPECT_TRUE(bytes.empty());
            EXPECT_STREQ(L"Could not unzip file", pstrError);
        }
        // Extraction to a file reports the same damage.
        std::wstring sTarget = UpdSkinTest::MakeTempFolder(L"updui_zip_damaged") + L"update.xml";
        int iIndex = -1;
        ASSERT_EQ((DWORD)ZR_OK, ZipFindItem(hZip, L"update.xml", true, &iIndex, nullptr));
        DWORD dwResult = ZipUnzipItem(hZip, iIndex, (void*)sTarget.c_str(), 0, ZIP_FILENAME);
        EXPECT_EQ(bIntact, dwResult == ZR_OK) << std::hex << dwResult;
        ZipClose(hZip);
    }
}

} // namespace
