#include "core/ImageSpec.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

using namespace Tarvo;

namespace {

const RECT kItem = {100, 200, 130, 230};

std::wstring RectText(const RECT& rc)
{
    return std::to_wstring(rc.left) + L"," + std::to_wstring(rc.top) + L"," + std::to_wstring(rc.right) + L"," +
           std::to_wstring(rc.bottom);
}

UIImageSpec Only(const wchar_t* pstrDescription, const wchar_t* pstrModifier = nullptr)
{
    const std::vector<UIImageSpec> images = ParseImageSpec(pstrDescription, pstrModifier, kItem);
    EXPECT_EQ(images.size(), 1u) << pstrDescription;
    return images.empty() ? UIImageSpec{} : images.front();
}

} // namespace

TEST(ImageSpecTest, PlainNameDrawsOverTheWholeItem)
{
    const UIImageSpec image = Only(L"gmin_normal.png");
    EXPECT_EQ(image.name, L"gmin_normal.png");
    EXPECT_EQ(RectText(image.dest), RectText(kItem));
    EXPECT_EQ(RectText(image.source), L"0,0,0,0");
    EXPECT_EQ(image.fade, 255);
    EXPECT_FALSE(image.hole || image.xTiled || image.yTiled);
}

TEST(ImageSpecTest, EveryKnownKeyIsApplied)
{
    const UIImageSpec image = Only(L"file='a.png' restype='PNG' dest='1,2,20,25' source='4,5,6,7' corner='3,3,2,1' "
                                   L"mask='#FFFF00FF' fade='128' hole='true' xtiled='true' ytiled='true'");
    EXPECT_EQ(image.name, L"a.png");
    EXPECT_EQ(image.resourceType, L"PNG");
    EXPECT_EQ(RectText(image.dest), L"101,202,120,225");
    EXPECT_EQ(RectText(image.source), L"4,5,6,7");
    EXPECT_EQ(RectText(image.corner), L"3,3,2,1");
    EXPECT_EQ(image.mask, 0xFFFF00FFu);
    EXPECT_EQ(image.fade, 128);
    EXPECT_TRUE(image.hole && image.xTiled && image.yTiled);
}

TEST(ImageSpecTest, UnknownKeysAndNonTrueFlagsAreIgnored)
{
    const UIImageSpec image = Only(L"file='x.png' sparkle='on' corner='3,3,3,3' hole='TRUE' xtiled='yes'");
    EXPECT_EQ(image.name, L"x.png");
    EXPECT_EQ(RectText(image.corner), L"3,3,3,3");
    EXPECT_FALSE(image.hole || image.xTiled);
}

TEST(ImageSpecTest, DestinationIsCutToTheItem)
{
    EXPECT_EQ(RectText(Only(L"file='x.png' dest='0,0,50,50'").dest), L"100,200,130,230");
    EXPECT_EQ(RectText(Only(L"file='x.png' dest='5,6,-5,-6'").dest), L"105,206,95,194");
}

TEST(ImageSpecTest, SeveralFileKeysDrawSeveralImagesCarryingSettings)
{
    const std::vector<UIImageSpec> images =
        ParseImageSpec(L"file='a.png' dest='0,0,10,10' fade='100' file='b.png' dest='10,0,20,10'", nullptr, kItem);
    ASSERT_EQ(images.size(), 2u);
    EXPECT_EQ(images[0].name, L"a.png");
    EXPECT_EQ(RectText(images[0].dest), L"100,200,110,210");
    EXPECT_EQ(images[1].name, L"b.png");
    EXPECT_EQ(RectText(images[1].dest), L"110,200,120,210");
    EXPECT_EQ(images[1].fade, 100);
}

TEST(ImageSpecTest, OnlyFileKeysCountAndTheCountRestartsForTheModifier)
{
    // "res" first: no earlier "file", so the name is simply replaced by the later "file".
    EXPECT_EQ(ParseImageSpec(L"res='1' file='b.png'", nullptr, kItem).size(), 1u);
    // "res" after a "file" closes the file's image.
    EXPECT_EQ(ParseImageSpec(L"file='a.png' res='2'", nullptr, kItem).size(), 2u);
    // The modifier's first "file" replaces the description's image without drawing it.
    const std::vector<UIImageSpec> images = ParseImageSpec(L"file='a.png' fade='9'", L"file='b.png'", kItem);
    ASSERT_EQ(images.size(), 1u);
    EXPECT_EQ(images[0].name, L"b.png");
    EXPECT_EQ(images[0].fade, 9);
}

