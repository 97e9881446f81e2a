#include <gtest/gtest.h>

#include "LabelFamilyTestSupport.h"
#include "controls/CheckBox.h"
#include "controls/Option.h"
#include "controls/VerticalLayout.h"

using namespace controltest;

namespace {

void Click(CControlUI& control)
{
    const RECT rc = control.Position();
    ControlEvent event;
    event.sender = &control;
    event.mousePoint = POINT{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
    event.type = EventButtonDown;
    control.HandleEvent(event);
    event.type = EventButtonUp;
    control.HandleEvent(event);
}

class OptionGroupTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (COptionUI*& pOption : options) {
            pOption = tree.Add<COptionUI>(L"group=\"g\" height=\"20\"");
        }
        tree.Layout(RECT{0, 0, 100, 100});
        tree.notifications.records.clear();
    }

    std::vector<bool> Selection() const
    {
        std::vector<bool> selection;
        for (const COptionUI* pOption : options) {
            selection.push_back(pOption->IsSelected());
        }
        return selection;
    }

    ManagedTree<CVerticalLayoutUI> tree;
    COptionUI* options[3] = {};
};

} // namespace

TEST_F(OptionGroupTest, SelectingOneDeselectsTheOthersWithOneNotification)
{
    options[0]->SetSelected(true);
    options[2]->SetSelected(true);
    tree.notifications.records.clear();
    Click(*options[1]);
    EXPECT_EQ(Selection(), (std::vector<bool>{false, true, false}));
    ASSERT_EQ(tree.notifications.Types(), (std::vector<std::wstring>{L"click", L"selectchanged"}));
    EXPECT_EQ(tree.notifications.records[1].sender, options[1]);
    EXPECT_EQ(options[0]->ButtonState() & ButtonStateSelected, 0u);
    EXPECT_NE(options[1]->ButtonState() & ButtonStateSelected, 0u);
}

TEST_F(OptionGroupTest, ReselectingSendsSelectChangedAgainAndStaysSelected)
{
    Click(*options[1]);
    Click(*options[1]);
    EXPECT_EQ(Selection(), (std::vector<bool>{false, true, false}));
    EXPECT_EQ(tree.notifications.Types(),
              (std::vector<std::wstring>{L"click", L"selectchanged", L"click", L"selectchanged"}));
}

TEST_F(OptionGroupTest, DeselectingAGroupedOptionSendsNothing)
{
    options[0]->SetSelected(true);
    tree.notifications.records.clear();
    options[0]->SetSelected(false);
    EXPECT_TRUE(tree.notifications.records.empty());
    EXPECT_EQ(Selection(), (std::vector<bool>{false, false, false}));
}

TEST_F(OptionGroupTest, RegroupingReestablishesExclusivity)
{
    auto* pOther = tree.Add<COptionUI>(L"group=\"h\" selected=\"true\"");
    pOther->SetSelected(true);
    options[0]->SetSelected(true);
    pOther->SetGroup(L"g");
    EXPECT_TRUE(pOther->IsSelected());
    EXPECT_FALSE(options[0]->IsSelected());
    ASSERT_NE(tree.manager.OptionGroup(L"g"), nullptr);
    EXPECT_EQ(tree.manager.OptionGroup(L"g")->GetSize(), 4);
    EXPECT_EQ(tree.manager.OptionGroup(L"h"), nullptr);
    pOther->SetGroup(nullptr);
    EXPECT_EQ(tree.manager.OptionGroup(L"g")->GetSize(), 3);
}

TEST_F(OptionGroupTest, DestroyedOptionLeavesItsGroup)
{
    tree.root->SetDelayedDestroy(false);
    ASSERT_TRUE(tree.root->RemoveItem(options[2]));
    options[2] = nullptr;
    ASSERT_NE(tree.manager.OptionGroup(L"g"), nullptr);
    EXPECT_EQ(tree.manager.OptionGroup(L"g")->GetSize(), 2);
    options[2] = options[1];
    Click(*options[0]);
    EXPECT_TRUE(options[0]->IsSelected());
}

TEST_F(OptionGroupTest, OptionMovedToAnotherManagerLeavesTheFirstOnesGroup)
{
    ManagedTree<CVerticalLayoutUI> other;
    auto pOption = std::make_unique<COptionUI>();
    pOption->SetGroup(L"m");
    pOption->AttachTo(&tree.manager, tree.root, true);
    ASSERT_NE(tree.manager.OptionGroup(L"m"), nullptr);
    pOption->AttachTo(&other.manager, other.root, true);
    EXPECT_EQ(tree.manager.OptionGroup(L"m"), nullptr);
    ASSERT_NE(other.manager.OptionGroup(L"m"), nullptr);
    pOption.reset();
    EXPECT_EQ(other.manager.OptionGroup(L"m"), nullptr);
}

TEST(OptionTest, WithoutGroupTogglesAndNotifiesEachTime)
{
    ManagedTree<CVerticalLayoutUI> tree(RECT{0, 0, 100, 100});
    auto* pOption = tree.Add<COptionUI>(L"height=\"20\"");
    auto* pCheck = tree.Add<CCheckBoxUI>(L"height=\"20\"");
    tree.Layout(RECT{0, 0, 100, 100});
    for (COptionUI* pControl : {pOption, static_cast<COptionUI*>(pCheck)}) {
        tree.notifications.records.clear();
        Click(*pControl);
        EXPECT_TRUE(pControl->IsSelected());
        Click(*pControl);
        EXPECT_FALSE(pControl->IsSelected());
        EXPECT_EQ(tree.notifications.Types(),
                  (std::vector<std::wstring>{L"click", L"selectchanged", L"click", L"selectchanged"}));
    }
}

