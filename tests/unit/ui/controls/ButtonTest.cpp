#include <gtest/gtest.h>

#include "LabelFamilyTestSupport.h"
#include "controls/Button.h"
#include "controls/HorizontalLayout.h"
#include "controls/TabLayout.h"

#include <algorithm>

using namespace controltest;

namespace {

constexpr DWORD kNormal = 0x808080;
constexpr DWORD kHot = 0xFF0000;
constexpr DWORD kPushed = 0x00FF00;
constexpr DWORD kFocused = 0x0000FF;
constexpr DWORD kDisabled = 0xFFFF00;
constexpr DWORD kFore = 0x00FFFF;
constexpr DWORD kHotFore = 0xFF00FF;
constexpr DWORD kPushedFore = 0x400040;
constexpr DWORD kHotBk = 0x123456;

constexpr RECT kButtonRect = {10, 10, 50, 40};
constexpr POINT kInside = {30, 25};
constexpr POINT kOutside = {55, 45};

enum Image : unsigned {
    Normal = 1,
    Hot = 2,
    Pushed = 4,
    Focused = 8,
    Disabled = 16,
    Fore = 32,
    HotFore = 64,
    PushedFore = 128,
    AllImages = 255,
};

enum State : unsigned { StateHot = 1, StatePushed = 2, StateFocused = 4, StateDisabled = 8 };

ControlEvent MouseEvent(int type, POINT pt)
{
    ControlEvent event;
    event.type = type;
    event.mousePoint = pt;
    return event;
}

void Send(CControlUI& control, ControlEvent event)
{
    event.sender = &control;
    control.HandleEvent(event);
}

class ButtonTest : public SkinCanvasTest {
protected:
    void SetUp() override
    {
        SkinCanvasTest::SetUp();
        const struct {
            const wchar_t* name;
            DWORD rgb;
        } images[] = {{L"normal.bmp", kNormal},     {L"hot.bmp", kHot},
                      {L"pushed.bmp", kPushed},     {L"focused.bmp", kFocused},
                      {L"disabled.bmp", kDisabled}, {L"fore.bmp", kFore},
                      {L"hotfore.bmp", kHotFore},   {L"pushedfore.bmp", kPushedFore}};
        for (const auto& image : images) {
            WriteSolidImage(image.name, image.rgb);
        }
        ASSERT_TRUE(MakeCanvas(60, 50));
        button.AttachTo(&manager, nullptr, false);
        button.SetPosition(kButtonRect);
    }

    void GiveImages(unsigned uImages)
    {
        const struct {
            Image bit;
            const wchar_t* attribute;
            const wchar_t* value;
        } table[] = {
            {Normal, L"normalimage", L"file='normal.bmp'"},
            {Hot, L"hotimage", L"file='hot.bmp'"},
            {Pushed, L"pushedimage", L"file='pushed.bmp'"},
            {Focused, L"focusedimage", L"file='focused.bmp'"},
            {Disabled, L"disabledimage", L"file='disabled.bmp'"},
            {Fore, L"foreimage", L"file='fore.bmp' dest='0,0,4,4'"},
            {HotFore, L"hotforeimage", L"file='hotfore.bmp' dest='0,0,4,4'"},
            {PushedFore, L"pushedforeimage", L"file='pushedfore.bmp' dest='0,0,4,4'"},
        };
        for (const auto& entry : table) {
            if ((uImages & entry.bit) != 0) {
                button.ApplyAttribute(entry.attribute, entry.value);
            }
        }
    }

    void Enter(unsigned uState)
    {
        if ((uState & StateFocused) != 0) {
            Send(button, MouseEvent(EventSetFocus, kInside));
        }
        if ((uState & StateHot) != 0) {
            Send(button, MouseEvent(EventMouseEnter, kInside));
        }
        if ((uState & StatePushed) != 0) {
            Send(button, MouseEvent(EventButtonDown, kInside));
        }
        if ((uState & StateDisabled) != 0) {
            button.SetEnabled(false);
        }
    }

