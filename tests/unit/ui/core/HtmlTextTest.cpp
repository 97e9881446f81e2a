#include "core/SkinRender.h"
#include "core/WindowManager.h"

#include "PngWriter.h"
#include "RenderTestCanvas.h"
#include "ScopedResourceSettings.h"
#include "TestFiles.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <string>
#include <vector>

using namespace Tarvo;
using namespace rendertest;
using namespace wxlmtest;

namespace {

constexpr DWORD kWhite = 0xFFFFFFFF;

bool SamePixels(const CDibSectionUI& a, const CDibSectionUI& b)
{
    ::GdiFlush();
    return a.Width() == b.Width() && a.Height() == b.Height() &&
           std::memcmp(a.Bits(), b.Bits(), static_cast<size_t>(a.Width()) * a.Height() * 4) == 0;
}

bool HasColor(const CDibSectionUI& canvas, const RECT& rc, DWORD rgb)
{
    ::GdiFlush();
    for (LONG y = rc.top; y < rc.bottom; ++y) {
        for (LONG x = rc.left; x < rc.right; ++x) {
            if ((canvas.At(x, y) & 0xFFFFFF) == rgb) {
                return true;
            }
        }
    }
    return false;
}

class HtmlTextTest : public testing::Test {
protected:
    void SetUp() override { CResourceSettingsUI::SetResourcePath(m_dir.Path().c_str()); }

    std::unique_ptr<CDibSectionUI> Paint(const std::wstring& text, UINT style, RECT rc = {5, 5, 295, 55},
                                         int* pLinks = nullptr, RECT* prcLinks = nullptr, CUIString* sLinks = nullptr)
    {
        auto canvas = MakeCanvas(300, 60, kWhite);
        int nLinks = pLinks != nullptr ? *pLinks : 0;
        CSkinRender::PaintHtmlText(canvas->DC(), &m_manager, rc, text.c_str(), 0xFF000000, prcLinks, sLinks, nLinks,
                                   style);
        if (pLinks != nullptr) {
            *pLinks = nLinks;
        }
        return canvas;
    }

    int MeasureWidth(const std::wstring& text)
    {
        auto canvas = MakeCanvas(10, 10, kWhite);
        RECT rc = {0, 0, 9999, 100};
        int nLinks = 0;
        CSkinRender::PaintHtmlText(canvas->DC(), &m_manager, rc, text.c_str(), 0xFF000000, nullptr, nullptr, nLinks,
                                   DT_SINGLELINE | DT_CALCRECT);
        return rc.right;
    }

    // Draws onto an existing canvas, top-left aligned and multi-line unless style says otherwise.
    void PaintOn(CDibSectionUI& canvas, const std::wstring& text, UINT style, RECT rc)
    {
        int nLinks = 0;
        CSkinRender::PaintHtmlText(canvas.DC(), &m_manager, rc, text.c_str(), 0xFF000000, nullptr, nullptr, nLinks,
                                   style);
    }

    // The rectangle DT_CALCRECT gives for the text laid out in rc.
    RECT Measure(const std::wstring& text, UINT style, RECT rc)
    {
        auto canvas = MakeCanvas(10, 10, kWhite);
        int nLinks = 0;
        CSkinRender::PaintHtmlText(canvas->DC(), &m_manager, rc, text.c_str(), 0xFF000000, nullptr, nullptr, nLinks,
                                   style | DT_CALCRECT);
        return rc;
    }

    int LineHeight() { return Measure(L"a", 0, RECT{0, 0, 9999, 100}).bottom; }

    ScopedResourceSettings m_settings;
    TempDir m_dir;
    CWindowManagerUI m_manager;
};

RECT Shifted(RECT rc, int dx, int dy)
{
    ::OffsetRect(&rc, dx, dy);
    return rc;
}

} // namespace

TEST_F(HtmlTextTest, LinksReturnTheirRectanglesAndTextsInLinkColour)
{
    RECT rcLinks[5] = {};
    CUIString sLinks[5];
    int nLinks = 5;
    const auto canvas = Paint(L"Go <a http://one>here</a> or {a two}there{/a} now", DT_SINGLELINE, {5, 5, 295, 55},
                              &nLinks, rcLinks, sLinks);
    ASSERT_EQ(nLinks, 2);
    EXPECT_EQ(sLinks[0], L"http://one");
    EXPECT_EQ(sLinks[1], L"two");
    EXPECT_LT(rcLinks[0].right, rcLinks[1].left);
    for (const RECT& rc : rcLinks) {
        if (&rc - rcLinks >= nLinks) {
            break;
        }
        EXPECT_GT(rc.right, rc.left);
        EXPECT_GE(rc.left, 5);
        EXPECT_LE(rc.right, 295);
        EXPECT_TRUE(HasColor(*canvas, rc, 0x0000FF)) << "default link colour";
    }
    EXPECT_FALSE(HasColor(*canvas, {5, 5, rcLinks[0].left, 55}, 0x0000FF));
}