TEST(OptionTest, DoubleClickSendsDbclickWhenEnabled)
{
    ManagedTree<CVerticalLayoutUI> tree(RECT{0, 0, 100, 100});
    auto* pOption = tree.Add<COptionUI>(L"height=\"20\"");
    tree.Layout(RECT{0, 0, 100, 100});
    ControlEvent event;
    event.type = EventDoubleClick;
    event.mousePoint = POINT{50, 10};
    pOption->HandleEvent(event);
    EXPECT_EQ(tree.notifications.Types(), std::vector<std::wstring>{L"dbclick"});
    EXPECT_NE(pOption->ButtonState() & ButtonStatePushed, 0u);
    pOption->SetEnabled(false);
    pOption->HandleEvent(event);
    EXPECT_EQ(tree.notifications.records.size(), 1u);
}

TEST(OptionTest, DisablingKeepsOnlyTheSelectedBit)
{
    ManagedTree<CVerticalLayoutUI> tree(RECT{0, 0, 100, 100});
    auto* pOption = tree.Add<COptionUI>(L"height=\"20\" selected=\"true\"");
    tree.Layout(RECT{0, 0, 100, 100});
    ControlEvent event;
    event.type = EventMouseEnter;
    pOption->HandleEvent(event);
    ASSERT_EQ(pOption->ButtonState(), static_cast<UINT>(ButtonStateSelected | ButtonStateHot));
    pOption->SetEnabled(false);
    EXPECT_EQ(pOption->ButtonState(), static_cast<UINT>(ButtonStateSelected));
    EXPECT_FALSE(pOption->Invoke());
    EXPECT_TRUE(pOption->IsSelected());
}

TEST(OptionTest, NamesAndMeasure)
{
    COptionUI option;
    CCheckBoxUI check;
    EXPECT_STREQ(option.TypeName(), L"OptionUI");
    EXPECT_STREQ(check.TypeName(), L"CheckBoxUI");
    for (COptionUI* pOption : {&option, static_cast<COptionUI*>(&check)}) {
        EXPECT_EQ(pOption->LookupInterface(L"Option"), pOption);
        EXPECT_EQ(pOption->LookupInterface(L"Button"), pOption);
        EXPECT_EQ(pOption->LookupInterface(L"Label"), pOption);
    }
    option.SetDeclaredWidth(40);
    EXPECT_EQ(option.MeasureSize(SIZE{100, 100}), (SIZE{40, 8}));
    option.SetDeclaredHeight(25);
    EXPECT_EQ(option.MeasureSize(SIZE{100, 100}), (SIZE{40, 25}));
}

namespace {

constexpr DWORD kNormal = 0x808080;
constexpr DWORD kSelected = 0x00C000;
constexpr DWORD kSelectedHot = 0xC00000;
constexpr DWORD kSelectedFore = 0x0000C0;
constexpr DWORD kOptionFore = 0xC0C000;

class OptionPaintTest : public SkinCanvasTest {
protected:
    void SetUp() override
    {
        SkinCanvasTest::SetUp();
        WriteSolidImage(L"normal.bmp", kNormal);
        WriteSolidImage(L"selected.bmp", kSelected);
        WriteSolidImage(L"selectedhot.bmp", kSelectedHot);
        WriteSolidImage(L"selectedfore.bmp", kSelectedFore);
        WriteSolidImage(L"optionfore.bmp", kOptionFore);
        ASSERT_TRUE(MakeCanvas(60, 50));
        option.AttachTo(&manager, nullptr, false);
        option.SetPosition(RECT{10, 10, 50, 40});
        option.ApplyAttributeString(L"normalimage=\"file='normal.bmp'\" selectedimage=\"file='selected.bmp'\" "
                                    L"selectedhotimage=\"file='selectedhot.bmp'\" "
                                    L"foreimage=\"file='optionfore.bmp' dest='0,0,4,4'\" "
                                    L"selectedforeimage=\"file='selectedfore.bmp' dest='0,0,4,4'\"");
    }

    COptionUI option;
};

} // namespace

TEST_F(OptionPaintTest, SelectedLooksAndForegrounds)
{
    Paint(option);
    EXPECT_EQ(Rgb(30, 25), kNormal);
    EXPECT_EQ(Rgb(11, 11), kOptionFore);
    option.SetSelected(true);
    Paint(option);
    EXPECT_EQ(Rgb(30, 25), kSelected);
    EXPECT_EQ(Rgb(11, 11), kSelectedFore);
    ControlEvent event;
    event.type = EventMouseEnter;
    option.HandleEvent(event);
    Paint(option);
    EXPECT_EQ(Rgb(30, 25), kSelectedHot);
    EXPECT_TRUE(UntouchedOutside(RECT{10, 10, 50, 40}));
}

TEST_F(OptionPaintTest, SelectedColourWithoutSelectedImageStops)
{
    option.ApplyAttribute(L"selectedimage", L"");
    option.ApplyAttribute(L"selectedbkcolor", L"#FF204060");
    option.SetSelected(true);
    Paint(option);
    EXPECT_EQ(Rgb(30, 25), 0x204060u);
    EXPECT_EQ(Rgb(11, 11), 0x204060u);
}
