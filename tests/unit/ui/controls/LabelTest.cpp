#include <gtest/gtest.h>

#include "LabelFamilyTestSupport.h"
#include "controls/Button.h"
#include "controls/HorizontalLayout.h"
#include "controls/Label.h"
#include "controls/Text.h"
#include "controls/VerticalLayout.h"

#include <string>

using namespace controltest;

namespace {

struct AlignCase {
    const wchar_t* attributes;
    UINT style;
};

void PrintTo(const AlignCase& c, std::ostream* os)
{
    *os << wxlmtest::Narrow(c.attributes);
}

class LabelAlignTest : public ::testing::TestWithParam<AlignCase> {};

} // namespace

TEST_P(LabelAlignTest, AlignmentWordsSetTheFormat)
{
    CLabelUI label;
    label.ApplyAttributeString(GetParam().attributes);
    EXPECT_EQ(label.TextStyle(), GetParam().style);
}

INSTANTIATE_TEST_SUITE_P(
    Words, LabelAlignTest,
    ::testing::Values(AlignCase{L"", DT_VCENTER}, AlignCase{L"align=\"center\"", DT_CENTER | DT_VCENTER},
                      AlignCase{L"valign=\"top\"", DT_SINGLELINE}, AlignCase{L"align=\"left\"", DT_VCENTER},
                      AlignCase{L"valign=\"bottom\" align=\"right\"", DT_BOTTOM | DT_RIGHT},
                      AlignCase{L"valign=\"bottom\" align=\"center\"", DT_BOTTOM | DT_SINGLELINE | DT_CENTER},
                      AlignCase{L"align=\"center\" valign=\"vcenter\"", DT_CENTER | DT_VCENTER | DT_SINGLELINE},
                      AlignCase{L"align=\"right\" align=\"left\"", DT_VCENTER},
                      AlignCase{L"align=\"leftcenter\"", DT_CENTER | DT_VCENTER},
                      AlignCase{L"endellipsis=\"true\"", DT_VCENTER | DT_END_ELLIPSIS},
                      AlignCase{L"endellipsis=\"true\" endellipsis=\"false\"", DT_VCENTER}));

TEST(LabelTest, NamesAndAttributes)
{
    CLabelUI label;
    EXPECT_STREQ(label.TypeName(), L"LabelUI");
    EXPECT_EQ(label.LookupInterface(L"Label"), &label);
    EXPECT_EQ(label.LookupInterface(L"Control"), &label);
    EXPECT_EQ(label.LookupInterface(L"Text"), nullptr);
    EXPECT_EQ(label.InputFlags(), 0u);
    label.ApplyAttributeString(L"textcolor=\"#444444\" disabledtextcolor=\"FF101010\" font=\"2\" "
                               L"textpadding=\"1,2,3,4\" showhtml=\"true\" autocalcwidth=\"true\"");
    EXPECT_EQ(label.TextColor(), 0x444444u);
    EXPECT_EQ(label.DisabledTextColor(), 0xFF101010u);
    EXPECT_EQ(label.FontIndex(), 2);
    EXPECT_EQ(label.TextPadding(), (RECT{1, 2, 3, 4}));
    EXPECT_TRUE(label.IsShowHtml());
    EXPECT_TRUE(label.IsAutoCalcWidth());
}

TEST(LabelTest, EffectModeKeepsItsOwnText)
{
    CLabelUI label;
    label.ApplyAttributeString(L"text=\"before\" enabledeffect=\"true\"");
    EXPECT_TRUE(label.Text().IsEmpty());
    label.ApplyAttribute(L"text", L"after");
    EXPECT_EQ(label.Text(), L"after");
    label.ApplyAttribute(L"enabledeffect", L"false");
    EXPECT_EQ(label.Text(), L"before");
}

TEST(LabelTest, FocusEventsOnlySetFocused)
{
    CLabelUI label;
    ControlEvent event;
    event.type = EventSetFocus;
    label.HandleEvent(event);
    EXPECT_TRUE(label.IsFocused());
    event.type = EventKillFocus;
    label.HandleEvent(event);
    EXPECT_FALSE(label.IsFocused());
}

