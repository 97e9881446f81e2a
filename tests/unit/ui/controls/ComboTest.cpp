#include <gtest/gtest.h>

#include "ControlTestSupport.h"
#include "controls/ComboBox.h"
#include "controls/ComboWnd.h"
#include "controls/Label.h"
#include "controls/ListLabelElement.h"

#include <string>
#include <vector>

using namespace controltest;

namespace {

void Key(CComboUI& combo, WPARAM vk)
{
    ControlEvent event;
    event.type = EventKeyDown;
    event.wParam = vk;
    event.keyChar = static_cast<WCHAR>(vk);
    combo.HandleEvent(event);
}

} // namespace

TEST(ComboTest, TheFaceShowsTheSelectedItemAndKeysSelectWhileClosed)
{
    ManagedTree<CComboBoxUI> tree(RECT{0, 0, 120, 24});
    CComboBoxUI& combo = *tree.root;
    std::vector<CListLabelElementUI*> items;
    for (const wchar_t* pstrText : {L"red", L"green", L"blue", L"black"}) {
        items.push_back(tree.Add<CListLabelElementUI>((std::wstring(L"text=\"") + pstrText + L"\"").c_str()));
    }
    // A control that is not a list element is held but never selected.
    auto* pStranger = tree.Add<CLabelUI>(L"text=\"stranger\"");
    ASSERT_NE(pStranger, nullptr);
    items[2]->SetEnabled(false);

    EXPECT_EQ(combo.Text(), L"");
    EXPECT_EQ(items[1]->Owner(), static_cast<IListOwnerUI*>(&combo));
    EXPECT_EQ(items[3]->Index(), 3);
    Key(combo, VK_DOWN);
    EXPECT_EQ(combo.CurSel(), 0);
    EXPECT_EQ(combo.Text(), L"red");
    Key(combo, VK_DOWN);
    Key(combo, VK_DOWN);
    EXPECT_EQ(combo.CurSel(), 3) << "the disabled item is skipped";
    Key(combo, VK_DOWN);
    EXPECT_EQ(combo.CurSel(), 3) << "the stranger is not selectable";
    Key(combo, VK_HOME);
    EXPECT_EQ(combo.Text(), L"red");
    Key(combo, VK_END);
    EXPECT_EQ(combo.Text(), L"black");
    EXPECT_TRUE(items[3]->IsSelected());
    EXPECT_FALSE(items[0]->IsSelected());

    EXPECT_FALSE(combo.SelectItem(4)) << "not a list element";
    EXPECT_FALSE(combo.SelectItem(2)) << "disabled";
    EXPECT_FALSE(combo.SelectItem(99));
    EXPECT_FALSE(combo.SelectItem(-7));
    EXPECT_EQ(combo.CurSel(), 3);
    EXPECT_EQ(tree.notifications.Types(),
              (std::vector<std::wstring>{L"itemselect", L"itemselect", L"itemselect", L"itemselect", L"itemselect"}));
    EXPECT_EQ(tree.notifications.records.back().wParam, 3u);
    EXPECT_EQ(static_cast<int>(tree.notifications.records.back().lParam), 0);

    ASSERT_TRUE(combo.RemoveItem(items[0]));
    EXPECT_EQ(combo.CurSel(), 2) << "the selection follows its item";
    EXPECT_EQ(items[3]->Index(), 2);
    EXPECT_FALSE(combo.OpenDropBox()) << "no window to open it from";
    EXPECT_FALSE(combo.IsDropped());
    combo.RemoveAllItems();
    EXPECT_EQ(combo.Text(), L"");
    for (WPARAM vk : {VK_UP, VK_DOWN, VK_HOME, VK_END, VK_PRIOR, VK_NEXT}) {
        Key(combo, vk);
    }
    EXPECT_EQ(combo.CurSel(), -1);

    for (const wchar_t* pstrName : {L"Combo", L"IListOwner", L"ComboBox", L"IContainer"}) {
        EXPECT_NE(combo.LookupInterface(pstrName), nullptr) << pstrName;
    }
    EXPECT_STREQ(combo.TypeName(), L"ComboBoxUI");
}

TEST(ComboTest, AttributesAndWhereTheDropBoxOpens)
{
    CComboBoxUI combo;
    combo.ApplyAttributeString(L"dropboxsize=\"200,90\" dropbox=\"bkcolor=&quot;#FF00FF00&quot;\" textpadding=\"3,1,3,1\" "
                               L"normalimage=\"n.png\" hotimage=\"h.png\" pushedimage=\"p.png\" focusedimage=\"f.png\" "
                               L"disabledimage=\"d.png\" arrowimage=\"arrow.png\" itemtextcolor=\"#FF123456\"");
    EXPECT_EQ(combo.DropBoxSize(), (SIZE{200, 90}));
    EXPECT_EQ(combo.TextPadding(), (RECT{3, 1, 3, 1}));
    EXPECT_EQ(combo.ArrowImage(), L"arrow.png");
    EXPECT_EQ(combo.ItemLook()->textColor, 0xFF123456u);
    EXPECT_EQ(combo.Images().For(true, false, false, false), L"n.png");
    EXPECT_EQ(combo.Images().For(true, true, true, true), L"p.png");
    EXPECT_EQ(combo.Images().For(true, false, true, true), L"h.png");
    EXPECT_EQ(combo.Images().For(true, false, false, true), L"f.png");
    EXPECT_EQ(combo.Images().For(false, true, true, true), L"d.png");
    combo.ApplyAttribute(L"dropboxsize", L"-5,-5");
    EXPECT_EQ(combo.DropBoxSize(), (SIZE{0, 150})) << "nonsense sizes fall back to the owner's width and 150";

    const RECT rcWork = {0, 0, 800, 600};
    const struct {
        RECT owner;
        SIZE box;
        int content;
        RECT expected;
    } cases[] = {
        {{100, 100, 220, 124}, {0, 150}, 400, {100, 124, 220, 274}},
        {{100, 100, 220, 124}, {0, 150}, 60, {100, 124, 220, 184}},
        {{100, 100, 220, 124}, {300, 150}, 400, {100, 124, 400, 274}},
        {{100, 500, 220, 524}, {0, 150}, 400, {100, 350, 220, 500}},
        {{100, 20, 220, 44}, {0, 900}, 2000, {100, 44, 220, 944}},
        {{100, 100, 220, 124}, {0, 150}, 0, {100, 124, 220, 127}},
    };
    for (const auto& test : cases) {
        EXPECT_EQ(CComboWnd::DropRect(test.owner, test.box, test.content, rcWork), test.expected);
    }
}
