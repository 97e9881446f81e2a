#include <gtest/gtest.h>

#include "ControlTestSupport.h"
#include "controls/List.h"
#include "controls/ListBody.h"
#include "controls/ListContainerElement.h"
#include "controls/ListHeader.h"
#include "controls/ListHeaderItem.h"
#include "controls/ListSelection.h"
#include "controls/ListTextElement.h"
#include "controls/ScrollBar.h"
#include "core/DibSection.h"

#include <iterator>
#include <random>
#include <set>
#include <string>
#include <vector>

using namespace controltest;

namespace {

struct Click {
    int index;
    bool ctrl;
    bool shift;
};

struct SelectionCase {
    const char* name;
    bool multi;
    std::vector<Click> clicks;
    std::set<int> expected;
    int anchor;
};

ControlEvent KeyEvent(WPARAM vk, WORD keyState = 0)
{
    ControlEvent event;
    event.type = EventKeyDown;
    event.wParam = vk;
    event.keyChar = static_cast<WCHAR>(vk);
    event.keyState = keyState;
    return event;
}

// A list of rows of 20 pixels in a 300 × 124 list whose header is 24 pixels high.
class ListTest : public ::testing::Test {
protected:
    void AddRows(int nCount, const wchar_t* pstrAttributes = L"height=\"20\"")
    {
        for (int i = 0; i < nCount; ++i) {
            auto* pRow = tree.Add<CListTextElementUI>(pstrAttributes);
            pRow->SetText((L"row " + std::to_wstring(i)).c_str());
            rows.push_back(pRow);
        }
    }
    void Key(WPARAM vk, WORD keyState = 0)
    {
        ControlEvent event = KeyEvent(vk, keyState);
        list().HandleItemEvent(event);
    }
    CListUI& list() { return *tree.root; }
    std::vector<std::wstring> SelectTypes() const
    {
        std::vector<std::wstring> types;
        for (const auto& record : tree.notifications.records) {
            if (record.type != L"itemselect") {
                continue;
            }
            types.push_back(record.type + L":" + std::to_wstring(static_cast<int>(record.wParam)) + L"/" +
                            std::to_wstring(static_cast<int>(record.lParam)));
        }
        return types;
    }

    ManagedTree<CListUI> tree;
    std::vector<CListTextElementUI*> rows;
};

} // namespace

TEST(ListSelectionTest, ClickRulesOfAListBox)
{
    const SelectionCase cases[] = {
        {"plain click selects one", true, {{2, false, false}, {4, false, false}}, {4}, 4},
        {"ctrl adds and toggles", true, {{1, false, false}, {3, true, false}, {5, true, false}, {3, true, false}}, {1, 5}, 3},
        {"shift selects from the anchor", true, {{2, false, false}, {5, false, true}}, {2, 3, 4, 5}, 2},
        {"shift upwards", true, {{5, false, false}, {2, false, true}}, {2, 3, 4, 5}, 5},
        {"a second shift reshapes the range", true, {{5, false, false}, {8, false, true}, {3, false, true}}, {3, 4, 5}, 5},
        {"ctrl+shift adds the range", true, {{0, false, false}, {4, true, false}, {6, true, true}}, {0, 4, 5, 6}, 4},
        {"shift without anchor selects one", true, {{3, false, true}}, {3}, 3},
        {"single selection ignores ctrl", false, {{1, false, false}, {3, true, false}}, {3}, 3},
        {"single selection ignores shift", false, {{1, false, false}, {3, false, true}}, {3}, 3},
        {"negative index changes nothing", true, {{1, false, false}, {-4, true, false}}, {1}, 1},
    };
    for (const SelectionCase& test : cases) {
        CListSelection selection;
        for (const Click& click : test.clicks) {
            selection.Click(click.index, click.ctrl, click.shift, test.multi);
        }
        EXPECT_EQ(selection.Items(), test.expected) << test.name;
        EXPECT_EQ(selection.Anchor(), test.anchor) << test.name;
    }

    CListSelection selection;
    selection.SelectRange(2, 6, false);
    selection.RowRemoved(4);
    EXPECT_EQ(selection.Items(), (std::set<int>{2, 3, 4, 5}));
    selection.RowInserted(0);
    EXPECT_EQ(selection.Items(), (std::set<int>{3, 4, 5, 6}));
    EXPECT_EQ(selection.Anchor(), 3);
    selection.RowRemoved(3);
    EXPECT_EQ(selection.Anchor(), -1) << "the anchor row is gone";
}

