// A hostile or busy page against a running lumora.exe: frames of other
// origins call every command and nothing happens; a flood of thousands of
// calls and a notice of a megabyte leave the window in the user's hands, with
// no more notice popups than the program keeps on screen.
#include <gtest/gtest.h>
#include <json/json.h>
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <initializer_list>
#include <string>
#include <vector>

#include "LumoraProcess.h"
#include "PageCommandSuite.h"
#include "TestProgramFolder.h"
#include "WindowProbes.h"

namespace {

const size_t kMaxNoticesShown = 5;

class PageFlood : public TPageCommandSuite<PageFlood>
{
public:
    static constexpr const wchar_t* kProgramFolder = L"pagecmds_flood_program";

protected:
    void SetUp() override { SetUpWithHomePage(); }

    size_t Popups() const { return NoticePopups(process_->ProcessId()).size(); }
};

// Runs first: the window is as the program opened it.
TEST_F(PageFlood, FramesOfOtherOriginsCallEveryCommandAndNothingHappens)
{
    const RECT before = WindowRect(main_);
    const bool topMostBefore = TopMost(main_);
    const struct
    {
        const char* name;
        Json::Value args;
    } commands[] = {
        { "setFullscreen", Args({ true }) },
        { "setMini", Args({ true }) },
        { "setWindowFront", Args({ !topMostBefore }) },
        { "hidePlayerWindow", Json::Value(Json::arrayValue) },
        { "showPlayerWindow", Json::Value(Json::arrayValue) },
        { "movePlayerWindow", Args({ 10, 20 }) },
        { "notice", Args({ "广告|点这里", "http://127.0.0.1:8791/" }) },
    };
    const char* frames[] = { "http://127.0.0.1:8791/ad.html", "http://127.0.0.2:8790/frame.html" };
    for (const char* frame : frames) {
        for (const auto& c : commands) {
            Json::Value answer = process_->SendPageMessageFromFrame(frame, c.name, c.args);
            EXPECT_TRUE(answer.isMember("exception")) << frame << " " << c.name << " got no error";
        }
    }
    // Anything the frames had sent would have run before this.
    ASSERT_NO_FATAL_FAILURE(Barrier());
    EXPECT_FALSE(IsIconic(main_));
    EXPECT_EQ(TopMost(main_), topMostBefore);
    RECT now = WindowRect(main_);
    EXPECT_TRUE(EqualRect(&now, &before)) << "neither full screen nor mini";
    EXPECT_EQ(Popups(), 0u);
    // The portal page itself still can.
    ASSERT_TRUE(Send("setWindowFront", Args({ !topMostBefore })));
    EXPECT_TRUE(WaitUntil([&] { return TopMost(main_) == !topMostBefore; }));
    ASSERT_TRUE(Send("setWindowFront", Args({ topMostBefore })));
    EXPECT_TRUE(WaitUntil([&] { return TopMost(main_) == topMostBefore; }));
}

// 2,000 mixed calls and a notice of a megabyte, then the user restores the
// minimised window: it obeys while the page's work is still arriving, and no
// more popups than the program keeps pile up. The time the restore took is
// recorded for the closing note, not judged here (speed is the benchmarks').
TEST_F(PageFlood, AFloodOfCallsLeavesTheWindowInTheUsersHands)
{
    SendMessageW(main_, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    ASSERT_TRUE(WaitUntil([&] { return IsIconic(main_) != FALSE; }));
    ASSERT_TRUE(Send("notice", Args({ "大|" + std::string(1000000, 'x'), "" }))) << "a notice of a megabyte";
    for (int i = 0; i < 2000; ++i) {
        switch (i % 5) {
        case 0: ASSERT_TRUE(Send("notice", Args({ "公告" + std::to_string(i) + "|正文", "" }))); break;
        case 1: ASSERT_TRUE(Send("setWindowFront", Args({ i % 2 == 0 }))); break;
        case 2: ASSERT_TRUE(Send("setMini", Args({ false }))); break;
        case 3: ASSERT_TRUE(Send("setFullscreen", Args({ false }))); break;
        case 4: ASSERT_TRUE(Send("showPlayerWindow")); break;
        }
    }
    const auto start = std::chrono::steady_clock::now();
    PostMessageW(main_, WM_SYSCOMMAND, SC_RESTORE, 0);
    bool restored = false;
    while (!restored && std::chrono::steady_clock::now() - start < std::chrono::seconds(60)) {
        restored = !IsIconic(main_);
        if (!restored) Sleep(1);
    }
    ASSERT_TRUE(restored) << "the restore was not obeyed";
    const auto restoreMs =
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count();
    RecordProperty("restore_ms", static_cast<int>(restoreMs));
    std::printf("restore obeyed after %d ms\n", static_cast<int>(restoreMs));
    ASSERT_NO_FATAL_FAILURE(Barrier());
    EXPECT_EQ(Popups(), kMaxNoticesShown) << "the newest notices, in the places of the oldest";
    EXPECT_FALSE(IsIconic(main_));
}

} // namespace
