#include <gtest/gtest.h>

#include "LabelFamilyTestSupport.h"
#include "controls/Progress.h"

#include <climits>

using namespace controltest;

namespace {

constexpr RECT kBarRect = {0, 0, 530, 13};

struct FillCase {
    int value;
    LONG right;
};

class ProgressFillTest : public ::testing::TestWithParam<FillCase> {};

} // namespace

TEST_P(ProgressFillTest, LauncherBarFillsTruncatedShare)
{
    CProgressUI bar;
    bar.SetPosition(kBarRect);
    bar.SetValue(GetParam().value);
    EXPECT_EQ(bar.FillRect(), (RECT{0, 0, GetParam().right, 13}));
}

INSTANTIATE_TEST_SUITE_P(Values, ProgressFillTest,
                         ::testing::Values(FillCase{0, 0}, FillCase{33, 174}, FillCase{50, 265}, FillCase{100, 530}));

TEST(ProgressTest, DefaultsAndNames)
{
    CProgressUI bar;
    EXPECT_STREQ(bar.TypeName(), L"ProgressUI");
    EXPECT_EQ(bar.LookupInterface(L"Progress"), &bar);
    EXPECT_EQ(bar.LookupInterface(L"Label"), &bar);
    EXPECT_EQ(bar.LookupInterface(L"Button"), nullptr);
    EXPECT_EQ(bar.DeclaredHeight(), 12);
    EXPECT_EQ(bar.TextStyle(), 0x21u);
    EXPECT_EQ(bar.MinValue(), 0);
    EXPECT_EQ(bar.MaxValue(), 100);
    EXPECT_TRUE(bar.IsHorizontal());
    EXPECT_TRUE(bar.IsStretchForeImage());
}

TEST(ProgressTest, SetValueOutsideTheRangeIsIgnored)
{
    CProgressUI bar;
    bar.SetValue(40);
    for (const int value : {101, -1, INT_MAX, INT_MIN}) {
        bar.SetValue(value);
        EXPECT_EQ(bar.Value(), 40) << value;
    }
    bar.SetValue(100);
    EXPECT_EQ(bar.Value(), 100);
}

TEST(ProgressTest, ValueBeforeMaxIsKeptAndLoweredAtThePaint)
{
    CProgressUI bar;
    bar.SetPosition(kBarRect);
    bar.ApplyAttributeString(L"value=\"50\" max=\"40\"");
    EXPECT_EQ(bar.Value(), 50);
    EXPECT_EQ(bar.FillRect(), (RECT{0, 0, 530, 13}));
    EXPECT_EQ(bar.Value(), 40);
    bar.ApplyAttribute(L"value", L"45");
    EXPECT_EQ(bar.Value(), 40);
}

TEST(ProgressTest, VerticalBarFillsFromTheBottom)
{
    CProgressUI bar;
    bar.SetPosition(RECT{5, 5, 25, 105});
    bar.ApplyAttributeString(L"hor=\"false\" value=\"25\"");
    EXPECT_EQ(bar.FillRect(), (RECT{0, 75, 20, 100}));
}

struct VerticalFillCase {
    const char* name;
    int height;
    int min;
    int max;
    int value;
    LONG top;
};

void PrintTo(const VerticalFillCase& c, std::ostream* os)
{
    *os << c.name;
}

class ProgressVerticalFillTest : public ::testing::TestWithParam<VerticalFillCase> {};

// top = H × (max − value) / (max − min), truncated: where the division is not exact the empty
// part is cut, never the fill rounded down.
TEST_P(ProgressVerticalFillTest, TopIsTheTruncatedEmptyShare)
{
    const VerticalFillCase& c = GetParam();
    CProgressUI bar;
    bar.SetPosition(RECT{3, 7, 23, 7 + c.height});
    bar.SetHorizontal(false);
    bar.SetMinValue(c.min);
    bar.SetMaxValue(c.max);
    bar.SetValue(c.value);
    EXPECT_EQ(bar.FillRect(), (RECT{0, c.top, 20, c.height}));
}

