#include "UpdEditTestSupport.h"

using namespace UpdEditTest;

namespace {

class CUpdDateTime : public CEditFixture
{
protected:
    CDateTimeUI* PlacedPicker()
    {
        CDateTimeUI* pDate = new CDateTimeUI;
        Place(pDate, L"10,10,210,40");
        Attach({ pDate });
        return pDate;
    }
    HWND Picker() const { return FindChild(L"DateTimeWnd"); }
    static SYSTEMTIME Date(WORD wYear, WORD wMonth, WORD wDay)
    {
        SYSTEMTIME st = {};
        st.wYear = wYear;
        st.wMonth = wMonth;
        st.wDay = wDay;
        return st;
    }
    static SYSTEMTIME PickerDate(HWND hPicker)
    {
        SYSTEMTIME st = {};
        ::SendMessageW(hPicker, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&st));
        return st;
    }
    static void SetPickerDate(HWND hPicker, SYSTEMTIME st)
    {
        ::SendMessageW(hPicker, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&st));
    }
    static CStringUI Today()
    {
        SYSTEMTIME st = {};
        ::GetLocalTime(&st);
        CStringUI s;
        s.Format(L"%04d-%02d-%02d", st.wYear, st.wMonth, st.wDay);
        return s;
    }
    // The keyboard focus leaves the picker for the skinned window.
    void LeavePicker()
    {
        ::SetFocus(hWnd);
        PumpMessages();
    }
};

} // namespace

TEST_F(CUpdDateTime, NewControlShowsTodayAsYearMonthDay)
{
    CDateTimeUI date;
    CStringUI sText = date.GetText();
    ASSERT_EQ(10, sText.GetLength());
    EXPECT_EQ(L'-', sText.GetAt(4));
    EXPECT_EQ(L'-', sText.GetAt(7));
    EXPECT_STREQ(Today().GetData(), sText.GetData());
    EXPECT_STREQ(L"DateTimeUI", date.GetControlClass());
    EXPECT_EQ(&date, date.GetInterface(L"DateTime"));
    EXPECT_EQ(&date, date.GetInterface(L"Label"));
}

TEST_F(CUpdDateTime, LosingTheFocusTakesThePickedDate)
{
    CDateTimeUI* pDate = PlacedPicker();
    pDate->SetFocus();
    PumpMessages();
    HWND hPicker = Picker();
    ASSERT_NE(nullptr, hPicker);
    EXPECT_TRUE(::IsWindowVisible(hPicker));
    EXPECT_EQ(hPicker, ::GetFocus());
    SetPickerDate(hPicker, Date(2001, 2, 3));
    LeavePicker();
    EXPECT_STREQ(L"2001-02-03", pDate->GetText().GetData());
    EXPECT_FALSE(::IsWindow(hPicker));

    // Opened again, the picker starts from the date taken.
    Click(100, 25);
    hPicker = Picker();
    ASSERT_NE(nullptr, hPicker);
    SYSTEMTIME st = PickerDate(hPicker);
    EXPECT_EQ(2001, st.wYear);
    EXPECT_EQ(2, st.wMonth);
    EXPECT_EQ(3, st.wDay);
}

TEST_F(CUpdDateTime, EscapeLeavesThePreviousTextUnchanged)
{
    CDateTimeUI* pDate = PlacedPicker();
    CStringUI sBefore = pDate->GetText();
    pDate->SetFocus();
    PumpMessages();
    HWND hPicker = Picker();
    ASSERT_NE(nullptr, hPicker);
    SetPickerDate(hPicker, Date(1999, 12, 31));
    PressKey(hPicker, VK_ESCAPE);
    EXPECT_FALSE(::IsWindow(hPicker));
    EXPECT_STREQ(sBefore.GetData(), pDate->GetText().GetData());
    LeavePicker();
    EXPECT_STREQ(sBefore.GetData(), pDate->GetText().GetData());
}

TEST_F(CUpdDateTime, DeleteEmptiesTheTextAndTheNextOpeningStartsFromToday)
{
    for (UINT vk : { VK_DELETE, VK_BACK }) {
        SCOPED_TRACE(vk);
        CDateTimeUI* pDate = PlacedPicker();
        pDate->SetFocus();
        PumpMessages();
        HWND hPicker = Picker();
        ASSERT_NE(nullptr, hPicker);
        SetPickerDate(hPicker, Date(2001, 2, 3));
        LeavePicker();
        ASSERT_STREQ(L"2001-02-03", pDate->GetText().GetData());

        Click(100, 25);
        hPicker = Picker();
        ASSERT_NE(nullptr, hPicker);
        PressKey(hPicker, vk);
        EXPECT_FALSE(::IsWindow(hPicker));
        EXPECT_TRUE(pDate->GetText().IsEmpty());

        Click(100, 25);
        hPicker = Picker();
        ASSERT_NE(nullptr, hPicker);
        SYSTEMTIME now = {};
        ::GetLocalTime(&now);
        SYSTEMTIME st = PickerDate(hPicker);
        EXPECT_EQ(now.wYear, st.wYear);
        EXPECT_EQ(now.wMonth, st.wMonth);
        EXPECT_EQ(now.wDay, st.wDay);
        LeavePicker();
        EXPECT_STREQ(Today().GetData(), pDate->GetText().GetData());
    }
}

TEST_F(CUpdDateTime, APickerWhoseControlIsGoneClosesQuietly)
{
    CDateTimeUI* pDate = PlacedPicker();
    pDate->SetFocus();
    PumpMessages();
    HWND hPicker = Picker();
    ASSERT_NE(nullptr, hPicker);
    static_cast<CContainerUI*>(manager->GetRoot())->Remove(pDate);
    ::SendMessageW(hWnd, WM_UPDUI_CLEANUP, 0, 0); // the control is deleted now
    PressKey(hPicker, VK_DELETE);
    LeavePicker();
    EXPECT_FALSE(::IsWindow(hPicker));
}
