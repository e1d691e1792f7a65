// Entry names as different archivers write them: either path separator, and
// UTF-8 names marked by flag bit 11 next to names in the ANSI code page.
#include <gtest/gtest.h>

#include <windows.h>
#include <zlib.h>

#include <cstring>
#include <string>
#include <vector>

#include "ZipArchive.h"

using namespace UpdUI;

namespace {

struct StoredEntry
{
    std::string name; // bytes as written into the archive
    bool utf8;
    std::string data;
};

void Put16(std::vector<BYTE>& out, unsigned value)
{
    out.push_back(static_cast<BYTE>(value));
    out.push_back(static_cast<BYTE>(value >> 8));
}

void Put32(std::vector<BYTE>& out, unsigned long value)
{
    Put16(out, value & 0xFFFF);
    Put16(out, (value >> 16) & 0xFFFF);
}

void PutBytes(std::vector<BYTE>& out, const std::string& bytes)
{
    out.insert(out.end(), bytes.begin(), bytes.end());
}

// A minimal archive of stored (uncompressed) entries.
std::vector<BYTE> MakeZip(const std::vector<StoredEntry>& entries)
{
    std::vector<BYTE> zip, central;
    for (const StoredEntry& e : entries) {
        unsigned long crc = crc32(0, reinterpret_cast<const Bytef*>(e.data.data()), static_cast<uInt>(e.data.size()));
        unsigned flag = e.utf8 ? 0x800 : 0;
        unsigned long offset = static_cast<unsigned long>(zip.size());
        Put32(zip, 0x04034b50);
        Put16(zip, 10);
        Put16(zip, flag);
        Put16(zip, 0);          // stored
        Put32(zip, 0x00210000); // 1980-01-01 00:00
        Put32(zip, crc);
        Put32(zip, static_cast<unsigned long>(e.data.size()));
        Put32(zip, static_cast<unsigned long>(e.data.size()));
        Put16(zip, static_cast<unsigned>(e.name.size()));
        Put16(zip, 0);
        PutBytes(zip, e.name);
        PutBytes(zip, e.data);

        Put32(central, 0x02014b50);
        Put16(central, 20);
        Put16(central, 10);
        Put16(central, flag);
        Put16(central, 0);
        Put32(central, 0x00210000);
        Put32(central, crc);
        Put32(central, static_cast<unsigned long>(e.data.size()));
        Put32(central, static_cast<unsigned long>(e.data.size()));
        Put16(central, static_cast<unsigned>(e.name.size()));
        Put16(central, 0);
        Put16(central, 0);
        Put16(central, 0);
        Put16(central, 0);
        Put32(central, 0x20);
        Put32(central, offset);
        PutBytes(central, e.name);
    }
    unsigned long centralOffset = static_cast<unsigned long>(zip.size());
    zip.insert(zip.end(), central.begin(), central.end());
    Put32(zip, 0x06054b50);
    Put16(zip, 0);
    Put16(zip, 0);
    Put16(zip, static_cast<unsigned>(entries.size()));
    Put16(zip, static_cast<unsigned>(entries.size()));
    Put32(zip, static_cast<unsigned long>(central.size()));
    Put32(zip, centralOffset);
    Put16(zip, 0);
    return zip;
}

std::string Encode(const std::wstring& text, UINT codePage)
{
    int size = WideCharToMultiByte(codePage, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<size_t>(size > 0 ? size : 1), '\0');
    WideCharToMultiByte(codePage, 0, text.c_str(), -1, &bytes[0], size, nullptr, nullptr);
    bytes.resize(bytes.empty() ? 0 : bytes.size() - 1);
    return bytes;
}

const wchar_t kChineseName[] = L"down/确定68-24.png";

class UpdZipNamesTest : public ::testing::Test
{
protected:
    void Open(const std::vector<StoredEntry>& entries)
    {
        bytes_ = MakeZip(entries);
        zip_ = ZipOpen(bytes_.data(), static_cast<unsigned int>(bytes_.size()), ZIP_MEMORY);
        ASSERT_NE(nullptr, zip_);
    }
    void TearDown() override
    {
        if (zip_) ZipClose(zip_);
    }
    std::string Unzip(int index)
    {
        ZipEntry entry;
        if (ZipGetItem(zip_, index, &entry) != ZR_OK) return "<no entry>";
        // The reader hands out pieces (ZR_MORE) until the item ends (ZR_OK).
        std::string data;
        for (;;) {
            char piece[64] = {}; // the entries hold short text, so its length is the count read
            DWORD result = ZipUnzipItem(zip_, index, piece, sizeof(piece), ZIP_MEMORY);
            if (result == ZR_OK) break;
            if (result != ZR_MORE || data.size() > static_cast<size_t>(entry.unc_size)) return "<unzip failed>";
            data.append(piece, strnlen(piece, sizeof(piece)));
        }
        return data;
    }
    std::vector<BYTE> bytes_;
    ZipArchive* zip_ = nullptr;
};

TEST_F(UpdZipNamesTest, EitherSeparatorFindsTheEntry)
{
    Open({ { "down/frame.png", false, "forward" }, { "skin\\update.xml", false, "backward" } });
    struct Case
    {
        const wchar_t* lookup;
        int index;
    } cases[] = {
        { L"down/frame.png", 0 },   { L"down\\frame.png", 0 }, { L"DOWN\\Frame.PNG", 0 },
        { L"skin\\update.xml", 1 }, { L"skin/update.xml", 1 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.lookup);
        int index = -2;
        ZipEntry entry;
        ASSERT_EQ(static_cast<DWORD>(ZR_OK), ZipFindItem(zip_, c.lookup, true, &index, &entry));
        EXPECT_EQ(c.index, index);
        EXPECT_EQ(c.index, entry.index);
    }
    int index = -2;
    EXPECT_EQ(static_cast<DWORD>(ZR_NOTFOUND), ZipFindItem(zip_, L"DOWN\\Frame.PNG", false, &index, nullptr));
    EXPECT_EQ(-1, index);
    EXPECT_EQ(static_cast<DWORD>(ZR_NOTFOUND), ZipFindItem(zip_, L"down", true, &index, nullptr));
    EXPECT_EQ(static_cast<DWORD>(ZR_NOTFOUND), ZipFindItem(zip_, L"", true, &index, nullptr));
}

TEST_F(UpdZipNamesTest, NamesDecodeByTheirFlag)
{
    // The same text once as UTF-8 (flag bit 11) and once in the ANSI code page.
    Open({ { Encode(L"utf8/确定68-24.png", CP_UTF8), true, "utf8" },
           { Encode(L"ansi/确定68-24.png", CP_ACP), false, "ansi" } });
    ZipEntry entry;
    ASSERT_EQ(static_cast<DWORD>(ZR_OK), ZipGetItem(zip_, 0, &entry));
    EXPECT_STREQ(L"utf8/确定68-24.png", entry.name);
    ASSERT_EQ(static_cast<DWORD>(ZR_OK), ZipGetItem(zip_, 1, &entry));
    EXPECT_STREQ(L"ansi/确定68-24.png", entry.name);

    int index = -2;
    ASSERT_EQ(static_cast<DWORD>(ZR_OK), ZipFindItem(zip_, L"utf8\\确定68-24.png", false, &index, nullptr));
    EXPECT_EQ("utf8", Unzip(index));
    ASSERT_EQ(static_cast<DWORD>(ZR_OK), ZipFindItem(zip_, L"ansi\\确定68-24.png", false, &index, nullptr));
    EXPECT_EQ("ansi", Unzip(index));
}

TEST_F(UpdZipNamesTest, Utf8BytesWithoutTheFlagAreNotTakenForUtf8)
{
    // Without bit 11 the bytes are ANSI text: the UTF-8 reading must not match.
    Open({ { Encode(kChineseName, CP_UTF8), false, "x" } });
    int index = -2;
    if (GetACP() != CP_UTF8) {
        EXPECT_EQ(static_cast<DWORD>(ZR_NOTFOUND), ZipFindItem(zip_, kChineseName, false, &index, nullptr));
    }
}

} // namespace
