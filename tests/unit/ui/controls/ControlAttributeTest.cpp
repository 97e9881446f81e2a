#include <gtest/gtest.h>

#include "ControlTestSupport.h"

#include <string>

using namespace controltest;

namespace {

class ControlAttributeTest : public ::testing::Test {
protected:
    CControlUI control;
};

} // namespace

TEST_F(ControlAttributeTest, PosThenWidthAndHeight)
{
    control.ApplyAttribute(L"pos", L"320,320,0,0");
    control.ApplyAttribute(L"width", L"530");
    control.ApplyAttribute(L"height", L"13");
    EXPECT_EQ(control.FixedOffset(), (SIZE{320, 320}));
    EXPECT_EQ(control.DeclaredWidth(), 530);
    EXPECT_EQ(control.DeclaredHeight(), 13);
}

TEST_F(ControlAttributeTest, PosAloneGivesOffsetAndSize)
{
    control.ApplyAttribute(L"pos", L"902,6,926,30");
    EXPECT_EQ(control.FixedOffset(), (SIZE{902, 6}));
    EXPECT_EQ(control.DeclaredWidth(), 24);
    EXPECT_EQ(control.DeclaredHeight(), 24);
}

TEST_F(ControlAttributeTest, PosWithNegativeLeftMeasuresFromTheRight)
{
    control.ApplyAttribute(L"pos", L"-100,10,-20,40");
    EXPECT_EQ(control.FixedOffset(), (SIZE{-20, 10}));
    EXPECT_EQ(control.DeclaredWidth(), 80);
    EXPECT_EQ(control.DeclaredHeight(), 30);
}

TEST_F(ControlAttributeTest, WidthBeforePosIsOverriddenByPos)
{
    control.ApplyAttribute(L"width", L"50");
    control.ApplyAttribute(L"pos", L"0,0,10,10");
    EXPECT_EQ(control.DeclaredWidth(), 10);
}

TEST_F(ControlAttributeTest, BorderSizeListThenOneResetsTheSides)
{
    control.ApplyAttribute(L"bordersize", L"0,0,0,2");
    control.ApplyAttribute(L"bordersize", L"1");
    EXPECT_EQ(control.BorderSize(), 1);
    EXPECT_EQ(control.SideBorderSize(), (RECT{0, 0, 0, 0}));
}

TEST_F(ControlAttributeTest, BorderSizeOneThenListKeepsTheUniformSize)
{
    control.ApplyAttribute(L"bordersize", L"1");
    control.ApplyAttribute(L"bordersize", L"0,0,0,2");
    EXPECT_EQ(control.BorderSize(), 1);
    EXPECT_EQ(control.SideBorderSize(), (RECT{0, 0, 0, 2}));
}

TEST_F(ControlAttributeTest, SideBorderAttributesSetOneSideEach)
{
    control.ApplyAttribute(L"leftbordersize", L"1");
    control.ApplyAttribute(L"topbordersize", L"2");
    control.ApplyAttribute(L"rightbordersize", L"3");
    control.ApplyAttribute(L"bottombordersize", L"4");
    EXPECT_EQ(control.SideBorderSize(), (RECT{1, 2, 3, 4}));
}

TEST_F(ControlAttributeTest, BooleansAreTrueOnlyForLowerCaseTrue)
{
    control.ApplyAttribute(L"visible", L"True");
    EXPECT_FALSE(control.IsVisible());
    control.ApplyAttribute(L"visible", L"true");
    EXPECT_TRUE(control.IsVisible());
    control.ApplyAttribute(L"enabled", L"1");
    EXPECT_FALSE(control.IsEnabled());
    control.ApplyAttribute(L"mouse", L"false");
    control.ApplyAttribute(L"keyboard", L"no");
    control.ApplyAttribute(L"float", L"true");
    control.ApplyAttribute(L"menu", L"true");
    EXPECT_FALSE(control.IsMouseEnabled());
    EXPECT_FALSE(control.IsKeyboardEnabled());
    EXPECT_TRUE(control.IsFloating());
    EXPECT_TRUE(control.IsContextMenuEnabled());
}

TEST_F(ControlAttributeTest, ColoursOfBackgroundAndBorder)
{
    control.ApplyAttribute(L"bkcolor", L"#444444");
    EXPECT_EQ(control.BackgroundColor(), 0x00444444u);
    control.ApplyAttribute(L"bkcolor1", L" #FF102030");
    EXPECT_EQ(control.BackgroundColor(), 0xFF102030u);
    control.ApplyAttribute(L"bkcolor2", L"FF00FF00");
    control.ApplyAttribute(L"bkcolor3", L"#FF0000FF");
    EXPECT_EQ(control.BackgroundColor2(), 0xFF00FF00u);
    EXPECT_EQ(control.BackgroundColor3(), 0xFF0000FFu);
    control.ApplyAttribute(L"bordercolor", L" #FFFF0000");
    EXPECT_EQ(control.BorderColor(), 0u);
    control.ApplyAttribute(L"focusbordercolor", L"#FF00FF00");
    EXPECT_EQ(control.FocusBorderColor(), 0xFF00FF00u);
}