TEST_F(ListTest, HeaderItemsGoToTheHeaderRowsToTheBodyAndColumnsFollowTheHeader)
{
    auto* pFirst = tree.Add<CListHeaderItemUI>(L"width=\"100\" text=\"Name\"");
    auto* pSecond = tree.Add<CListHeaderItemUI>(L"text=\"Size\"");
    AddRows(2);
    auto* pPlain = tree.Add<CListTextElementUI>(L"text=\"a|b\"");
    list().SetPosition(RECT{0, 0, 300, 124});

    EXPECT_EQ(list().ItemCount(), 3) << "the header items are not rows";
    EXPECT_EQ(list().Header()->ItemCount(), 2);
    EXPECT_EQ(list().ItemAt(0), rows[0]);
    EXPECT_EQ(list().IndexOf(pPlain), 2);
    EXPECT_EQ(rows[1]->Index(), 1);
    EXPECT_EQ(rows[1]->Owner(), static_cast<IListOwnerUI*>(&list()));
    EXPECT_EQ(list().Header()->Position(), (RECT{0, 0, 300, 24}));
    EXPECT_EQ(list().Body()->Position(), (RECT{0, 24, 300, 124}));
    EXPECT_EQ(rows[0]->Position(), (RECT{0, 24, 300, 44}));
    EXPECT_EQ(rows[1]->Position(), (RECT{0, 44, 300, 64}));
    EXPECT_GT(pPlain->Height(), 8) << "a row without height gets one line of text, it does not stretch";
    EXPECT_LT(pPlain->Height(), 60);

    const ListItemLook& look = *list().ItemLook();
    ASSERT_EQ(look.columnCount, 2);
    EXPECT_EQ(look.columns[0].left, 0);
    EXPECT_EQ(look.columns[0].right, 100);
    EXPECT_EQ(look.columns[1].left, 100);
    EXPECT_EQ(look.columns[1].right, 300);
    EXPECT_EQ(pFirst->Position().right, 100);
    EXPECT_EQ(pSecond->Position().right, 300);
    EXPECT_EQ(pPlain->ColumnText(0), L"a");
    EXPECT_EQ(pPlain->ColumnText(1), L"b");
    EXPECT_EQ(pPlain->ColumnText(2), L"");
    pPlain->SetColumnText(3, L"d");
    EXPECT_EQ(pPlain->Text(), L"a|b||d");

    // Without items the header takes no room; "header" hidden hides a header that has some.
    ManagedTree<CListUI> bare;
    bare.Add<CListTextElementUI>(L"height=\"20\"");
    bare.root->SetPosition(RECT{0, 0, 100, 100});
    EXPECT_EQ(bare.root->Body()->Position().top, 0);
    list().ApplyAttribute(L"header", L"hidden");
    list().SetPosition(RECT{0, 0, 300, 124});
    EXPECT_EQ(list().Body()->Position().top, 0);
    EXPECT_EQ(list().ItemLook()->columnCount, 0);
}