TEST_F(HtmlTextTest, LinkRectanglesStopAtTheCapacity)
{
    RECT rcLinks[1] = {};
    CUIString sLinks[1];
    int nLinks = 1;
    Paint(L"<a 1>one</a> <a 2>two</a> <a 3>three</a>", DT_SINGLELINE, {5, 5, 295, 55}, &nLinks, rcLinks, sLinks);
    EXPECT_EQ(nLinks, 1);
    EXPECT_EQ(sLinks[0], L"1");
}

TEST_F(HtmlTextTest, HoveredLinkUsesTheHoverColour)
{
    RECT rcLinks[2] = {};
    int nLinks = 2;
    Paint(L"<a x>hover me</a>", DT_SINGLELINE, {5, 5, 295, 55}, &nLinks, rcLinks);
    ASSERT_EQ(nLinks, 1);
    // The manager's last mouse point starts at 0,0: move the previous rectangle under it.
    RECT rcPrevious[2] = {{0, 0, 1, 1}, {}};
    nLinks = 2;
    const auto canvas = Paint(L"<a x>hover me</a>", DT_SINGLELINE, {5, 5, 295, 55}, &nLinks, rcPrevious);
    EXPECT_TRUE(HasColor(*canvas, rcPrevious[0], 0xD3215F)) << "default hovered link colour";
    EXPECT_FALSE(HasColor(*canvas, rcPrevious[0], 0x0000FF));
}

TEST_F(HtmlTextTest, SingleLineStopsAtTheRightEdgeWithAnEllipsis)
{
    const std::wstring text = L"<b>Orvendale</b> portal is loading slowly today";
    const RECT rc = {5, 5, 125, 55};
    const auto cut = Paint(text, DT_SINGLELINE | DT_END_ELLIPSIS, rc);
    EXPECT_TRUE(UntouchedOutside(*cut, rc, kWhite));
    // Find the prefix that, followed by "...", gives exactly the same picture.
    const std::wstring plain = L"<b>Orvendale</b> portal is loading slowly today";
    bool bFound = false;
    for (size_t k = plain.size(); k-- > 0 && !bFound;) {
        const std::wstring candidate = plain.substr(0, k) + L"...";
        if (MeasureWidth(candidate) > rc.right - rc.left) {
            continue;
        }
        bFound = SamePixels(*cut, *Paint(candidate, DT_SINGLELINE, rc));
        EXPECT_TRUE(bFound) << "the longest prefix that fits with the dots";
        break;
    }
    EXPECT_TRUE(bFound);
}

TEST_F(HtmlTextTest, WordBreakWrapsAtTheLastSpace)
{
    RECT rc = {0, 0, 80, 500};
    auto canvas = MakeCanvas(10, 10, kWhite);
    int nLinks = 0;
    CSkinRender::PaintHtmlText(canvas->DC(), &m_manager, rc, L"alpha beta gamma delta", 0xFF000000, nullptr, nullptr,
                               nLinks, DT_WORDBREAK | DT_CALCRECT);
    const int lineHeight = m_manager.DefaultFontInfo()->metrics.tmHeight;
    EXPECT_LE(rc.right, 80);
    EXPECT_GE(rc.bottom, 2 * lineHeight);
    const int wordWidth = MeasureWidth(L"alpha beta");
    EXPECT_GE(rc.right, std::min(wordWidth, 80) - MeasureWidth(L" gamma"));
}

TEST_F(HtmlTextTest, EscapesProduceBracesAndBrackets)
{
    EXPECT_TRUE(SamePixels(*Paint(L"a<{>b<}>c{<}d{>}e", DT_SINGLELINE), *Paint(L"<r>a{b}c<d>e</r>", DT_SINGLELINE)));
    EXPECT_FALSE(SamePixels(*Paint(L"a<{>b", DT_SINGLELINE), *Paint(L"ab", DT_SINGLELINE)));
}