TEST_F(ControlAttributeTest, TextualAttributes)
{
    control.ApplyAttribute(L"name", L"btnClose");
    control.ApplyAttribute(L"text", L"Close");
    control.ApplyAttribute(L"tooltip", L"first<n>second");
    control.ApplyAttribute(L"userdata", L"42");
    control.ApplyAttribute(L"shortcut", L"xyz");
    control.ApplyAttribute(L"bkimage", L"file='bk.png' corner='2,2,2,2'");
    control.ApplyAttribute(L"padding", L"1,2,3,4");
    control.ApplyAttribute(L"borderround", L"5,6");
    control.ApplyAttribute(L"borderstyle", L"2");
    EXPECT_EQ(control.Name(), L"btnClose");
    EXPECT_EQ(control.Text(), L"Close");
    EXPECT_EQ(control.ToolTip(), L"first\r\nsecond");
    EXPECT_EQ(control.UserData(), L"42");
    EXPECT_EQ(control.Shortcut(), L'x');
    EXPECT_EQ(control.BackgroundImage(), L"file='bk.png' corner='2,2,2,2'");
    EXPECT_EQ(control.Padding(), (RECT{1, 2, 3, 4}));
    EXPECT_EQ(control.BorderRound(), (SIZE{5, 6}));
    EXPECT_EQ(control.BorderStyle(), 2);
}

TEST_F(ControlAttributeTest, LimitsAndRelativePosition)
{
    control.ApplyAttribute(L"minwidth", L"10");
    control.ApplyAttribute(L"maxwidth", L"100");
    control.ApplyAttribute(L"minheight", L"20");
    control.ApplyAttribute(L"maxheight", L"200");
    control.ApplyAttribute(L"relativepos", L"50,25,10,5");
    EXPECT_EQ(control.MinWidth(), 10);
    EXPECT_EQ(control.MaxWidth(), 100);
    EXPECT_EQ(control.MinHeight(), 20);
    EXPECT_EQ(control.MaxHeight(), 200);
    const RelativePlacement rel = control.RelativePosition();
    EXPECT_TRUE(rel.enabled);
    EXPECT_EQ(rel.moveXPercent, 50);
    EXPECT_EQ(rel.moveYPercent, 25);
    EXPECT_EQ(rel.zoomXPercent, 10);
    EXPECT_EQ(rel.zoomYPercent, 5);
}

TEST_F(ControlAttributeTest, NamesAreCaseSensitiveAndUnknownOnesAreIgnored)
{
    control.ApplyAttribute(L"Width", L"30");
    control.ApplyAttribute(L"WIDTH", L"30");
    control.ApplyAttribute(L"nonsense", L"1");
    control.ApplyAttribute(L"", L"1");
    control.ApplyAttribute(nullptr, L"1");
    control.ApplyAttribute(L"width", nullptr);
    EXPECT_EQ(control.DeclaredWidth(), 0);
}

TEST_F(ControlAttributeTest, BadValuesKeepTheOldSizeOrReadAsZero)
{
    control.ApplyAttribute(L"width", L"40");
    control.ApplyAttribute(L"height", L"30");
    control.ApplyAttribute(L"minwidth", L"5");
    // Negative sizes are ignored by the setters.
    control.ApplyAttribute(L"width", L"-1");
    control.ApplyAttribute(L"minwidth", L"-5");
    EXPECT_EQ(control.DeclaredWidth(), 40);
    EXPECT_EQ(control.MinWidth(), 5);
    // Text that is no number reads as 0, which is a valid size.
    control.ApplyAttribute(L"height", L"tall");
    EXPECT_EQ(control.DeclaredHeight(), 0);
    control.ApplyAttribute(L"width", L"");
    EXPECT_EQ(control.DeclaredWidth(), 0);
    control.ApplyAttribute(L"width", L"123456789012345678901234567890");
    EXPECT_EQ(control.DeclaredWidth(), 1000000);
    control.ApplyAttribute(L"pos", L"garbage");
    EXPECT_EQ(control.FixedOffset(), (SIZE{0, 0}));
    control.ApplyAttribute(L"shortcut", L"");
    EXPECT_EQ(control.Shortcut(), L'\0');
}

TEST_F(ControlAttributeTest, AttributeStringAppliesPairsSeparatedByOneBlank)
{
    control.ApplyAttributeString(L"width=\"12\" height=\"34\" name=\"a b\"");
    EXPECT_EQ(control.DeclaredWidth(), 12);
    EXPECT_EQ(control.DeclaredHeight(), 34);
    EXPECT_EQ(control.Name(), L"a b");
}

TEST_F(ControlAttributeTest, AttributeStringStopsAtTheFirstMalformedPair)
{
    struct Case {
        const wchar_t* text;
        int width;
        int height;
    };
    const Case cases[] = {
        {L"width=\"12\"  height=\"34\"", 12, 0}, // a second blank joins the next name
        {L"width=\"12", 0, 0},                   // unterminated value: nothing applied
        {L"width=\"12\" height=\"34", 12, 0},
        {L"width=12 height=\"34\"", 0, 0},     // no quote after "="
        {L"width=\"12\"height=\"34\"", 12, 0}, // no blank after the closing quote
        {L"width=\"12\" ", 12, 0},             // a blank must be followed by something
        {L"width", 0, 0},
        {L"=\"5\"", 0, 0},
        {L"\"", 0, 0},
        {L"", 0, 0},
    };
    for (const Case& c : cases) {
        CControlUI fresh;
        fresh.ApplyAttributeString(c.text);
        EXPECT_EQ(fresh.DeclaredWidth(), c.width) << testing::PrintToString(std::wstring(c.text));
        EXPECT_EQ(fresh.DeclaredHeight(), c.height) << testing::PrintToString(std::wstring(c.text));
    }
    control.ApplyAttributeString(nullptr);
}

TEST_F(ControlAttributeTest, AttributeStringCopiesSurrogatePairsWhole)
{
    control.ApplyAttributeString(L"text=\"\xD83D\xDE00!\" width=\"3\"");
    EXPECT_EQ(control.Text(), L"\xD83D\xDE00!");
    EXPECT_EQ(control.DeclaredWidth(), 3);
}