TEST_F(ListTest, KeysMoveTheSelectionAndKeepItInView)
{
    list().ApplyAttribute(L"vscrollbar", L"true");
    AddRows(10);
    rows[3]->SetEnabled(false);
    list().SetPosition(RECT{0, 0, 300, 100});
    ASSERT_NE(list().VerticalScrollBar(), nullptr);
    EXPECT_EQ(list().ScrollRange().cy, 100) << "ten rows of 20 in a body of 100";

    Key(VK_DOWN);
    EXPECT_EQ(list().CurSel(), 0) << "Down without a selection starts at the first row";
    Key(VK_DOWN);
    Key(VK_DOWN);
    EXPECT_EQ(list().CurSel(), 2);
    Key(VK_DOWN);
    EXPECT_EQ(list().CurSel(), 4) << "the disabled row is skipped";
    EXPECT_EQ(list().PageRowCount(), 5);
    Key(VK_END);
    EXPECT_EQ(list().CurSel(), 9);
    EXPECT_EQ(list().ScrollPosition().cy, 100);
    EXPECT_EQ(rows[9]->Position().bottom, 100) << "the last row shows at the bottom";
    Key(VK_PRIOR);
    EXPECT_EQ(list().CurSel(), 4);
    EXPECT_EQ(rows[4]->Position().top, 0) << "scrolled back just far enough";
    Key(VK_UP);
    EXPECT_EQ(list().CurSel(), 2);
    Key(VK_HOME);
    EXPECT_EQ(list().CurSel(), 0);
    EXPECT_EQ(list().ScrollPosition().cy, 0);
    Key(VK_UP);
    EXPECT_EQ(list().CurSel(), 0);
    Key(VK_NEXT);
    EXPECT_EQ(list().CurSel(), 5);

    const std::vector<std::wstring> expected = {
        L"itemselect:0/-1", L"itemselect:1/0", L"itemselect:2/1", L"itemselect:4/2", L"itemselect:9/4",
        L"itemselect:4/9",  L"itemselect:2/4", L"itemselect:0/2", L"itemselect:5/0",
    };
    EXPECT_EQ(SelectTypes(), expected);
    EXPECT_TRUE(rows[5]->IsSelected());
    EXPECT_FALSE(rows[0]->IsSelected());

    EXPECT_FALSE(list().SelectItem(10));
    EXPECT_FALSE(list().SelectItem(3)) << "disabled";
    EXPECT_FALSE(list().SelectItem(12345));
    EXPECT_EQ(list().CurSel(), 5);
}

TEST_F(ListTest, MultipleSelectionWithCtrlShiftAndShiftKeys)
{
    list().ApplyAttribute(L"multiselect", L"true");
    AddRows(8);
    list().SetPosition(RECT{0, 0, 300, 300});

    list().ClickItem(1, 0, false);
    list().ClickItem(3, KeyStateControl, false);
    list().ClickItem(5, KeyStateShift, false);
    EXPECT_EQ(list().SelectedCount(), 3) << "Shift reshapes the range from the anchor 3";
    for (int i : {3, 4, 5}) {
        EXPECT_TRUE(list().IsItemSelected(i)) << i;
        EXPECT_TRUE(rows[static_cast<size_t>(i)]->IsSelected()) << i;
    }
    EXPECT_FALSE(rows[1]->IsSelected());
    Key(VK_DOWN, KeyStateShift);
    EXPECT_EQ(list().SelectedCount(), 4);
    EXPECT_TRUE(list().IsItemSelected(6));
    EXPECT_EQ(list().CurSel(), 6);

    list().ClickItem(7, 0, true);
    EXPECT_EQ(list().SelectedCount(), 1) << "a right click outside the selection selects that row";
    EXPECT_EQ(tree.notifications.records.back().type, L"itemrselect");
    list().SelectAllItems();
    EXPECT_EQ(list().SelectedCount(), 8);
    list().SetMultiSelect(false);
    EXPECT_EQ(list().SelectedCount(), 1);
}

TEST_F(ListTest, RemovingRowsKeepsIndexesAndTheSelectionRight)
{
    AddRows(5);
    list().SetPosition(RECT{0, 0, 300, 300});
    ASSERT_TRUE(list().SelectItem(3));
    ASSERT_TRUE(list().RemoveItem(rows[1]));
    EXPECT_EQ(list().CurSel(), 2);
    EXPECT_EQ(rows[3]->Index(), 2);
    EXPECT_EQ(rows[4]->Index(), 3);
    EXPECT_TRUE(list().IsItemSelected(2));
    ASSERT_TRUE(list().RemoveItemAt(2));
    EXPECT_EQ(list().CurSel(), -1) << "the selected row is gone";
    EXPECT_EQ(list().SelectedCount(), 0);
    EXPECT_FALSE(list().RemoveItemAt(7));
    EXPECT_FALSE(list().RemoveItem(nullptr));
    EXPECT_FALSE(list().MoveItem(rows[0], 9));
    ASSERT_TRUE(list().MoveItem(rows[0], 2));
    EXPECT_EQ(rows[0]->Index(), 2);

    list().RemoveAllItems();
    EXPECT_EQ(list().ItemCount(), 0);
    for (WPARAM vk : {VK_UP, VK_DOWN, VK_HOME, VK_END, VK_PRIOR, VK_NEXT}) {
        Key(vk);
    }
    EXPECT_EQ(list().CurSel(), -1) << "keys in an empty list select nothing";
    EXPECT_FALSE(list().SelectItem(0));
    EXPECT_TRUE(list().SelectItem(-1));
    list().EnsureVisible(3);
}

