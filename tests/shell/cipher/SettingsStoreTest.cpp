// The settings store against real INI files through the system's profile API.
#include <gtest/gtest.h>

#include <windows.h>

#include <fstream>
#include <iterator>
#include <string>

#include "SettingsStore.h"

namespace {

class SettingsFile : public ::testing::Test
{
protected:
    void SetUp() override
    {
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        folder_ = std::wstring(temp) + L"lumora_settings_" + std::to_wstring(GetCurrentProcessId()) + L"_" +
            std::to_wstring(counter_++);
        CreateDirectoryW(folder_.c_str(), nullptr);
        path_ = folder_ + L"\\cfg.db";
    }
    void TearDown() override
    {
        DeleteFileW(path_.c_str());
        RemoveDirectoryW(folder_.c_str());
    }

    void WriteFileText(const std::string& text) { std::ofstream(path_.c_str(), std::ios::binary) << text; }
    std::string ReadFileText()
    {
        std::ifstream in(path_.c_str(), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    SettingsStore Loaded()
    {
        SettingsStore store(path_);
        store.Load();
        return store;
    }

    static int counter_;
    std::wstring folder_;
    std::wstring path_;
};

int SettingsFile::counter_ = 0;

TEST_F(SettingsFile, NewStoreHoldsZerosAndItsPath)
{
    SettingsStore store(path_);
    EXPECT_EQ(store.filePath, path_);
    EXPECT_FALSE(store.quit || store.autorun || store.quitacc || store.topwentv || store.powerOffArmed);
    EXPECT_EQ(store.poweroffhour, 0);
    EXPECT_EQ(store.poweroffminute, 0);
    EXPECT_EQ(store.skincolor, 0);
}

TEST_F(SettingsFile, MissingFileLoadsZerosAndDisarmsPowerOff)
{
    SettingsStore store(path_);
    store.quit = store.topwentv = store.powerOffArmed = true;
    store.poweroffhour = store.poweroffminute = -1;
    store.skincolor = 4;
    store.Load();
    EXPECT_FALSE(store.quit || store.autorun || store.quitacc || store.topwentv || store.powerOffArmed);
    EXPECT_EQ(store.poweroffhour, 0);
    EXPECT_EQ(store.poweroffminute, 0);
    EXPECT_EQ(store.skincolor, 0);
    EXPECT_EQ(GetFileAttributesW(path_.c_str()), INVALID_FILE_ATTRIBUTES) << "loading creates no file";
}

TEST_F(SettingsFile, LoadRules)
{
    const struct
    {
        const char* file;
        bool quit, autorun, quitacc, topwentv;
        int skincolor, poweroffhour, poweroffminute;
        bool powerOffArmed;
    } cases[] = {
        { "[setting]\r\nquit=5\r\n", true, false, false, false, 0, 0, 0, false },
        { "[setting]\r\nautorun=1\r\nquitacc=-3\r\ntopwentv=0\r\n", false, true, true, false, 0, 0, 0, false },
        { "[setting]\r\nskincolor=9\r\n", false, false, false, false, 0, 0, 0, false },
        { "[setting]\r\nskincolor=-1\r\n", false, false, false, false, 0, 0, 0, false },
        { "[setting]\r\nskincolor=6\r\n", false, false, false, false, 0, 0, 0, false },
        { "[setting]\r\nskincolor=5\r\n", false, false, false, false, 5, 0, 0, false },
        { "[setting]\r\npoweroffhour=-1\r\npoweroffminute=-1\r\n", false, false, false, false, 0, -1, -1, false },
        { "[setting]\r\npoweroffhour=23\r\npoweroffminute=59\r\n", false, false, false, false, 0, 23, 59, false },
        { "[setting]\r\npoweroffhour=17\r\npoweroffminute=20\r\npoweroffarmed=1\r\n", false, false, false, false, 0, 17,
          20, true },
        { "[setting]\r\npoweroffarmed=0\r\n", false, false, false, false, 0, 0, 0, false },
        { "[other]\r\nquit=1\r\nskincolor=3\r\npoweroffarmed=1\r\n", false, false, false, false, 0, 0, 0, false },
    };
    for (const auto& c : cases) {
        WriteFileText(c.file);
        SettingsStore store = Loaded();
        EXPECT_EQ(store.quit, c.quit) << c.file;
        EXPECT_EQ(store.autorun, c.autorun) << c.file;
        EXPECT_EQ(store.quitacc, c.quitacc) << c.file;
        EXPECT_EQ(store.topwentv, c.topwentv) << c.file;
        EXPECT_EQ(store.powerOffArmed, c.powerOffArmed) << c.file;
        EXPECT_EQ(store.skincolor, c.skincolor) << c.file;
        EXPECT_EQ(store.poweroffhour, c.poweroffhour) << c.file;
        EXPECT_EQ(store.poweroffminute, c.poweroffminute) << c.file;
    }
}

TEST_F(SettingsFile, SavesEveryKeyInOrderAsDecimal)
{
    SettingsStore store(path_);
    store.quit = true;
    store.topwentv = true;
    store.powerOffArmed = true;
    store.skincolor = 3;
    store.poweroffhour = -1;
    store.poweroffminute = 30;
    store.Save();
    EXPECT_EQ(ReadFileText(),
              "[setting]\r\nquit=1\r\nautorun=0\r\nquitacc=0\r\ntopwentv=1\r\nskincolor=3\r\n"
              "poweroffhour=-1\r\npoweroffminute=30\r\npoweroffarmed=1\r\n");
}

TEST_F(SettingsFile, StoredQuitOfFiveIsSavedBackAsOne)
{
    WriteFileText("[setting]\r\nquit=5\r\n");
    SettingsStore store = Loaded();
    store.Save();
    EXPECT_EQ(GetPrivateProfileIntW(L"setting", L"quit", 7, path_.c_str()), 1u);
}

TEST_F(SettingsFile, RoundTripKeepsValuesAndOtherSections)
{
    WriteFileText("[other]\r\nkeep=yes\r\n");
    SettingsStore store(path_);
    store.autorun = true;
    store.quitacc = true;
    store.skincolor = 5;
    store.poweroffhour = -1;
    store.poweroffminute = -1;
    store.powerOffArmed = true;
    store.Save();

    SettingsStore again = Loaded();
    EXPECT_TRUE(again.powerOffArmed) << "a restart keeps the daily power-off";
    EXPECT_FALSE(again.quit);
    EXPECT_TRUE(again.autorun);
    EXPECT_TRUE(again.quitacc);
    EXPECT_FALSE(again.topwentv);
    EXPECT_EQ(again.skincolor, 5);
    EXPECT_EQ(again.poweroffhour, -1);
    EXPECT_EQ(again.poweroffminute, -1);
    wchar_t kept[16] = {};
    GetPrivateProfileStringW(L"other", L"keep", L"", kept, 16, path_.c_str());
    EXPECT_STREQ(kept, L"yes");
}

TEST_F(SettingsFile, WriteSettingReportsTheSystemResult)
{
    EXPECT_TRUE(WriteSetting(L"skincolor", 2, path_));
    EXPECT_EQ(Loaded().skincolor, 2);
    std::wstring unreachable = folder_ + L"\\no such folder\\cfg.db";
    EXPECT_FALSE(WriteSetting(L"skincolor", 2, unreachable));
    SettingsStore store(unreachable);
    store.Save(); // failures are ignored
    store.Load();
    EXPECT_EQ(store.skincolor, 0);
}

} // namespace