TEST_F(HtmlTextTest, ColourSelectionAndImageTags)
{
    ASSERT_TRUE(WriteFileBytes(m_dir / L"icons.png", EncodePng(4, 2,
                                                               {0xFF00FF00, 0xFF00FF00, 0xFFFF00FF, 0xFFFF00FF,
                                                                0xFF00FF00, 0xFF00FF00, 0xFFFF00FF, 0xFFFF00FF})));
    EXPECT_TRUE(HasColor(*Paint(L"<c #FF0000>red</c>", DT_SINGLELINE), {0, 0, 300, 60}, 0xFF0000));
    EXPECT_TRUE(HasColor(*Paint(L"<s>sel</s>", DT_SINGLELINE), {0, 0, 300, 60}, 0xBAE4FF));
    const auto second = Paint(L"x<i icons.png 2 1>", DT_SINGLELINE);
    EXPECT_TRUE(HasColor(*second, {0, 0, 300, 60}, 0xFF00FF));
    EXPECT_FALSE(HasColor(*second, {0, 0, 300, 60}, 0x00FF00));
    EXPECT_TRUE(HasColor(*Paint(L"x<i icons.png>", DT_SINGLELINE), {0, 0, 300, 60}, 0x00FF00));
}

TEST_F(HtmlTextTest, FontIndexOutOfRangeIsTheDefaultFont)
{
    m_manager.AddFont(L"Tahoma", 30, true, false, false);
    EXPECT_TRUE(SamePixels(*Paint(L"<f 99>text</f>", DT_SINGLELINE), *Paint(L"text", DT_SINGLELINE)));
    EXPECT_FALSE(SamePixels(*Paint(L"<f 0>text</f>", DT_SINGLELINE), *Paint(L"text", DT_SINGLELINE)));
    EXPECT_FALSE(
        SamePixels(*Paint(L"<f Tahoma 20 bold italic>text</f>", DT_SINGLELINE), *Paint(L"text", DT_SINGLELINE)));
}

TEST_F(HtmlTextTest, BrokenMarkupStaysInsideTheRectangle)
{
    std::wstring deep;
    for (int i = 0; i < 3000; ++i) {
        deep += L"<b><u>{c #123456}";
    }
    deep += L"deep";
    const std::wstring texts[] = {
        L"<b>unclosed <u>tags <a link>everywhere",
        L"</b></a>{/c}closing only",
        L"<q>unknown</q> <z arg>tags</z> <b",
        L"<i missing.png><i > <i 3 4 5> <f> <f 99999999999> <c> <c #zz> <x 99999999999> <y -5>{p 9999}",
        L"<r>raw <b>never closed",
        L"\n\n<n><p><p 3>{n}text",
        L"<",
        L"{",
        deep,
    };
    const RECT rc = {20, 10, 200, 40};
    for (const std::wstring& text : texts) {
        for (UINT style :
             {UINT(DT_SINGLELINE), UINT(DT_WORDBREAK), UINT(DT_END_ELLIPSIS | DT_WORDBREAK | DT_VCENTER)}) {
            RECT rcLinks[3] = {};
            int nLinks = 3;
            const auto canvas = Paint(text, style, rc, &nLinks, rcLinks);
            EXPECT_TRUE(UntouchedOutside(*canvas, rc, kWhite)) << testing::PrintToString(text.substr(0, 40));
            EXPECT_LE(nLinks, 3);
        }
    }
}

TEST_F(HtmlTextTest, CalcRectDrawsNothing)
{
    auto canvas = MakeCanvas(300, 60, kWhite);
    RECT rc = {5, 5, 295, 55};
    int nLinks = 0;
    CSkinRender::PaintHtmlText(canvas->DC(), &m_manager, rc, L"<b>some</b> text", 0xFF000000, nullptr, nullptr, nLinks,
                               DT_SINGLELINE | DT_CALCRECT);
    EXPECT_TRUE(UntouchedOutside(*canvas, {0, 0, 0, 0}, kWhite));
    EXPECT_GT(rc.right, 5);
    EXPECT_LT(rc.right, 295);
}