TEST_F(ListTest, ItemAttributesSetTheRowLook)
{
    const struct {
        const wchar_t* name;
        const wchar_t* value;
    } attributes[] = {
        {L"itemfont", L"2"},
        {L"itemalign", L"right"},
        {L"itemendellipsis", L"true"},
        {L"itemtextpadding", L"1,2,3,4"},
        {L"itemtextcolor", L"#FF010203"},
        {L"itembkcolor", L"#FF040506"},
        {L"itembkimage", L"bk.png"},
        {L"itemaltbk", L"true"},
        {L"itemselectedtextcolor", L"#FF070809"},
        {L"itemselectedbkcolor", L"#FF0A0B0C"},
        {L"itemselectedimage", L"sel.png"},
        {L"itemhottextcolor", L"#FF0D0E0F"},
        {L"itemhotbkcolor", L"#FF101112"},
        {L"itemhotimage", L"hot.png"},
        {L"itemdisabledtextcolor", L"#FF131415"},
        {L"itemdisabledbkcolor", L"#FF161718"},
        {L"itemdisabledimage", L"dis.png"},
        {L"itemlinecolor", L"#FF191A1B"},
        {L"itemshowhtml", L"true"},
        {L"scrollselect", L"true"},
        {L"multiexpanding", L"true"},
        {L"headerbkimage", L"head.png"},
    };
    for (const auto& attribute : attributes) {
        list().ApplyAttribute(attribute.name, attribute.value);
    }
    const ListItemLook& look = *list().ItemLook();
    EXPECT_EQ(look.font, 2);
    EXPECT_EQ(look.textStyle & (DT_LEFT | DT_CENTER | DT_RIGHT), static_cast<UINT>(DT_RIGHT));
    EXPECT_NE(look.textStyle & DT_END_ELLIPSIS, 0U);
    EXPECT_EQ(look.textPadding, (RECT{1, 2, 3, 4}));
    EXPECT_EQ(look.textColor, 0xFF010203u);
    EXPECT_EQ(look.bkColor, 0xFF040506u);
    EXPECT_EQ(look.bkImage, L"bk.png");
    EXPECT_TRUE(look.altBk);
    EXPECT_EQ(look.selectedTextColor, 0xFF070809u);
    EXPECT_EQ(look.selectedBkColor, 0xFF0A0B0Cu);
    EXPECT_EQ(look.selectedImage, L"sel.png");
    EXPECT_EQ(look.hotTextColor, 0xFF0D0E0Fu);
    EXPECT_EQ(look.hotBkColor, 0xFF101112u);
    EXPECT_EQ(look.hotImage, L"hot.png");
    EXPECT_EQ(look.disabledTextColor, 0xFF131415u);
    EXPECT_EQ(look.disabledBkColor, 0xFF161718u);
    EXPECT_EQ(look.disabledImage, L"dis.png");
    EXPECT_EQ(look.lineColor, 0xFF191A1Bu);
    EXPECT_TRUE(look.showHtml);
    EXPECT_TRUE(list().IsScrollSelect());
    EXPECT_TRUE(list().IsMultiExpanding());
    EXPECT_EQ(list().Header()->BackgroundImage(), L"head.png");

    // The row colours by state: disabled before selected before hot.
    EXPECT_EQ(ListRowTextColor(look, RowStateDisabled | RowStateSelected), 0xFF131415u);
    EXPECT_EQ(ListRowTextColor(look, RowStateSelected | RowStateHot), 0xFF070809u);
    EXPECT_EQ(ListRowTextColor(look, RowStateHot), 0xFF0D0E0Fu);
    EXPECT_EQ(ListRowTextColor(look, 0), 0xFF010203u);

    EXPECT_NE(list().LookupInterface(L"IListOwner"), nullptr);
    EXPECT_NE(list().LookupInterface(L"IList"), nullptr);
    EXPECT_EQ(list().LookupInterface(L"List"), &list());
    EXPECT_STREQ(list().TypeName(), L"ListUI");
    CListContainerElementUI row;
    EXPECT_NE(row.LookupInterface(L"ListItem"), nullptr);
    EXPECT_NE(row.LookupInterface(L"ListContainerElement"), nullptr);
    EXPECT_EQ(row.LookupInterface(L"ListElement"), nullptr);
    CListTextElementUI text;
    for (const wchar_t* pstrName : {L"ListTextElement", L"ListLabelElement", L"ListItem", L"ListElement"}) {
        EXPECT_NE(text.LookupInterface(pstrName), nullptr) << pstrName;
    }
}