TEST(ImageSpecTest, ModifierOverridesTheDescription)
{
    const UIImageSpec image = Only(L"file='btn.png' source='0,0,10,10'", L"source='10,0,20,10'");
    EXPECT_EQ(image.name, L"btn.png");
    EXPECT_EQ(RectText(image.source), L"10,0,20,10");
}

TEST(ImageSpecTest, MalformedDescriptionsKeepWhatWasSetBefore)
{
    struct Case {
        const wchar_t* description;
        const wchar_t* name;
        const wchar_t* corner;
    };
    const Case cases[] = {
        {L"file='a.png' corner='3,3,3,3", L"a.png", L"0,0,0,0"},                // unterminated quote
        {L"file='a.png' corner '3,3,3,3'", L"a.png", L"0,0,0,0"},               // missing "="
        {L"file='a.png' corner=3", L"a.png", L"0,0,0,0"},                       // no apostrophe
        {L"file='a.png'corner='3,3,3,3'", L"a.png", L"0,0,0,0"},                // no space after the value
        {L"file='a.png'  corner='1,1,1,1'", L"a.png", L"1,1,1,1"},              // extra blanks are skipped
        {L"  file = 'a.png' corner = '2,2,2,2'", L"a.png", L"2,2,2,2"},         // blanks around "="
        {L"file='' corner='3,3,3,3'", L"file='' corner='3,3,3,3'", L"3,3,3,3"}, // empty value ignored
        {L"file='a.png' corner=''", L"a.png", L"0,0,0,0"},
        {L"=''", L"=''", L"0,0,0,0"},
        {L"'", L"'", L"0,0,0,0"},
        {L"", L"", L"0,0,0,0"},
        {L"file='a.png' corner='7'", L"a.png", L"7,0,0,0"},       // missing numbers are 0
        {L"file='a.png' corner='x,y,1,2'", L"a.png", L"0,0,0,0"}, // one separator after each try
    };
    for (const Case& c : cases) {
        const UIImageSpec image = Only(c.description);
        EXPECT_EQ(image.name, c.name) << c.description;
        EXPECT_EQ(RectText(image.corner), c.corner) << c.description;
    }
}

TEST(ImageSpecTest, HugeNumbersSaturateInsteadOfWrapping)
{
    const UIImageSpec image = Only(L"file='a.png' dest='99999999999999999999,-99999999999999999999,"
                                   L"99999999999999999999,99999999999999999999' fade='100000' corner='-5,0,0,0'");
    EXPECT_EQ(image.dest.left, LONG_MAX);
    EXPECT_EQ(image.dest.top, kItem.top + LONG_MIN);
    EXPECT_EQ(image.dest.right, kItem.right);
    EXPECT_EQ(image.dest.bottom, kItem.bottom);
    EXPECT_EQ(image.fade, 255);
    EXPECT_EQ(Only(L"file='a.png' fade='-4'").fade, 0);
    EXPECT_EQ(image.corner.left, -5);
}

TEST(ImageSpecTest, MaskIsHexadecimalWithOptionalHash)
{
    EXPECT_EQ(Only(L"file='a.png' mask='FF00FF'").mask, 0x00FF00FFu);
    EXPECT_EQ(Only(L"file='a.png' mask='#ffff00ff'").mask, 0xFFFF00FFu);
    EXPECT_EQ(Only(L"file='a.png' mask='#'").mask, 0u);
}

TEST(ImageSpecTest, IntegerListSkipsExactlyOneSeparator)
{
    LONG values[4] = {9, 9, 9, 9};
    ParseIntList(L"1;2 3,,4", values, 4);
    EXPECT_EQ(values[0], 1);
    EXPECT_EQ(values[1], 2);
    EXPECT_EQ(values[2], 3);
    EXPECT_EQ(values[3], 0);
}
