#include "core/SkinRender.h"
#include "core/WindowManager.h"

#include "PngWriter.h"
#include "RenderTestCanvas.h"
#include "ScopedResourceSettings.h"
#include "TestFiles.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

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

    ScopedResourceSettings m_settings;
    TempDir m_dir;
    CWindowManagerUI m_manager;
};

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
