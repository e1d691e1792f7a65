// The daily power-off schedule against a clock the test sets, asked once a
// second as the main window asks it.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "PowerOffSchedule.h"
#include "SettingsStore.h"

namespace {

SYSTEMTIME testNow = {};

void WINAPI TestClock(SYSTEMTIME* now)
{
    *now = testNow;
}

void SetClock(WORD day, WORD hour, WORD minute, WORD second = 0)
{
    testNow = {};
    testNow.wYear = 2026;
    testNow.wMonth = 12;
    testNow.wDay = day;
    testNow.wHour = hour;
    testNow.wMinute = minute;
    testNow.wSecond = second;
}

SettingsStore Armed(int hour, int minute, bool armed = true)
{
    SettingsStore settings(L"");
    settings.poweroffhour = hour;
    settings.poweroffminute = minute;
    settings.powerOffArmed = armed;
    return settings;
}

// Asks every second of the given hour and minute on that day; returns how
// often the power-off was due.
int DueCountDuring(PowerOffSchedule& schedule, const SettingsStore& settings, WORD day, WORD hour, WORD minute)
{
    int due = 0;
    for (WORD second = 0; second < 60; ++second) {
        SetClock(day, hour, minute, second);
        due += schedule.Due(settings) ? 1 : 0;
    }
    return due;
}

TEST(PowerOffSchedule, DailyFiresOnceOnEachOfTwoConsecutiveDays)
{
    PowerOffSchedule schedule(&TestClock);
    const SettingsStore settings = Armed(17, 20);
    EXPECT_EQ(DueCountDuring(schedule, settings, 10, 17, 19), 0);
    EXPECT_EQ(DueCountDuring(schedule, settings, 10, 17, 20), 1) << "once, although the user cancelled";
    EXPECT_EQ(DueCountDuring(schedule, settings, 10, 17, 21), 0);
    EXPECT_EQ(DueCountDuring(schedule, settings, 11, 17, 20), 1) << "and again the next day";
    // The last day of a month and the first of the next are two days as well.
    SetClock(31, 17, 20);
    testNow.wMonth = 12;
    EXPECT_TRUE(schedule.Due(settings));
    SetClock(1, 17, 20);
    testNow.wYear = 2027;
    testNow.wMonth = 1;
    EXPECT_TRUE(schedule.Due(settings));
}

TEST(PowerOffSchedule, OffOrWithoutATimeNeverFires)
{
    const struct
    {
        const char* what;
        SettingsStore settings;
    } cases[] = {
        { "switched off", Armed(17, 20, false) },
        { "no hour", Armed(-1, 20) },
        { "no minute", Armed(17, -1) },
    };
    for (const auto& c : cases) {
        PowerOffSchedule schedule(&TestClock);
        EXPECT_EQ(DueCountDuring(schedule, c.settings, 10, 17, 20), 0) << c.what;
        EXPECT_FALSE(PowerOffSchedule::Armed(c.settings)) << c.what;
    }
    EXPECT_TRUE(PowerOffSchedule::Armed(Armed(0, 0)));
}

TEST(PowerOffSchedule, AChangedTimeMovesIt)
{
    PowerOffSchedule schedule(&TestClock);
    SettingsStore settings = Armed(17, 20);
    EXPECT_EQ(DueCountDuring(schedule, settings, 10, 17, 20), 1);
    // Moved to later the same day: due at the new time, not at the old one.
    settings.poweroffminute = 45;
    EXPECT_EQ(DueCountDuring(schedule, settings, 10, 17, 30), 0);
    EXPECT_EQ(DueCountDuring(schedule, settings, 10, 17, 45), 1);
    EXPECT_EQ(DueCountDuring(schedule, settings, 11, 17, 20), 0);
    EXPECT_EQ(DueCountDuring(schedule, settings, 11, 17, 45), 1);
}

// The window was kept busy across the chosen minute: the next question still
// finds it, once, when it comes within five minutes; never later.
TEST(PowerOffSchedule, AMinuteMissedWhileBusyFiresLateOnceWithinFiveMinutes)
{
    const struct
    {
        WORD hour, minute, second; // the first question after the busy time
        bool due;
    } cases[] = {
        { 17, 20, 30, true }, { 17, 21, 0, true },  { 17, 23, 10, true },
        { 17, 24, 59, true }, { 17, 25, 0, false }, { 18, 40, 0, false },
    };
    const SettingsStore settings = Armed(17, 20);
    for (const auto& c : cases) {
        PowerOffSchedule schedule(&TestClock);
        SetClock(10, 17, 19, 59);
        EXPECT_FALSE(schedule.Due(settings));
        SetClock(10, c.hour, c.minute, c.second);
        EXPECT_EQ(schedule.Due(settings), c.due) << c.hour << ":" << c.minute << ":" << c.second;
        SetClock(10, c.hour, c.minute, c.second + 1);
        EXPECT_FALSE(schedule.Due(settings)) << "once only";
        EXPECT_EQ(DueCountDuring(schedule, settings, 10, 17, 26), 0);
    }
}

// Late across midnight as well: 23:58 chosen, asked again at 00:01.
TEST(PowerOffSchedule, ALateQuestionAfterMidnightStillCounts)
{
    PowerOffSchedule schedule(&TestClock);
    const SettingsStore settings = Armed(23, 58);
    SetClock(10, 23, 57, 59);
    EXPECT_FALSE(schedule.Due(settings));
    SetClock(11, 0, 1, 0);
    EXPECT_TRUE(schedule.Due(settings));
}

// A time switched on when it has already passed is not a missed one.
TEST(PowerOffSchedule, SwitchedOnAfterTheMinuteDoesNotFire)
{
    PowerOffSchedule schedule(&TestClock);
    SettingsStore settings = Armed(17, 20, false);
    SetClock(10, 17, 19, 0);
    EXPECT_FALSE(schedule.Due(settings));
    settings.powerOffArmed = true;
    EXPECT_EQ(DueCountDuring(schedule, settings, 10, 17, 22), 0);
    EXPECT_EQ(DueCountDuring(schedule, settings, 11, 17, 20), 1) << "the next day it counts";
}

// What the settings dialog saves is what the next run schedules.
TEST(PowerOffSchedule, ARestartKeepsIt)
{
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    const std::wstring path =
        std::wstring(temp) + L"lumora_poweroff_" + std::to_wstring(GetCurrentProcessId()) + L".db";
    DeleteFileW(path.c_str());
    for (bool armed : { true, false }) {
        SettingsStore saved(path);
        saved.poweroffhour = 7;
        saved.poweroffminute = 30;
        saved.powerOffArmed = armed;
        saved.Save();

        SettingsStore loaded(path);
        loaded.Load();
        PowerOffSchedule schedule(&TestClock);
        EXPECT_EQ(PowerOffSchedule::Armed(loaded), armed);
        EXPECT_EQ(DueCountDuring(schedule, loaded, 12, 7, 30), armed ? 1 : 0);
    }
    DeleteFileW(path.c_str());
}

} // namespace