INSTANTIATE_TEST_SUITE_P(
    Heights, ProgressVerticalFillTest,
    ::testing::Values(VerticalFillCase{"Exact", 100, 0, 100, 25, 75},
                      VerticalFillCase{"ThirteenAtHalf", 13, 0, 100, 50, 6},
                      VerticalFillCase{"LauncherWidthAt33", 530, 0, 100, 33, 355},
                      VerticalFillCase{"ShiftedRange", 100, 10, 40, 20, 66},
                      VerticalFillCase{"NegativeRange", 10, -7, 0, -3, 4},
                      VerticalFillCase{"OnePixelOfThree", 1, 0, 3, 1, 0},
                      VerticalFillCase{"Empty", 13, 0, 100, 0, 13},
                      VerticalFillCase{"Full", 13, 0, 100, 100, 0},
                      VerticalFillCase{"FullIntRange", 13, INT_MIN, INT_MAX, 0, 6}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ProgressTest, EqualLimitsAreRepairedAtTheFirstPaint)
{
    CProgressUI bar;
    bar.SetPosition(kBarRect);
    bar.ApplyAttributeString(L"min=\"10\" max=\"10\"");
    EXPECT_EQ(bar.MaxValue(), 10);
    CDibSectionUI canvas;
    ASSERT_TRUE(canvas.Create(10, 10));
    bar.Paint(canvas.DC(), kBarRect);
    EXPECT_EQ(bar.MaxValue(), 11);
    EXPECT_EQ(bar.Value(), 10);
}

struct LimitCase {
    const char* name;
    int min;
    int max;
    int value;
    LONG right;
    int repairedMin;
    int repairedMax;
};

void PrintTo(const LimitCase& c, std::ostream* os)
{
    *os << c.name;
}

class ProgressLimitTest : public ::testing::TestWithParam<LimitCase> {};

TEST_P(ProgressLimitTest, FillStaysInsideTheBarWithoutOverflow)
{
    const LimitCase& c = GetParam();
    CProgressUI bar;
    bar.SetPosition(kBarRect);
    bar.SetMinValue(c.min);
    bar.SetMaxValue(c.max);
    bar.SetValue(c.value);
    EXPECT_EQ(bar.FillRect(), (RECT{0, 0, c.right, 13}));
    EXPECT_EQ(bar.MinValue(), c.repairedMin);
    EXPECT_EQ(bar.MaxValue(), c.repairedMax);
}

INSTANTIATE_TEST_SUITE_P(
    Limits, ProgressLimitTest,
    ::testing::Values(LimitCase{"FullRangeTop", INT_MIN, INT_MAX, INT_MAX, 530, INT_MIN, INT_MAX},
                      LimitCase{"FullRangeBottom", INT_MIN, INT_MAX, INT_MIN, 0, INT_MIN, INT_MAX},
                      LimitCase{"FullRangeMiddle", INT_MIN, INT_MAX, 0, 265, INT_MIN, INT_MAX},
                      LimitCase{"NearTopOfRange", INT_MAX - 100, INT_MAX, INT_MAX - 50, 265, INT_MAX - 100, INT_MAX},
                      LimitCase{"BothAtTheTop", INT_MAX, INT_MAX, 0, 0, INT_MAX - 1, INT_MAX},
                      LimitCase{"ReversedExtremes", INT_MAX, INT_MIN, 0, 0, INT_MAX - 1, INT_MAX},
                      LimitCase{"BothAtTheBottom", INT_MIN, INT_MIN, 0, 530, INT_MIN, INT_MIN + 1}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ProgressTest, HugeItemRectangleDoesNotOverflow)
{
    CProgressUI bar;
    bar.SetPosition(RECT{-2000000000, 0, 2000000000, 13});
    bar.SetValue(50);
    const RECT rc = bar.FillRect();
    EXPECT_EQ(rc.left, 0);
    EXPECT_GT(rc.right, 0);
    EXPECT_LE(rc.right, INT_MAX);
}

namespace {

constexpr DWORD kTrack = 0x505050;
constexpr DWORD kFillLeft = 0xE00000;
constexpr DWORD kFillMiddle = 0x00E000;
constexpr DWORD kFillRight = 0x0000E0;

class ProgressPaintTest : public SkinCanvasTest {
protected:
    void SetUp() override
    {
        SkinCanvasTest::SetUp();
        WriteSolidImage(L"gprogress_bk.bmp", kTrack, 12, 13);
        // 20 × 13 with 3-pixel side columns of their own colour.
        WriteImage(L"gprogress_fore.bmp", 20, 13,
                   [](int x, int) { return x < 3 ? kFillLeft : (x >= 17 ? kFillRight : kFillMiddle); });
        // As large as the bar: every column has its own colour.
        WriteImage(L"columns.bmp", 530, 13, [](int x, int) { return static_cast<DWORD>(0x100000 + x); });
        ASSERT_TRUE(MakeCanvas(560, 30));
        bar = new CProgressUI;
        manager.AttachRoot(bar);
        bar->SetPosition(kBarPlace);
        bar->ApplyAttributeString(L"bkimage=\"file='gprogress_bk.bmp' corner='3,3,3,3'\" "
                                  L"foreimage=\"file='gprogress_fore.bmp' corner='3,3,3,3'\" min=\"0\" max=\"100\"");
    }

    static constexpr RECT kBarPlace = {10, 10, 540, 23};
    CProgressUI* bar = nullptr;
};

} // namespace

TEST_F(ProgressPaintTest, NineGridFillOfTheLauncherBar)
{
    bar->SetValue(50);
    Paint(*bar);
    EXPECT_EQ(bar->FillModifier(), L"dest='0,0,265,13'");
    for (const int y : {10, 16, 22}) {
        EXPECT_EQ(Rgb(10, y), kFillLeft);
        EXPECT_EQ(Rgb(12, y), kFillLeft);
        EXPECT_EQ(Rgb(13, y), kFillMiddle);
        EXPECT_EQ(Rgb(150, y), kFillMiddle);
        EXPECT_EQ(Rgb(271, y), kFillMiddle);
        EXPECT_EQ(Rgb(272, y), kFillRight);
        EXPECT_EQ(Rgb(274, y), kFillRight);
        EXPECT_EQ(Rgb(275, y), kTrack);
        EXPECT_EQ(Rgb(539, y), kTrack);
    }
    EXPECT_TRUE(UntouchedOutside(kBarPlace));
}

TEST_F(ProgressPaintTest, EmptyAndFullBar)
{
    Paint(*bar);
    EXPECT_EQ(bar->FillModifier(), L"dest='0,0,0,13'");
    EXPECT_EQ(Rgb(10, 16), kTrack);
    EXPECT_EQ(Rgb(100, 16), kTrack);
    bar->SetValue(100);
    Paint(*bar);
    EXPECT_EQ(Rgb(10, 16), kFillLeft);
    EXPECT_EQ(Rgb(300, 16), kFillMiddle);
    EXPECT_EQ(Rgb(539, 16), kFillRight);
    EXPECT_TRUE(UntouchedOutside(kBarPlace));
}

TEST_F(ProgressPaintTest, CutFillShowsTheImageUnscaled)
{
    bar->ApplyAttributeString(L"foreimage=\"file='columns.bmp'\" isstretchfore=\"false\" value=\"50\"");
    Paint(*bar);
    EXPECT_EQ(bar->FillModifier(), L"dest='0,0,265,13' source='0,0,265,13'");
    for (const int x : {0, 1, 100, 264}) {
        EXPECT_EQ(Rgb(10 + x, 16), static_cast<DWORD>(0x100000 + x)) << x;
    }
    EXPECT_EQ(Rgb(10 + 265, 16), kTrack);
    EXPECT_TRUE(UntouchedOutside(kBarPlace));
}

TEST_F(ProgressPaintTest, MissingFillImageDrawsTrackOnlyAndIsKept)
{
    bar->ApplyAttributeString(L"foreimage=\"file='absent.png'\" value=\"70\"");
    Paint(*bar);
    EXPECT_EQ(Rgb(100, 16), kTrack);
    EXPECT_EQ(bar->ForeImage(), L"file='absent.png'");
    EXPECT_TRUE(UntouchedOutside(kBarPlace));
}

TEST_F(ProgressPaintTest, ExtremeRangeDrawsNothingOutsideTheBar)
{
    bar->SetMinValue(INT_MIN);
    bar->SetMaxValue(INT_MAX);
    bar->SetValue(INT_MAX);
    Paint(*bar);
    EXPECT_EQ(Rgb(539, 16), kFillRight);
    EXPECT_TRUE(UntouchedOutside(kBarPlace));
}

TEST(ProgressNoManagerTest, FillImageIsForgottenWithoutManager)
{
    CProgressUI bar;
    bar.SetPosition(kBarRect);
    bar.ApplyAttribute(L"foreimage", L"file='x.png'");
    CDibSectionUI canvas;
    ASSERT_TRUE(canvas.Create(10, 10));
    bar.Paint(canvas.DC(), kBarRect);
    EXPECT_TRUE(bar.ForeImage().IsEmpty());
}