TEST(LabelTest, HeightWithoutDeclarationIsFontPlusFour)
{
    CLabelUI label;
    label.SetDeclaredWidth(50);
    EXPECT_EQ(label.MeasureSize(SIZE{100, 100}), (SIZE{50, 4}));
    label.SetDeclaredHeight(20);
    EXPECT_EQ(label.MeasureSize(SIZE{100, 100}), (SIZE{50, 20}));
}

TEST(LabelTest, AutomaticWidthFollowsTheTextAndPadding)
{
    CWindowManagerUI manager;
    CLabelUI label;
    label.AttachTo(&manager, nullptr, false);
    label.ApplyAttributeString(L"autocalcwidth=\"true\" height=\"20\" text=\"W\"");
    const LONG nShort = label.MeasureSize(SIZE{999, 999}).cx;
    label.SetText(L"WWWW");
    const LONG nLong = label.MeasureSize(SIZE{999, 999}).cx;
    EXPECT_GT(nShort, 0);
    EXPECT_GT(nLong, nShort * 3);
    label.ApplyAttribute(L"textpadding", L"7,0,5,0");
    EXPECT_EQ(label.MeasureSize(SIZE{999, 999}), (SIZE{nLong + 12, 20}));
    EXPECT_EQ(label.DeclaredWidth(), nLong + 12);
}

namespace {

class LabelPaintTest : public SkinCanvasTest {
protected:
    void SetUp() override
    {
        SkinCanvasTest::SetUp();
        ASSERT_TRUE(MakeCanvas(200, 60));
        label.AttachTo(&manager, nullptr, false);
        label.SetPosition(kLabelRect);
    }

    int CountPixels(DWORD rgb)
    {
        ::GdiFlush();
        int nCount = 0;
        for (int y = 0; y < canvas.Height(); ++y) {
            for (int x = 0; x < canvas.Width(); ++x) {
                nCount += (canvas.At(x, y) & 0xFFFFFF) == rgb ? 1 : 0;
            }
        }
        return nCount;
    }

    static constexpr RECT kLabelRect = {10, 10, 190, 50};
    CLabelUI label;
};

} // namespace

TEST_F(LabelPaintTest, SixDigitTextColourIsDrawnWithoutItsAlpha)
{
    label.ApplyAttributeString(L"textcolor=\"#444444\" text=\"Orvendale\" align=\"center\"");
    Paint(label);
    EXPECT_GT(CountPixels(0x444444), 10);
    EXPECT_TRUE(UntouchedOutside(kLabelRect));
}

TEST_F(LabelPaintTest, DisabledLabelUsesTheDisabledColour)
{
    label.ApplyAttributeString(L"textcolor=\"#FF444444\" disabledtextcolor=\"#FF22AA22\" text=\"Orvendale\"");
    label.SetEnabled(false);
    Paint(label);
    EXPECT_EQ(CountPixels(0x444444), 0);
    EXPECT_GT(CountPixels(0x22AA22), 10);
}

TEST_F(LabelPaintTest, DefaultColoursAreFixedAtTheFirstPaint)
{
    label.SetText(L"x");
    Paint(label);
    EXPECT_EQ(label.TextColor(), manager.DefaultFontColor());
    EXPECT_EQ(label.DisabledTextColor(), manager.DefaultDisabledColor());
}

TEST_F(LabelPaintTest, EffectModePaintsNoText)
{
    label.ApplyAttributeString(L"textcolor=\"#FF444444\" text=\"Orvendale\" enabledeffect=\"true\"");
    Paint(label);
    EXPECT_EQ(CountPixels(0x444444), 0);
}

TEST_F(LabelPaintTest, WrappedTextStaysOnOneLine)
{
    // A single line: nothing below the first line's band even with a word-break format.
    label.SetPosition(RECT{10, 10, 60, 55});
    label.ApplyAttributeString(L"textcolor=\"#FF444444\" text=\"aaaa bbbb cccc dddd eeee ffff\"");
    label.SetTextStyle(DT_WORDBREAK);
    Paint(label);
    ::GdiFlush();
    int nLowest = 0;
    for (int y = 10; y < 55; ++y) {
        for (int x = 10; x < 60; ++x) {
            if ((canvas.At(x, y) & 0xFFFFFF) == 0x444444) {
                nLowest = y;
            }
        }
    }
    EXPECT_GT(nLowest, 10);
    EXPECT_LT(nLowest, 10 + 30);
    EXPECT_TRUE(UntouchedOutside(RECT{10, 10, 60, 55}));
}

