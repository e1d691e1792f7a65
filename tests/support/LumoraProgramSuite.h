#pragma once
#include <gtest/gtest.h>
#include <windows.h>

#include "LumoraProcess.h"
#include "TestProgramFolder.h"

// One lumora.exe run shared by the tests of a suite, in their order, from a
// program folder of the suite's own with the three portal pages: every
// window destruction under Wine without a window manager costs seconds.
// Suite names the folder in its kProgramFolder.
template <class Suite> class TLumoraProgramSuite : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        folder_ = new TestProgramFolder(Suite::kProgramFolder, { L"home.html", L"tv.html", L"playing.html" });
        process_ = new LumoraProcess();
        if (folder_->Ready() && process_->Start(folder_->Path())) process_->WaitForMainWindow();
    }
    static void TearDownTestSuite()
    {
        delete process_;
        delete folder_;
        process_ = nullptr;
        folder_ = nullptr;
    }
    // The program still runs, with its main window.
    void SetUp() override
    {
        ASSERT_TRUE(folder_->Ready()) << "the test program folder could not be made";
        main_ = process_->MainWindow();
        ASSERT_NE(main_, nullptr) << "lumora.exe showed no main window";
        ASSERT_TRUE(process_->Running()) << "lumora.exe ended with " << std::hex << process_->WaitExit(0);
    }
    // For suites whose tests start from the home page: SetUp, and the page is shown.
    void SetUpWithHomePage()
    {
        TLumoraProgramSuite::SetUp();
        if (HasFatalFailure()) return;
        RECT view;
        ASSERT_TRUE(WaitUntil([&] { return ShownBrowserRect(main_, &view); })) << "the home page was not shown";
    }

    static TestProgramFolder* folder_;
    static LumoraProcess* process_;
    HWND main_ = nullptr;
};

template <class Suite> TestProgramFolder* TLumoraProgramSuite<Suite>::folder_ = nullptr;
template <class Suite> LumoraProcess* TLumoraProgramSuite<Suite>::process_ = nullptr;