// Character widths are kept with the font between paints: a DC that measures differently (extra
// space per character) neither uses nor changes them, and a new default font is measured afresh.
TEST_F(HtmlTextTest, KeptCharacterWidthsMeasureAsEachDCDoes)
{
    const std::wstring text = L"Kept widths: <b>bold</b> and plain";
    const int visibleCharacters = 27;
    const int cold = MeasureWidth(text);
    EXPECT_EQ(MeasureWidth(text), cold);

    auto canvas = MakeCanvas(10, 10, kWhite);
    ::SetTextCharacterExtra(canvas->DC(), 3);
    RECT rc = {0, 0, 9999, 100};
    int nLinks = 0;
    CSkinRender::PaintHtmlText(canvas->DC(), &m_manager, rc, text.c_str(), 0xFF000000, nullptr, nullptr, nLinks,
                               DT_SINGLELINE | DT_CALCRECT);
    EXPECT_EQ(rc.right, cold + 3 * visibleCharacters);
    EXPECT_EQ(MeasureWidth(text), cold);

    const UIFontInfo* pDefault = m_manager.DefaultFontInfo();
    m_manager.SetDefaultFont(pDefault->face, pDefault->size * 2, false, false, false);
    EXPECT_GT(MeasureWidth(text), cold * 3 / 2);
}

TEST_F(HtmlTextTest, WrappedLinesLoseTheBlankTheyWereBrokenAt)
{
    for (const wchar_t* fits : {L"aaaa bb", L"aaaa"}) {
        const RECT rc = {5, 5, 5 + MeasureWidth(fits) + 1, 55};
        EXPECT_TRUE(SamePixels(*Paint(L"aaaa bbbb", DT_WORDBREAK, rc), *Paint(L"aaaa\nbbbb", DT_WORDBREAK, rc)))
            << testing::PrintToString(std::wstring(fits));
    }
    const RECT rcWide = {5, 5, 295, 55};
    EXPECT_FALSE(SamePixels(*Paint(L"aaaa bbbb", DT_WORDBREAK, rcWide), *Paint(L"aaaa\nbbbb", DT_WORDBREAK, rcWide)));
}

// Each layout tag checked by where it puts the text: the same pieces drawn one by one at the
// positions the tag should produce give the same pixels.
TEST_F(HtmlTextTest, LayoutTagsPlaceTheTextWhereTheySay)
{
    // Tall enough that no piece is cut by the bottom of the rectangle.
    const RECT rc = {5, 5, 295, 195};
    const int h = LineHeight();
    const int wa = MeasureWidth(L"a");
    ASSERT_GT(h, 5);
    ASSERT_GT(wa, 0);
    struct Placed {
        const wchar_t* text;
        int dx;
        int dy;
    };
    struct TagCase {
        const wchar_t* markup;
        UINT style;
        std::vector<Placed> pieces;
    };
    const TagCase cases[] = {
        {L"a<x 20>b", 0, {{L"a", 0, 0}, {L"b", wa + 20, 0}}},
        {L"a<n>b", 0, {{L"a", 0, 0}, {L"b", 0, h}}},
        {L"a<n>b", DT_SINGLELINE, {{L"ab", 0, 0}}},
        {L"<y 30>a<n>b</y><n>c", 0, {{L"a", 0, (30 - h) / 2}, {L"b", 0, 30 + (30 - h) / 2}, {L"c", 0, 60}}},
        {L"a<p 7>b<n>c</p><n>d", 0, {{L"a", 0, 0}, {L"b", 0, h + 7}, {L"c", 0, 2 * h + 14}, {L"d", 0, 3 * h + 14}}},
        {L"<p 7>b", 0, {{L"b", 0, 7}}},
    };
    for (const TagCase& c : cases) {
        auto expected = MakeCanvas(300, 200, kWhite);
        for (const Placed& piece : c.pieces) {
            PaintOn(*expected, piece.text, c.style, Shifted(rc, piece.dx, piece.dy));
        }
        auto actual = MakeCanvas(300, 200, kWhite);
        PaintOn(*actual, c.markup, c.style, rc);
        EXPECT_FALSE(UntouchedOutside(*actual, RECT{0, 0, 0, 0}, kWhite)) << testing::PrintToString(c.markup);
        EXPECT_TRUE(SamePixels(*actual, *expected)) << testing::PrintToString(c.markup);
    }
}

TEST_F(HtmlTextTest, UnderlineTagUsesTheUnderlinedFontForItsTextOnly)
{
    const UIFontInfo* pDefault = m_manager.DefaultFontInfo();
    const CUIString face = pDefault->face;
    ASSERT_NE(m_manager.AddFont(face, pDefault->size, false, true, false), nullptr);
    const int nUnderlined = m_manager.FontCount() - 1;
    const RECT rc = {5, 5, 295, 55};
    const int wa = MeasureWidth(L"a");
    const int wb = MeasureWidth(L"<u>b</u>");

    auto expected = MakeCanvas(300, 60, kWhite);
    PaintOn(*expected, L"a", DT_SINGLELINE, rc);
    RECT rcB = Shifted(rc, wa, 0);
    CSkinRender::PaintText(expected->DC(), &m_manager, rcB, L"b", 0xFF000000, nUnderlined, DT_SINGLELINE);
    PaintOn(*expected, L"c", DT_SINGLELINE, Shifted(rc, wa + wb, 0));
    const auto underlined = Paint(L"a<u>b</u>c", DT_SINGLELINE, rc);
    EXPECT_TRUE(SamePixels(*underlined, *expected));
    EXPECT_FALSE(SamePixels(*underlined, *Paint(L"abc", DT_SINGLELINE, rc)));
}