    CButtonUI button;
};

struct ImageCase {
    const char* name;
    unsigned state;
    unsigned images;
    bool hotBkColor;
    DWORD body;   // the middle of the button
    DWORD corner; // where the foreground images go
};

const ImageCase kImageCases[] = {
    {"NormalWithForeground", 0, AllImages, false, kNormal, kFore},
    {"NormalWithoutImagesDrawsNothing", 0, 0, false, kCanvasFill, kCanvasFill},
    {"HotWithItsForeground", StateHot, AllImages, false, kHot, kHotFore},
    {"HotFallsBackToTheForeground", StateHot, AllImages & ~HotFore, false, kHot, kFore},
    {"HotColourWithoutHotImageStops", StateHot, AllImages & ~Hot, true, kHotBk, kHotBk},
    {"HotWithoutImageOrColourIsNormal", StateHot | StateFocused, AllImages & ~Hot, false, kNormal, kFore},
    {"PushedBeatsHotAndFocused", StatePushed | StateHot | StateFocused, AllImages, false, kPushed, kPushedFore},
    {"PushedFallsBackToTheForeground", StatePushed, AllImages & ~PushedFore, false, kPushed, kFore},
    {"PushedWithoutImageIsNormal", StatePushed | StateHot | StateFocused, AllImages & ~Pushed, true, kNormal, kFore},
    {"FocusedWithForeground", StateFocused, AllImages, false, kFocused, kFore},
    {"FocusedWithoutImageIsNormal", StateFocused, AllImages & ~Focused, false, kNormal, kFore},
    {"DisabledBeatsEverything", StateHot | StatePushed | StateFocused | StateDisabled, AllImages, true, kDisabled,
     kFore},
    {"DisabledWithoutImageIsNormal", StateDisabled, AllImages & ~Disabled, false, kNormal, kFore},
    {"DisabledWithNothingButForeground", StateDisabled, Fore, false, kCanvasFill, kFore},
};

void PrintTo(const ImageCase& c, std::ostream* os)
{
    *os << c.name;
}

class ButtonImageOrderTest : public ButtonTest, public ::testing::WithParamInterface<ImageCase> {};

} // namespace

TEST_P(ButtonImageOrderTest, DrawsTheImageOfTheStrongestState)
{
    const ImageCase& c = GetParam();
    GiveImages(c.images);
    if (c.hotBkColor) {
        button.ApplyAttribute(L"hotbkcolor", L"#FF123456");
    }
    Enter(c.state);
    Paint(button);
    EXPECT_EQ(Rgb(kInside.x, kInside.y), c.body);
    EXPECT_EQ(Rgb(11, 11), c.corner);
    EXPECT_TRUE(UntouchedOutside(kButtonRect));
}

