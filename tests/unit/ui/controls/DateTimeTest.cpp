#include <gtest/gtest.h>

#include "ControlTestSupport.h"
#include "controls/ControlTable.h"
#include "controls/DateTime.h"

#include <memory>
#include <string>

using namespace controltest;

TEST(DateTimeTest, ElementTypeNameAndInterfaces)
{
    std::unique_ptr<CControlUI> pControl(CreateControlByElement(L"DateTime"));
    ASSERT_NE(pControl, nullptr);
    EXPECT_STREQ(pControl->TypeName(), L"DateTimeUI");
    EXPECT_EQ(pControl->LookupInterface(L"DateTime"), pControl.get());
    EXPECT_EQ(pControl->LookupInterface(L"Label"), pControl.get());
    EXPECT_EQ(pControl->LookupInterface(L"Edit"), nullptr);
}

TEST(DateTimeTest, StartsWithTodayAsText)
{
    SYSTEMTIME now = {};
    ::GetLocalTime(&now);
    CDateTimeUI date;
    const SYSTEMTIME value = date.Time();
    EXPECT_EQ(value.wYear, now.wYear);
    EXPECT_EQ(value.wMonth, now.wMonth);
    EXPECT_EQ(value.wHour, 0);
    EXPECT_EQ(date.Text(), CDateTimeUI::FormatDate(value));
    EXPECT_EQ(date.Text().GetLength(), 10);
}

TEST(DateTimeTest, FormatPadsMonthAndDay)
{
    SYSTEMTIME date = {};
    date.wYear = 2024;
    date.wMonth = 3;
    date.wDay = 7;
    EXPECT_EQ(CDateTimeUI::FormatDate(date), L"2024-03-07");
    date.wYear = 999;
    EXPECT_EQ(CDateTimeUI::FormatDate(date), L" 999-03-07") << "%4d pads the year with blanks";
}

TEST(DateTimeTest, TextThatIsADateSetsItAndAnythingElseIsIgnored)
{
    CDateTimeUI date;
    date.SetText(L"2024-02-29");
    EXPECT_EQ(date.Text(), L"2024-02-29");
    EXPECT_EQ(date.Time().wDayOfWeek, 4) << "a Thursday";
    date.SetText(L"2000-1-2");
    EXPECT_EQ(date.Text(), L"2000-01-02") << "short fields are read and shown padded";
    const wchar_t* notDates[] = {
        L"",
        L"tomorrow",
        L"2023-02-29",
        L"2024-13-01",
        L"2024-00-10",
        L"2024-04-31",
        L"2024-04-00",
        L"1600-12-31",
        L"10000-01-01",
        L"2024-01-01x",
        L" 2024-01-01",
        L"2024/01/01",
        L"2024-01",
        L"-2024-01-01",
        L"2024--01-01",
        L"2100-02-29",
        L"2023-06-31",
        L"\x0662\x0660\x0662\x0664-01-01",
    };
    for (const wchar_t* text : notDates) {
        date.SetText(text);
        EXPECT_EQ(date.Text(), L"2000-01-02") << std::wstring(text);
    }
    date.SetText(nullptr);
    EXPECT_EQ(date.Text(), L"2000-01-02");
}

TEST(DateTimeTest, SetTimeRefusesDatesTheCalendarLacks)
{
    CDateTimeUI date;
    SYSTEMTIME valid = {};
    valid.wYear = 1601;
    valid.wMonth = 1;
    valid.wDay = 1;
    valid.wHour = 13;
    EXPECT_TRUE(date.SetTime(valid));
    EXPECT_EQ(date.Text(), L"1601-01-01");
    EXPECT_EQ(date.Time().wHour, 0) << "only the date is kept";
    SYSTEMTIME invalid = valid;
    invalid.wDay = 32;
    EXPECT_FALSE(date.SetTime(invalid));
    invalid = {};
    EXPECT_FALSE(date.SetTime(invalid));
    EXPECT_EQ(date.Text(), L"1601-01-01");
}

TEST(DateTimeTest, NoPickerWithoutAWindow)
{
    ManagedTree<CDateTimeUI> tree(RECT{0, 0, 100, 20});
    EXPECT_FALSE(tree.root->OpenPicker());
    EXPECT_EQ(tree.root->PickerWindow(), nullptr);
    tree.root->SetEnabled(false);
    EXPECT_EQ(tree.root->InputFlags(), 0u);
}