namespace {

std::vector<std::wstring> SplitColumns(const std::wstring& text)
{
    std::vector<std::wstring> columns(1);
    for (const wchar_t ch : text) {
        if (ch == L'|') {
            columns.emplace_back();
        } else {
            columns.back() += ch;
        }
    }
    return columns;
}

std::wstring JoinColumns(const std::vector<std::wstring>& columns)
{
    std::wstring text;
    for (size_t i = 0; i < columns.size(); ++i) {
        text += (i > 0 ? L"|" : L"") + columns[i];
    }
    return text;
}

} // namespace

// A mutation driver for the "|" column split of a text row (texts come from skins and from
// programs): every column read and every column written agrees with an independent split, and
// rows of any shape lay out and paint under a three-column header.
TEST_F(ListTest, RandomColumnTextsSplitAndJoinAsTheBarsSay)
{
    tree.Add<CListHeaderItemUI>(L"width=\"60\"");
    tree.Add<CListHeaderItemUI>(L"width=\"60\"");
    tree.Add<CListHeaderItemUI>(L"width=\"60\"");
    auto* pRow = tree.Add<CListTextElementUI>(L"height=\"20\"");
    CDibSectionUI canvas;
    ASSERT_TRUE(canvas.Create(200, 100));
    const unsigned seed = std::random_device{}();
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::mt19937 random(seed);
    const wchar_t alphabet[] = L"||||ab {}<>\x4E2D\xD800\x0001";
    auto randomText = [&](size_t nMax) {
        std::wstring text;
        for (size_t n = random() % (nMax + 1); n > 0; --n) {
            text += alphabet[random() % (std::size(alphabet) - 1)];
        }
        return text;
    };
    for (int i = 0; i < 3000; ++i) {
        std::wstring text = randomText(i % 100 == 0 ? 5000 : 40);
        pRow->SetText(text.c_str());
        std::vector<std::wstring> columns = SplitColumns(text);
        for (int nColumn = -2; nColumn < static_cast<int>(columns.size()) + 2; ++nColumn) {
            const bool inside = nColumn >= 0 && nColumn < static_cast<int>(columns.size());
            ASSERT_EQ(pRow->ColumnText(nColumn), (inside ? columns[nColumn] : std::wstring()).c_str()) << nColumn << L" of " << text;
            if (nColumn > 40) {
                break;
            }
        }
        const int nColumn = static_cast<int>(random() % 40) - 4;
        const std::wstring value = randomText(6);
        pRow->SetColumnText(nColumn, value.c_str());
        if (nColumn >= 0 && nColumn < ListItemLook::MaxColumns) {
            if (columns.size() < static_cast<size_t>(nColumn) + 1) {
                columns.resize(nColumn + 1);
            }
            columns[nColumn] = value;
            text = JoinColumns(columns);
        }
        ASSERT_EQ(pRow->Text(), text.c_str()) << L"column " << nColumn << L" set to " << value;
        if (i % 50 == 0) {
            list().SetPosition(RECT{0, 0, 200, 100});
            list().Paint(canvas.DC(), RECT{0, 0, 200, 100});
        }
    }
}
