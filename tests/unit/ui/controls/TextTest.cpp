#include <gtest/gtest.h>

#include "LabelFamilyTestSupport.h"
#include "controls/Text.h"
#include "controls/VerticalLayout.h"

#include <string>

using namespace controltest;

namespace {

POINT Centre(const RECT& rc)
{
    return POINT{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
}

class TextLinkTest : public SkinCanvasTest {
protected:
    void SetUp() override
    {
        SkinCanvasTest::SetUp();
        ASSERT_TRUE(MakeCanvas(400, 200));
        text.AttachTo(&manager, nullptr, false);
        text.SetPosition(kTextRect);
        text.ApplyAttribute(L"showhtml", L"true");
    }

    void Show(const wchar_t* pstrMarkup)
    {
        text.SetText(pstrMarkup);
        Paint(text);
    }

    void Send(int type, POINT pt)
    {
        ControlEvent event;
        event.type = type;
        event.sender = &text;
        event.mousePoint = pt;
        text.HandleEvent(event);
    }

    static constexpr RECT kTextRect = {10, 10, 390, 190};
    CTextUI text;
};

} // namespace

TEST_F(TextLinkTest, ReleaseOverLinkSendsItsIndex)
{
    Show(L"go <a first>one</a> and <a second>two</a>");
    ASSERT_EQ(text.LinkCount(), 2);
    EXPECT_EQ(text.LinkText(0), L"first");
    EXPECT_EQ(text.LinkText(1), L"second");
    const POINT ptSecond = Centre(text.LinkRect(1));
    Send(EventButtonDown, ptSecond);
    Send(EventButtonUp, ptSecond);
    ASSERT_EQ(notifications.Types(), std::vector<std::wstring>{L"link"});
    EXPECT_EQ(notifications.records[0].wParam, 1u);
    EXPECT_EQ(notifications.records[0].sender, &text);
    Send(EventButtonUp, Centre(text.LinkRect(0)));
    ASSERT_EQ(notifications.records.size(), 2u);
    EXPECT_EQ(notifications.records[1].wParam, 0u);
}

TEST_F(TextLinkTest, ReleaseBesideLinksSendsNothing)
{
    Show(L"<a first>one</a>");
    ASSERT_EQ(text.LinkCount(), 1);
    Send(EventButtonUp, POINT{385, 185});
    text.SetEnabled(false);
    Send(EventButtonUp, Centre(text.LinkRect(0)));
    EXPECT_TRUE(notifications.records.empty());
}

TEST_F(TextLinkTest, LinkUnderTheMouseShowsTheHand)
{
    Show(L"<a first>one</a>");
    ASSERT_EQ(text.LinkCount(), 1);
    const HCURSOR hHand = ::LoadCursorW(nullptr, IDC_HAND);
    Send(EventSetCursor, Centre(text.LinkRect(0)));
    EXPECT_EQ(::GetCursor(), hHand);
    Send(EventSetCursor, POINT{385, 185});
    EXPECT_NE(::GetCursor(), hHand);
    EXPECT_EQ(text.InputFlags(), static_cast<UINT>(InputSetCursor));
}

TEST_F(TextLinkTest, HoveredLinkFollowsTheMouse)
{
    Show(L"<a first>one</a> <a second>two</a>");
    ASSERT_EQ(text.LinkCount(), 2);
    Send(EventMouseMove, Centre(text.LinkRect(1)));
    EXPECT_EQ(text.HoverLink(), 1);
    Send(EventMouseMove, POINT{385, 185});
    EXPECT_EQ(text.HoverLink(), -1);
    Send(EventMouseMove, Centre(text.LinkRect(0)));
    Send(EventMouseLeave, POINT{0, 0});
    EXPECT_EQ(text.HoverLink(), -1);
}

TEST_F(TextLinkTest, PlainTextOrEmptyTextHasNoLinks)
{
    Show(L"<a first>one</a>");
    ASSERT_EQ(text.LinkCount(), 1);
    Show(L"");
    EXPECT_EQ(text.LinkCount(), 0);
    EXPECT_EQ(text.InputFlags(), 0u);
    text.ApplyAttribute(L"showhtml", L"false");
    Show(L"<a first>one</a>");
    EXPECT_EQ(text.LinkCount(), 0);
}

TEST_F(TextLinkTest, LinksBeyondEightAreNotClickable)
{
    std::wstring strMarkup;
    for (int i = 0; i < 12; ++i) {
        strMarkup += L"<a l" + std::to_wstring(i) + L">L" + std::to_wstring(i) + L"</a> ";
    }
    Show(strMarkup.c_str());
    ASSERT_EQ(text.LinkCount(), CTextUI::MaxLinks);
    EXPECT_EQ(text.LinkText(7), L"l7");
    EXPECT_TRUE(text.LinkText(8).IsEmpty());
    EXPECT_EQ(text.LinkRect(8), (RECT{0, 0, 0, 0}));
    EXPECT_TRUE(UntouchedOutside(kTextRect));
}

TEST_F(TextLinkTest, HostileMarkupStaysInsideTheControl)
{
    const wchar_t* const documents[] = {
        L"<a",
        L"<a x>open <b><i><u>never closed",
        L"{a}{/a}{/a}</a></b></i>",
        L"<x 99999999999>x</x>",
        L"<f -5>f</f><f 2147483647>g</f><c #GGGGGG>c</c>",
        L"<p><p><p><n><n>{i nothere.png}<i x.png 0 9999>",
        L"<s><s><s>"
        L"<y 2147483647>y",
        L"{a http://\x202e\xD800}\xDFFF</a>",
    };
    for (const wchar_t* pstrDocument : documents) {
        Show(pstrDocument);
        EXPECT_GE(text.LinkCount(), 0);
        EXPECT_LE(text.LinkCount(), CTextUI::MaxLinks);
        EXPECT_TRUE(UntouchedOutside(kTextRect)) << wxlmtest::Narrow(pstrDocument);
    }
}

TEST_F(TextLinkTest, HugeMarkupTextStaysInsideTheControl)
{
    std::wstring strMarkup;
    while (strMarkup.size() < 100000) {
        strMarkup += L"<b>bold</b> <a x>link</a> ";
    }
    Show(strMarkup.c_str());
    EXPECT_LE(text.LinkCount(), CTextUI::MaxLinks);
    EXPECT_TRUE(UntouchedOutside(kTextRect));
}

TEST(TextTest, NamesAndWithoutMouse)
{
    ManagedTree<CVerticalLayoutUI> tree(RECT{0, 0, 100, 100});
    auto* pText = tree.Add<CTextUI>(L"mouse=\"false\"");
    EXPECT_STREQ(pText->TypeName(), L"TextUI");
    EXPECT_EQ(pText->LookupInterface(L"Text"), pText);
    EXPECT_EQ(pText->LookupInterface(L"Label"), pText);
    EXPECT_EQ(pText->InputFlags(), 0u);
    ControlEvent event;
    event.type = EventContextMenu;
    pText->HandleEvent(event);
    EXPECT_TRUE(tree.notifications.records.empty());
}

TEST(TextTest, AutomaticWidthMeasuresUnwrapped)
{
    CWindowManagerUI manager;
    CTextUI text;
    text.AttachTo(&manager, nullptr, false);
    text.ApplyAttributeString(L"text=\"one two three\" height=\"30\" width=\"20\"");
    EXPECT_EQ(text.MeasureSize(SIZE{999, 999}), (SIZE{20, 30}));
    text.ApplyAttributeString(L"autocalcwidth=\"true\" textpadding=\"3,0,4,0\"");
    const SIZE sz = text.MeasureSize(SIZE{999, 999});
    EXPECT_GT(sz.cx, 40);
    EXPECT_EQ(sz.cy, 30);
    EXPECT_EQ(text.DeclaredWidth(), sz.cx);
}

// In effect mode the text control, like the label, draws nothing: neither the text it had
// before nor its links, which then are no longer clickable.
TEST_F(TextLinkTest, EffectModePaintsNeitherTheEarlierTextNorItsLinks)
{
    Show(L"<a first>one</a> <c #FF0000>earlier text</c>");
    ASSERT_EQ(text.LinkCount(), 1);
    ASSERT_FALSE(UntouchedOutside(RECT{0, 0, 0, 0}));
    ASSERT_TRUE(MakeCanvas(400, 200));
    text.ApplyAttribute(L"enabledeffect", L"true");
    text.SetText(L"<c #FF0000>effect text</c>");
    Paint(text);
    EXPECT_TRUE(UntouchedOutside(RECT{0, 0, 0, 0})) << "nothing drawn in effect mode";
    EXPECT_EQ(text.LinkCount(), 0);
    EXPECT_EQ(text.InputFlags(), 0u);
}
