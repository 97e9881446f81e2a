#include <gtest/gtest.h>

#include "ControlTestSupport.h"
#include "controls/ControlTable.h"
#include "controls/DateTime.h"

#include <iterator>
#include <memory>
#include <random>
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

namespace {

// An independent reading of the date text: digits-dash-digits-dash-digits (1–4, 1–2, 1–2), a
// Gregorian date from 1601 to 9999. Gives the day of the week by Zeller's rule (0 = Sunday).
bool OracleDate(const std::wstring& text, int& nYear, int& nMonth, int& nDay, int& nWeekday)
{
    int fields[3] = {};
    size_t pos = 0;
    for (int k = 0; k < 3; ++k) {
        const size_t start = pos;
        while (pos < text.size() && text[pos] >= L'0' && text[pos] <= L'9' && pos - start < (k == 0 ? 4u : 2u)) {
            fields[k] = fields[k] * 10 + (text[pos++] - L'0');
        }
        if (pos == start || (k < 2 && (pos >= text.size() || text[pos++] != L'-'))) {
            return false;
        }
    }
    if (pos != text.size()) {
        return false;
    }
    nYear = fields[0];
    nMonth = fields[1];
    nDay = fields[2];
    const bool leap = (nYear % 4 == 0 && nYear % 100 != 0) || nYear % 400 == 0;
    const int days[] = {31, leap ? 29 : 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (nYear < 1601 || nMonth < 1 || nMonth > 12 || nDay < 1 || nDay > days[nMonth - 1]) {
        return false;
    }
    const int m = nMonth < 3 ? nMonth + 12 : nMonth;
    const int y = nMonth < 3 ? nYear - 1 : nYear;
    const int h = (nDay + 13 * (m + 1) / 5 + y + y / 4 - y / 100 + y / 400) % 7; // 0 = Saturday
    nWeekday = (h + 6) % 7;
    return true;
}

} // namespace

// A mutation driver for the date text (a skin's "text", a program's SetText): seeded random
// strings near and far from a date are each taken as exactly the date they name, or ignored.
TEST(DateTimeTest, RandomTextIsTakenAsTheDateItNamesOrIgnored)
{
    const unsigned seed = std::random_device{}();
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::mt19937 random(seed);
    const wchar_t alphabet[] = L"0123456789--- x/\x0660\xFF10\xD800";
    CDateTimeUI date;
    int nTaken = 0;
    for (int i = 0; i < 20000; ++i) {
        std::wstring text;
        if (random() % 2 == 0) {
            // Near a date: fields of random widths and values, then a few mutations.
            text = std::to_wstring(random() % 12000) + L"-" + std::to_wstring(random() % 15) + L"-" +
                   std::to_wstring(random() % 33);
            for (unsigned n = random() % 3; n > 0 && !text.empty(); --n) {
                const size_t at = random() % text.size();
                switch (random() % 3) {
                case 0: text.erase(at, 1); break;
                case 1: text.insert(at, 1, alphabet[random() % (std::size(alphabet) - 1)]); break;
                default: text[at] = alphabet[random() % (std::size(alphabet) - 1)]; break;
                }
            }
        } else {
            for (unsigned n = random() % 14; n > 0; --n) {
                text += alphabet[random() % (std::size(alphabet) - 1)];
            }
        }
        const CUIString before = date.Text();
        date.SetText(text.c_str());
        int nYear = 0;
        int nMonth = 0;
        int nDay = 0;
        int nWeekday = 0;
        if (OracleDate(text, nYear, nMonth, nDay, nWeekday)) {
            ++nTaken;
            const SYSTEMTIME value = date.Time();
            ASSERT_EQ(value.wYear, nYear) << std::wstring(text);
            ASSERT_EQ(value.wMonth, nMonth) << std::wstring(text);
            ASSERT_EQ(value.wDay, nDay) << std::wstring(text);
            ASSERT_EQ(value.wDayOfWeek, nWeekday) << std::wstring(text);
            // What is shown reads back as the same date.
            SYSTEMTIME again = {};
            ASSERT_TRUE(CDateTimeUI::ParseDate(date.Text().GetData(), again)) << std::wstring(text);
            ASSERT_EQ(CDateTimeUI::FormatDate(again), date.Text());
        } else {
            ASSERT_EQ(date.Text(), before) << std::wstring(text);
        }
    }
    EXPECT_GT(nTaken, 100) << "the driver reaches real dates";
}