TEST_F(LabelPaintTest, HugeTextStaysInsideTheLabel)
{
    const std::wstring strHuge(100000, L'W');
    label.ApplyAttributeString(L"textcolor=\"#FF444444\"");
    label.SetText(strHuge.c_str());
    Paint(label);
    label.ApplyAttribute(L"showhtml", L"true");
    Paint(label);
    EXPECT_EQ(label.Text().GetLength(), 100000);
    EXPECT_TRUE(UntouchedOutside(kLabelRect));
}

namespace {

template <class TLayout> void ExpectCleanAfterOneLayoutPass()
{
    ManagedTree<TLayout> tree;
    auto* pLabel = tree.template Add<CLabelUI>(L"autocalcwidth=\"true\" text=\"label\"");
    auto* pText = tree.template Add<CTextUI>(L"autocalcwidth=\"true\" height=\"20\" text=\"some text\"");
    auto* pButton = tree.template Add<CButtonUI>(L"autocalcwidth=\"true\" height=\"20\" text=\"button\"");
    const RECT rc = {0, 0, 400, 100};
    tree.Layout(rc);
    EXPECT_FALSE(tree.root->IsUpdateNeeded());
    for (CLabelUI* pControl : {pLabel, static_cast<CLabelUI*>(pText), static_cast<CLabelUI*>(pButton)}) {
        EXPECT_GT(pControl->DeclaredWidth(), 0) << wxlmtest::Narrow(pControl->TypeName());
        EXPECT_FALSE(pControl->IsUpdateNeeded()) << wxlmtest::Narrow(pControl->TypeName());
    }
    // Laid out again with the same text, nothing changes and nothing asks for more.
    const RECT rcText = pText->Position();
    tree.Layout(rc);
    EXPECT_FALSE(tree.root->IsUpdateNeeded());
    EXPECT_EQ(pText->Position(), rcText);
}

} // namespace

TEST(LabelFamilyLayoutTest, AutomaticWidthsInAHorizontalLayoutSettleInOnePass)
{
    ExpectCleanAfterOneLayoutPass<CHorizontalLayoutUI>();
}

TEST(LabelFamilyLayoutTest, AutomaticWidthsInAVerticalLayoutSettleInOnePass)
{
    ExpectCleanAfterOneLayoutPass<CVerticalLayoutUI>();
}

TEST(LabelFamilyLayoutTest, HorizontalLayoutPlacesTheMeasuredWidths)
{
    ManagedTree<CHorizontalLayoutUI> tree;
    auto* pLabel = tree.Add<CLabelUI>(L"autocalcwidth=\"true\" text=\"label\" textpadding=\"3,0,4,0\"");
    auto* pButton = tree.Add<CButtonUI>(L"autocalcwidth=\"true\" height=\"20\" text=\"button\"");
    tree.Layout(RECT{10, 0, 400, 30});
    EXPECT_EQ(pLabel->Position().left, 10);
    EXPECT_EQ(pLabel->Position().right - pLabel->Position().left, pLabel->DeclaredWidth());
    EXPECT_EQ(pButton->Position().left, pLabel->Position().right);
    EXPECT_EQ(pButton->Position().right - pButton->Position().left, pButton->DeclaredWidth());
}

TEST(LabelFamilyLayoutTest, AMeasuredWidthBelowZeroIsIgnored)
{
    CWindowManagerUI manager;
    CLabelUI label;
    CTextUI text;
    for (CLabelUI* pControl : {&label, static_cast<CLabelUI*>(&text)}) {
        pControl->AttachTo(&manager, nullptr, false);
        pControl->ApplyAttributeString(L"autocalcwidth=\"true\" height=\"20\" text=\"W\" textpadding=\"2,0,3,0\"");
        const LONG cx = pControl->MeasureSize(SIZE{999, 999}).cx;
        ASSERT_GT(cx, 5) << wxlmtest::Narrow(pControl->TypeName());
        pControl->ApplyAttribute(L"textpadding", L"0,0,-5000,0");
        EXPECT_EQ(pControl->MeasureSize(SIZE{999, 999}).cx, cx) << wxlmtest::Narrow(pControl->TypeName());
    }
}