// Negative source left or top on an inline image: kept inside the bitmap like right and bottom,
// so the image is the same as with the clamped source and the text after it goes on behind it.
TEST_F(HtmlTextTest, HostileImageSourceIsClampedToTheBitmap)
{
    std::vector<uint32_t> pixels;
    for (int y = 0; y < 6; ++y) {
        for (uint32_t column : {0xFFFF0000u, 0xFF00FF00u, 0xFF0000FFu, 0xFFFF00FFu}) {
            pixels.push_back(column);
        }
    }
    ASSERT_TRUE(WriteFileBytes(m_dir / L"a", EncodePng(4, 6, pixels)));
    struct SourceCase {
        const wchar_t* hostile;
        const wchar_t* clamped;
    };
    const SourceCase cases[] = {
        {L"-2147483648,0,1,1", L"0,0,1,1"},
        {L"-2147483648,0,3,6", L"0,0,3,6"},
        {L"0,-2147483648,4,3", L"0,0,4,3"},
        {L"-2147483000,0,4,6", L"0,0,4,6"},
        {L"-2147483648,-2147483648,2147483647,2147483647", L"0,0,4,6"},
        {L"-5,-5,2,2", L"0,0,2,2"},
    };
    const RECT rc = {5, 5, 295, 55};
    for (const SourceCase& c : cases) {
        const std::wstring hostile = std::wstring(L"<i file='a' source='") + c.hostile + L"'>xy";
        const std::wstring clamped = std::wstring(L"<i file='a' source='") + c.clamped + L"'>xy";
        for (UINT style : {UINT(DT_SINGLELINE), UINT(DT_WORDBREAK | DT_VCENTER), UINT(DT_SINGLELINE | DT_CENTER)}) {
            EXPECT_TRUE(SamePixels(*Paint(hostile, style, rc), *Paint(clamped, style, rc)))
                << testing::PrintToString(hostile) << " style " << style;
            EXPECT_EQ(Measure(hostile, style, rc).right, Measure(clamped, style, rc).right)
                << testing::PrintToString(hostile);
        }
    }
    EXPECT_TRUE(HasColor(*Paint(L"<i file='a' source='-2147483648,0,3,6'>", DT_SINGLELINE), {5, 5, 295, 55}, 0x0000FF));
}

// Sums that would pass the int range saturate instead of wrapping round: at the edges of the
// rectangle and when many lines add up.
TEST_F(HtmlTextTest, LayoutSumsSaturateAtTheEndOfTheIntRange)
{
    EXPECT_EQ(Measure(L"<x 50>", DT_SINGLELINE, RECT{INT_MAX - 10, 0, INT_MAX, 100}).right, INT_MAX);
    EXPECT_EQ(Measure(L"a", 0, RECT{0, INT_MAX - 5, 100, INT_MAX}).bottom, INT_MAX);
    // The whole int range is as wide as it gets, not -1 pixels: the text fits on its line.
    const RECT rcFull = Measure(L"abc", DT_SINGLELINE, RECT{INT_MIN, 0, INT_MAX, 100});
    EXPECT_EQ(static_cast<long long>(rcFull.right) - INT_MIN, MeasureWidth(L"abc"));

    std::wstring tall = L"<y 9999>";
    for (int i = 0; i < 215000; ++i) {
        tall += L"<n>";
    }
    tall += L"end";
    EXPECT_EQ(Measure(tall, 0, RECT{0, 0, 100, INT_MAX}).bottom, INT_MAX);
    const RECT rc = {20, 10, 200, 40};
    EXPECT_TRUE(UntouchedOutside(*Paint(tall, DT_VCENTER, rc), rc, kWhite));
    EXPECT_TRUE(UntouchedOutside(*Paint(L"<x 9999>end", DT_SINGLELINE | DT_RIGHT, RECT{INT_MIN, 10, 200, 40}),
                                 RECT{0, 10, 200, 40}, kWhite));
}