INSTANTIATE_TEST_SUITE_P(States, ButtonImageOrderTest, ::testing::ValuesIn(kImageCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ButtonTest, MissingImageFileDrawsNothingAndIsKept)
{
    button.ApplyAttribute(L"normalimage", L"file='absent.png'");
    Paint(button);
    EXPECT_EQ(Rgb(kInside.x, kInside.y), kCanvasFill);
    EXPECT_EQ(button.NormalImage(), L"file='absent.png'");
}

TEST_F(ButtonTest, ImageWithoutManagerIsForgotten)
{
    CButtonUI loose;
    loose.SetPosition(kButtonRect);
    loose.ApplyAttribute(L"normalimage", L"file='normal.bmp'");
    Paint(loose);
    EXPECT_TRUE(loose.NormalImage().IsEmpty());
}

TEST_F(ButtonTest, ClickOnlyWhenReleasedInside)
{
    Send(button, MouseEvent(EventButtonDown, kInside));
    EXPECT_EQ(button.ButtonState() & (ButtonStatePushed | ButtonStateCaptured),
              ButtonStatePushed | ButtonStateCaptured);
    Send(button, MouseEvent(EventMouseMove, kOutside));
    EXPECT_EQ(button.ButtonState() & ButtonStatePushed, 0u);
    Send(button, MouseEvent(EventButtonUp, kOutside));
    EXPECT_TRUE(notifications.records.empty());
    EXPECT_EQ(button.ButtonState() & ButtonStateCaptured, 0u);

    Send(button, MouseEvent(EventButtonDown, kInside));
    Send(button, MouseEvent(EventMouseMove, kOutside));
    Send(button, MouseEvent(EventMouseMove, kInside));
    EXPECT_NE(button.ButtonState() & ButtonStatePushed, 0u);
    Send(button, MouseEvent(EventButtonUp, kInside));
    ASSERT_EQ(notifications.Types(), std::vector<std::wstring>{L"click"});
    EXPECT_EQ(notifications.records[0].sender, &button);
    EXPECT_EQ(button.ButtonState() & (ButtonStatePushed | ButtonStateCaptured), 0u);
}

TEST_F(ButtonTest, ReleaseWithoutPressIsNoClick)
{
    Send(button, MouseEvent(EventButtonUp, kInside));
    Send(button, MouseEvent(EventButtonDown, kOutside));
    Send(button, MouseEvent(EventButtonUp, kInside));
    EXPECT_TRUE(notifications.records.empty());
}

TEST_F(ButtonTest, SpaceAndReturnInvokeAKeyboardEnabledButton)
{
    for (const WCHAR key : {WCHAR(VK_SPACE), WCHAR(VK_RETURN), WCHAR('A')}) {
        ControlEvent event = MouseEvent(EventKeyDown, kInside);
        event.keyChar = key;
        Send(button, event);
    }
    EXPECT_EQ(notifications.Types(), (std::vector<std::wstring>{L"click", L"click"}));
    button.SetKeyboardEnabled(false);
    ControlEvent event = MouseEvent(EventKeyDown, kInside);
    event.keyChar = VK_SPACE;
    Send(button, event);
    EXPECT_EQ(notifications.records.size(), 2u);
}

TEST_F(ButtonTest, DisabledButtonLosesItsStateBitsAndDoesNotClick)
{
    Send(button, MouseEvent(EventMouseEnter, kInside));
    Send(button, MouseEvent(EventButtonDown, kInside));
    ASSERT_NE(button.ButtonState(), 0u);
    button.SetEnabled(false);
    EXPECT_EQ(button.ButtonState(), 0u);
    Send(button, MouseEvent(EventButtonUp, kInside));
    Send(button, MouseEvent(EventButtonDown, kInside));
    EXPECT_EQ(button.ButtonState(), 0u);
    EXPECT_FALSE(button.Invoke());
    EXPECT_TRUE(notifications.records.empty());
}

TEST_F(ButtonTest, InputFlagsFollowKeyboardAndEnabled)
{
    EXPECT_EQ(button.InputFlags(), static_cast<UINT>(InputTabStop | InputSetCursor));
    button.SetKeyboardEnabled(false);
    EXPECT_EQ(button.InputFlags(), static_cast<UINT>(InputSetCursor));
    button.SetEnabled(false);
    EXPECT_EQ(button.InputFlags(), 0u);
}

TEST_F(ButtonTest, SetCursorShowsTheHand)
{
    ::SetCursor(::LoadCursorW(nullptr, IDC_ARROW));
    Send(button, MouseEvent(EventSetCursor, kInside));
    EXPECT_EQ(::GetCursor(), ::LoadCursorW(nullptr, IDC_HAND));
}

TEST_F(ButtonTest, ContextMenuOnlyWhenEnabled)
{
    Send(button, MouseEvent(EventContextMenu, kInside));
    EXPECT_TRUE(notifications.records.empty());
    button.ApplyAttribute(L"menu", L"true");
    ControlEvent event = MouseEvent(EventContextMenu, kInside);
    event.wParam = 7;
    event.lParam = 9;
    Send(button, event);
    ASSERT_EQ(notifications.Types(), std::vector<std::wstring>{L"menu"});
    EXPECT_EQ(notifications.records[0].wParam, 7u);
    EXPECT_EQ(notifications.records[0].lParam, 9);
}

TEST_F(ButtonTest, ButtonWithoutMouseLeavesEventsToItsParent)
{
    ManagedTree<CHorizontalLayoutUI> tree(RECT{0, 0, 100, 100});
    auto* pButton = tree.Add<CButtonUI>(L"mouse=\"false\"");
    pButton->SetPosition(kButtonRect);
    Send(*pButton, MouseEvent(EventButtonDown, kInside));
    Send(*pButton, MouseEvent(EventButtonUp, kInside));
    EXPECT_EQ(pButton->ButtonState(), 0u);
    EXPECT_TRUE(tree.notifications.records.empty());
}

TEST(ButtonAttributeTest, DefaultsAndAttributes)
{
    CButtonUI button;
    EXPECT_STREQ(button.TypeName(), L"ButtonUI");
    EXPECT_EQ(button.LookupInterface(L"Button"), &button);
    EXPECT_EQ(button.LookupInterface(L"Label"), &button);
    EXPECT_EQ(button.LookupInterface(L"Option"), nullptr);
    EXPECT_EQ(button.TextStyle(), static_cast<UINT>(DT_SINGLELINE | DT_VCENTER | DT_CENTER));
    button.ApplyAttribute(L"multiline", L"true");
    EXPECT_EQ(button.TextStyle(), static_cast<UINT>(DT_WORDBREAK | DT_VCENTER | DT_CENTER));
    button.ApplyAttribute(L"multiline", L"false");
    EXPECT_EQ(button.TextStyle(), static_cast<UINT>(DT_SINGLELINE | DT_VCENTER | DT_CENTER));
    button.ApplyAttribute(L"bindtabindex", L"2");
    button.ApplyAttribute(L"bindtabindex", L"-1");
    EXPECT_EQ(button.BindTabIndex(), 2);
    button.ApplyAttribute(L"hottextcolor", L"#FF00AA00");
    button.ApplyAttribute(L"pushedtextcolor", L"FF0000AA");
    EXPECT_EQ(button.HotTextColor(), 0xFF00AA00u);
    EXPECT_EQ(button.PushedTextColor(), 0xFF0000AAu);
    button.ApplyAttribute(L"foreimage", L"f.png");
    EXPECT_EQ(button.ForegroundImage(), L"f.png");
}

TEST(ButtonMeasureTest, HeightWithoutDeclarationIsFontPlusEight)
{
    CButtonUI button;
    button.SetDeclaredWidth(70);
    EXPECT_EQ(button.MeasureSize(SIZE{500, 500}), (SIZE{70, 8}));
    button.SetDeclaredHeight(30);
    EXPECT_EQ(button.MeasureSize(SIZE{500, 500}), (SIZE{70, 30}));
}

TEST(ButtonTabBindingTest, ClickSelectsThePageOfTheNamedTabLayout)
{
    ManagedTree<CHorizontalLayoutUI> tree(RECT{0, 0, 200, 100});
    auto* pTab = tree.Add<CTabLayoutUI>(L"name=\"pages\"");
    tree.Add<CControlUI>(pTab);
    tree.Add<CControlUI>(pTab);
    auto* pButton = tree.Add<CButtonUI>(L"bindtablayoutname=\"pages\" bindtabindex=\"1\"");
    auto* pWrongKind = tree.Add<CButtonUI>(L"name=\"notatab\"");
    auto* pMisbound = tree.Add<CButtonUI>(L"bindtablayoutname=\"notatab\" bindtabindex=\"1\"");
    ASSERT_EQ(pTab->CurrentIndex(), 0);
    EXPECT_TRUE(pButton->Invoke());
    EXPECT_EQ(pTab->CurrentIndex(), 1);
    EXPECT_TRUE(pMisbound->Invoke());
    EXPECT_TRUE(pWrongKind->IsVisible());
    const auto types = tree.notifications.Types();
    ASSERT_FALSE(types.empty());
    EXPECT_EQ(types.front(), L"click");
    EXPECT_EQ(std::count(types.begin(), types.end(), L"click"), 2);
    EXPECT_EQ(std::count(types.begin(), types.end(), L"tabselect"), 1);
}

namespace {

constexpr DWORD kText = 0x101080;
constexpr DWORD kDisabledText = 0x909090;
constexpr DWORD kHotText = 0x10A010;
constexpr DWORD kPushedText = 0xA01010;
constexpr DWORD kFocusedText = 0xA0A010;

struct TextColourCase {
    const char* name;
    unsigned state;
    bool withStateColours;
    DWORD colour;
};

void PrintTo(const TextColourCase& c, std::ostream* os)
{
    *os << c.name;
}

const TextColourCase kTextColourCases[] = {
    {"Normal", 0, true, kText},
    {"Hot", StateHot, true, kHotText},
    {"PushedBeatsHot", StatePushed | StateHot | StateFocused, true, kPushedText},
    {"HotBeatsFocused", StateHot | StateFocused, true, kHotText},
    {"Focused", StateFocused, true, kFocusedText},
    {"HotWithoutItsColour", StateHot | StatePushed, false, kText},
    {"Disabled", StateDisabled, true, kDisabledText},
};

class ButtonTextColourTest : public ButtonTest, public ::testing::WithParamInterface<TextColourCase> {};

} // namespace

TEST_P(ButtonTextColourTest, TextTakesTheColourOfTheStrongestStateThatHasOne)
{
    const TextColourCase& c = GetParam();
    button.ApplyAttributeString(L"text=\"MMMM\" textcolor=\"#FF101080\" disabledtextcolor=\"#FF909090\"");
    if (c.withStateColours) {
        button.ApplyAttributeString(L"hottextcolor=\"#FF10A010\" pushedtextcolor=\"#FFA01010\" "
                                    L"focusedtextcolor=\"#FFA0A010\"");
    }
    Enter(c.state);
    Paint(button);
    ::GdiFlush();
    int nMatching = 0;
    int nOtherColours = 0;
    for (int y = kButtonRect.top; y < kButtonRect.bottom; ++y) {
        for (int x = kButtonRect.left; x < kButtonRect.right; ++x) {
            const DWORD rgb = canvas.At(x, y) & 0xFFFFFF;
            for (const DWORD colour : {kText, kDisabledText, kHotText, kPushedText, kFocusedText}) {
                nMatching += rgb == colour && colour == c.colour ? 1 : 0;
                nOtherColours += rgb == colour && colour != c.colour ? 1 : 0;
            }
        }
    }
    EXPECT_GT(nMatching, 3);
    EXPECT_EQ(nOtherColours, 0);
    EXPECT_TRUE(UntouchedOutside(kButtonRect));
}

INSTANTIATE_TEST_SUITE_P(States, ButtonTextColourTest, ::testing::ValuesIn(kTextColourCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ButtonTest, MessageBoxOkButtonLooksTheSameInEveryStateWithItsTextOnTop)
{
    WriteSolidImage(L"confirm.bmp", 0xF0F0F0, 40, 30);
    button.ApplyAttributeString(L"normalimage=\"file='confirm.bmp'\" hotimage=\"file='confirm.bmp'\" "
                                L"pushedimage=\"file='confirm.bmp'\" text=\"\x786E\x5B9A\" textcolor=\"#008AFF\"");
    for (const unsigned uState : {0u, unsigned(StateHot), unsigned(StateHot | StatePushed)}) {
        Enter(uState);
        Paint(button);
        EXPECT_EQ(Rgb(11, 11), 0xF0F0F0u) << uState;
        ::GdiFlush();
        int nText = 0;
        for (int y = kButtonRect.top; y < kButtonRect.bottom; ++y) {
            for (int x = kButtonRect.left; x < kButtonRect.right; ++x) {
                nText += (canvas.At(x, y) & 0xFFFFFF) == 0x008AFF ? 1 : 0;
            }
        }
        EXPECT_GT(nText, 3) << uState;
    }
}
