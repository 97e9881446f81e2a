#include <gtest/gtest.h>

#include "ListGuiSupport.h"
#include "ManagerFixture.h"
#include "TestFiles.h"
#include "TestPaths.h"
#include "controls/List.h"
#include "controls/ListHeader.h"
#include "controls/Label.h"
#include "controls/ListContainerElement.h"
#include "controls/ListHeaderItem.h"
#include "controls/ListTextElement.h"
#include "controls/ScrollBar.h"
#include "controls/VerticalLayout.h"
#include "core/SkinBuilder.h"

#include <set>
#include <string>
#include <vector>

using namespace guitest;

namespace {

// A row that notes its index whenever it paints its text.
class CCountingRowUI : public CListTextElementUI {
public:
    explicit CCountingRowUI(std::set<int>* pPainted) : m_pPainted(pPainted) {}
    void PaintTextContent(HDC hDC) override
    {
        m_pPainted->insert(Index());
        CListTextElementUI::PaintTextContent(hDC);
    }

private:
    std::set<int>* m_pPainted;
};

constexpr COLORREF SelectedColor = RGB(0, 0, 255);

// A 320 × 240 window holding one list: header 24 pixels, rows of 20.
class ListGuiTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_NE(host.Hwnd(), nullptr);
        root = new CVerticalLayoutUI;
        root->ApplyAttribute(L"bkcolor", L"#FFFFFFFF");
        list = new CListUI;
        list->ApplyAttributeString(L"vscrollbar=\"true\" itemselectedbkcolor=\"#FF0000FF\" itemhotbkcolor=\"#FFEEEEEE\"");
        root->AddItem(list);
        host.Manager().AddListener(&recorder);
    }
    void TearDown() override { host.Manager().RemoveListener(&recorder); }

    void AddHeader()
    {
        for (const wchar_t* pstrAttributes : {L"text=\"Name\" width=\"100\" height=\"24\"", L"text=\"Size\""}) {
            auto* pItem = new CListHeaderItemUI;
            pItem->ApplyAttributeString(pstrAttributes);
            list->AddItem(pItem);
        }
    }
    void AddRows(int nCount)
    {
        for (int i = 0; i < nCount; ++i) {
            auto* pRow = new CListTextElementUI;
            pRow->ApplyAttribute(L"height", L"20");
            pRow->SetText((L"row " + std::to_wstring(i) + L"|" + std::to_wstring(i * 10)).c_str());
            list->AddItem(pRow);
        }
    }
    void Attach()
    {
        host.Manager().AttachRoot(root);
        host.PaintNow(true);
    }
    // Three columns of 150 pixels, wider together than the list.
    void AddWideHeader()
    {
        for (const wchar_t* pstrText : {L"Name", L"Size", L"Date"}) {
            auto* pItem = new CListHeaderItemUI;
            pItem->ApplyAttributeString(L"width=\"150\" height=\"24\"");
            pItem->SetText(pstrText);
            list->AddItem(pItem);
        }
    }
    // A container row holding one label per name.
    CListContainerElementUI* AddContainerRow(std::initializer_list<const wchar_t*> names)
    {
        auto* pRow = new CListContainerElementUI;
        pRow->ApplyAttribute(L"height", L"20");
        for (const wchar_t* pstrName : names) {
            auto* pLabel = new CLabelUI;
            pLabel->SetText(pstrName);
            pRow->AddItem(pLabel);
        }
        list->AddItem(pRow);
        return pRow;
    }
    RECT HeaderItem(int nIndex) const { return list->Header()->ItemAt(nIndex)->Position(); }
    POINT Row(int nIndex) const
    {
        const RECT rc = list->ItemAt(nIndex)->Position();
        return POINT{rc.right - 30, (rc.top + rc.bottom) / 2};
    }
    bool RowInView(int nIndex) const
    {
        const RECT rcRow = list->ItemAt(nIndex)->Position();
        const RECT rcBody = list->Body()->ClientRect();
        return rcRow.top >= rcBody.top && rcRow.bottom <= rcBody.bottom;
    }
    POINT Screen(POINT pt) const
    {
        ::ClientToScreen(host.Hwnd(), &pt);
        return pt;
    }

    TestHostWindow host{320, 240};
    ListNotificationRecorder recorder;
    CVerticalLayoutUI* root = nullptr;
    CListUI* list = nullptr;
};

} // namespace

TEST_F(ListGuiTest, ClicksWithCtrlAndShiftSelectRowsAndDoubleClickActivates)
{
    list->ApplyAttribute(L"multiselect", L"true");
    AddHeader();
    AddRows(8);
    Attach();

    ClickAt(host.Hwnd(), Row(1));
    EXPECT_EQ(list->CurSel(), 1);
    ASSERT_NE(recorder.Last(L"itemclick"), nullptr);
    EXPECT_EQ(recorder.Last(L"itemclick")->sender, list->ItemAt(1));
    ASSERT_NE(recorder.Last(L"itemselect"), nullptr);
    EXPECT_EQ(recorder.Last(L"itemselect")->sender, list);
    host.PaintNow();
    EXPECT_EQ(BackPixel(host.Manager(), Row(1).x, Row(1).y), SelectedColor);
    EXPECT_NE(BackPixel(host.Manager(), Row(2).x, Row(2).y), SelectedColor);

    ClickAt(host.Hwnd(), Row(3), MK_CONTROL);
    ClickAt(host.Hwnd(), Row(5), MK_SHIFT);
    EXPECT_EQ(list->SelectedCount(), 3);
    for (int i : {3, 4, 5}) {
        EXPECT_TRUE(list->IsItemSelected(i)) << i;
    }
    host.PaintNow();
    EXPECT_EQ(BackPixel(host.Manager(), Row(4).x, Row(4).y), SelectedColor);
    EXPECT_NE(BackPixel(host.Manager(), Row(1).x, Row(1).y), SelectedColor);

    host.Send(WM_LBUTTONDBLCLK, MK_LBUTTON, ClientPoint(Row(2).x, Row(2).y));
    host.Send(WM_LBUTTONUP, 0, ClientPoint(Row(2).x, Row(2).y));
    ASSERT_NE(recorder.Last(L"itemactivate"), nullptr);
    EXPECT_EQ(recorder.Last(L"itemactivate")->sender, list->ItemAt(2));

    host.Send(WM_RBUTTONDOWN, MK_RBUTTON, ClientPoint(Row(6).x, Row(6).y));
    host.Send(WM_RBUTTONUP, 0, ClientPoint(Row(6).x, Row(6).y));
    ASSERT_NE(recorder.Last(L"itemrselect"), nullptr);
    EXPECT_EQ(recorder.Last(L"itemrselect")->wParam, 6u);
    EXPECT_EQ(list->CurSel(), 6);

    // Enter on the focused row activates it too.
    KeyPress(host.Hwnd(), VK_RETURN);
    EXPECT_EQ(recorder.Last(L"itemactivate")->sender, list->ItemAt(6));
}

TEST_F(ListGuiTest, KeysAndTheWheelKeepTheSelectedRowInView)
{
    AddHeader();
    AddRows(30);
    Attach();
    ClickAt(host.Hwnd(), Row(0));
    ASSERT_EQ(list->CurSel(), 0);

    KeyPress(host.Hwnd(), VK_END);
    host.PaintNow();
    EXPECT_EQ(list->CurSel(), 29);
    EXPECT_TRUE(RowInView(29));
    EXPECT_EQ(list->ScrollPosition().cy, list->ScrollRange().cy);
    KeyPress(host.Hwnd(), VK_PRIOR);
    host.PaintNow();
    EXPECT_EQ(list->CurSel(), 29 - list->PageRowCount());
    EXPECT_TRUE(RowInView(list->CurSel()));
    KeyPress(host.Hwnd(), VK_UP);
    KeyPress(host.Hwnd(), VK_UP);
    host.PaintNow();
    EXPECT_TRUE(RowInView(list->CurSel()));
    KeyPress(host.Hwnd(), VK_HOME);
    host.PaintNow();
    EXPECT_EQ(list->CurSel(), 0);
    EXPECT_EQ(list->ScrollPosition().cy, 0);
    KeyPress(host.Hwnd(), VK_NEXT);
    KeyPress(host.Hwnd(), VK_DOWN);
    host.PaintNow();
    EXPECT_EQ(list->CurSel(), list->PageRowCount() + 1);
    EXPECT_TRUE(RowInView(list->CurSel()));

    // The wheel scrolls the view and leaves the selection alone ...
    const POINT ptWheel = Screen(Row(3));
    const LONG nBefore = list->ScrollPosition().cy;
    host.Send(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), MAKELPARAM(ptWheel.x, ptWheel.y));
    EXPECT_GT(list->ScrollPosition().cy, nBefore);
    EXPECT_EQ(list->CurSel(), list->PageRowCount() + 1);
    // ... unless it selects ("scrollselect"), keeping the new row in view.
    list->ApplyAttribute(L"scrollselect", L"true");
    KeyPress(host.Hwnd(), VK_END);
    host.PaintNow();
    for (int i = 0; i < 3; ++i) {
        host.Send(WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), MAKELPARAM(ptWheel.x, ptWheel.y));
    }
    host.PaintNow();
    EXPECT_EQ(list->CurSel(), 26);
    EXPECT_TRUE(RowInView(26));
}

TEST_F(ListGuiTest, DraggingAHeaderSeparatorResizesTheColumnAndTheRowsFollow)
{
    AddHeader();
    AddRows(3);
    Attach();
    auto* pName = static_cast<CListHeaderItemUI*>(list->Header()->ItemAt(0));
    auto* pSize = static_cast<CListHeaderItemUI*>(list->Header()->ItemAt(1));
    ASSERT_EQ(pName->Position().right, 100);
    ASSERT_EQ(list->ItemLook()->columns[1].left, 100);

    {
        CursorLock cursor;
        ASSERT_TRUE(cursor.MoveTo(host.Hwnd(), 98, 12));
        host.Send(WM_MOUSEMOVE, 0, ClientPoint(98, 12));
        host.Send(WM_SETCURSOR, reinterpret_cast<WPARAM>(host.Hwnd()), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        EXPECT_EQ(::GetCursor(), ::LoadCursorW(nullptr, IDC_SIZEWE));
    }
    host.Send(WM_LBUTTONDOWN, MK_LBUTTON, ClientPoint(98, 12));
    EXPECT_TRUE(pName->IsDragging());
    host.Send(WM_MOUSEMOVE, MK_LBUTTON, ClientPoint(120, 12));
    host.Send(WM_MOUSEMOVE, MK_LBUTTON, ClientPoint(150, 12));
    host.Send(WM_LBUTTONUP, 0, ClientPoint(150, 12));
    host.PaintNow();
    EXPECT_FALSE(pName->IsDragging());
    EXPECT_EQ(pName->Position().right, 152);
    EXPECT_EQ(pSize->Position().left, 152);
    EXPECT_EQ(list->ItemLook()->columns[0].right, 152);
    EXPECT_EQ(list->ItemLook()->columns[1].left, 152);
    EXPECT_EQ(recorder.Count(L"headerclick"), 0) << "a drag is no click";

    // Dragging far to the left stops at the separator's width.
    host.Send(WM_MOUSEMOVE, 0, ClientPoint(150, 12));
    host.Send(WM_LBUTTONDOWN, MK_LBUTTON, ClientPoint(150, 12));
    host.Send(WM_MOUSEMOVE, MK_LBUTTON, ClientPoint(-400, 12));
    host.Send(WM_LBUTTONUP, 0, ClientPoint(-400, 12));
    host.PaintNow();
    EXPECT_EQ(pName->Width(), pName->SeparatorWidth());

    ClickAt(host.Hwnd(), POINT{200, 12});
    ASSERT_EQ(recorder.Count(L"headerclick"), 1);
    EXPECT_EQ(recorder.Last(L"headerclick")->sender, pSize);
}

TEST_F(ListGuiTest, RowsRemovedInsideTheirOwnNotificationsLeaveTheListSound)
{
    AddRows(6);
    Attach();
    recorder.hook = [this](UINotification& notification) {
        if (notification.type == L"itemclick") {
            list->RemoveItem(notification.sender);
        }
    };
    ClickAt(host.Hwnd(), Row(2));
    EXPECT_EQ(list->ItemCount(), 5);
    EXPECT_EQ(list->CurSel(), -1) << "the clicked and selected row is gone";
    recorder.hook = [this](UINotification& notification) {
        if (notification.type == L"itemselect") {
            list->RemoveItemAt(static_cast<int>(notification.wParam));
        }
    };
    ClickAt(host.Hwnd(), Row(0));
    EXPECT_EQ(list->ItemCount(), 4);
    recorder.hook = nullptr;
    host.PumpRange(WM_UI_DELETE_LATER, WM_UI_DELETE_LATER);
    host.PaintNow();

    // The hovered row goes away under the pointer.
    host.Send(WM_MOUSEMOVE, 0, ClientPoint(Row(1).x, Row(1).y));
    ASSERT_TRUE(list->RemoveItemAt(1));
    host.PumpRange(WM_UI_DELETE_LATER, WM_UI_DELETE_LATER);
    host.Send(WM_MOUSEMOVE, 0, ClientPoint(Row(1).x, Row(1).y + 1));
    host.PaintNow();
    KeyPress(host.Hwnd(), VK_DOWN);
    ClickAt(host.Hwnd(), Row(2));
    EXPECT_EQ(list->CurSel(), 2);
    for (int i = 0; i < list->ItemCount(); ++i) {
        EXPECT_EQ(static_cast<CListTextElementUI*>(list->ItemAt(i))->Index(), i);
    }
}

TEST_F(ListGuiTest, TenThousandRowsPaintOnlyTheVisibleOnes)
{
    std::set<int> painted;
    for (int i = 0; i < 10000; ++i) {
        auto* pRow = new CCountingRowUI(&painted);
        pRow->ApplyAttribute(L"height", L"20");
        pRow->SetText(std::to_wstring(i).c_str());
        list->AddItem(pRow);
    }
    Attach();
    const int nVisible = 240 / 20;
    EXPECT_EQ(list->ScrollRange().cy, 10000 * 20 - 240);
    ASSERT_FALSE(painted.empty());
    EXPECT_EQ(*painted.begin(), 0);
    EXPECT_LT(*painted.rbegin(), nVisible) << "only rows inside the window paint";

    ClickAt(host.Hwnd(), Row(0));
    KeyPress(host.Hwnd(), VK_END);
    painted.clear();
    host.PaintNow();
    EXPECT_EQ(list->CurSel(), 9999);
    EXPECT_TRUE(RowInView(9999));
    ASSERT_FALSE(painted.empty());
    EXPECT_EQ(*painted.rbegin(), 9999);
    EXPECT_GE(*painted.begin(), 9999 - nVisible);
}

// The gallery skin of the test corpus, built in a real window; its picture goes to the build tree.
TEST(ListGalleryTest, TheGallerySkinBuildsEveryControlAndSavesAPicture)
{
    const auto bytes = wxlmtest::ReadFileBytes(wxlmtest::SourceDir() + L"\\tests\\gui\\gallery\\ListTreeCombo.xml");
    ASSERT_TRUE(bytes.has_value());
    // The gallery is plain ASCII: its bytes are its characters.
    const std::wstring text(bytes->begin(), bytes->end());
    const std::wstring skin = text.substr(text.find(L"<Window"));

    TestHostWindow host{520, 300};
    CSkinBuilder builder;
    CControlUI* pRoot = builder.Create(skin.c_str(), nullptr, nullptr, &host.Manager(), nullptr);
    ASSERT_NE(pRoot, nullptr);
    host.Manager().AttachRoot(pRoot);
    host.PaintNow(true);

    auto* pList = static_cast<CListUI*>(host.Manager().ControlByName(L"list")->LookupInterface(L"List"));
    ASSERT_NE(pList, nullptr);
    EXPECT_EQ(pList->ItemCount(), 7);
    EXPECT_EQ(pList->Header()->ItemCount(), 3);
    EXPECT_EQ(pList->CurSel(), 1);
    CControlUI* pTree = host.Manager().ControlByName(L"tree");
    ASSERT_NE(pTree, nullptr);
    EXPECT_EQ(static_cast<IContainerUI*>(pTree->LookupInterface(L"IContainer"))->ItemCount(), 7);
    EXPECT_EQ(host.Manager().ControlByName(L"combo")->Text(), L"Medium");
    EXPECT_EQ(host.Manager().ControlByName(L"combobox")->Text(), L"Windowed");

    const POINT ptSelected = {pList->ItemAt(1)->Position().right - 8, CenterOf(pList->ItemAt(1)->Position()).y};
    EXPECT_EQ(BackPixel(host.Manager(), ptSelected.x, ptSelected.y), RGB(0x3C, 0x78, 0xD8));
    EXPECT_TRUE(SaveBackBuffer(host.Manager(), wxlmtest::BuildDir() + L"\\list-tree-combo-gallery.bmp"));
}

TEST_F(ListGuiTest, AHeaderWiderThanTheListScrollsSidewaysWithTheRows)
{
    list->ApplyAttribute(L"hscrollbar", L"true");
    AddWideHeader();
    AddRows(2);
    CListContainerElementUI* pRow = AddContainerRow({L"a", L"b", L"c"});
    Attach();

    CScrollBarUI* pBar = list->HorizontalScrollBar();
    ASSERT_NE(pBar, nullptr);
    ASSERT_TRUE(pBar->IsVisible());
    EXPECT_EQ(pBar->ScrollRange(), 450 - 320);
    EXPECT_EQ(list->ItemAt(0)->Width(), 450) << "rows are as wide as the columns";
    EXPECT_EQ(HeaderItem(2).right, 450);

    // A press on the rail right of the thumb pages to the right end.
    const RECT rcButton2 = pBar->PartRect(CScrollBarUI::PartButton2);
    ClickAt(host.Hwnd(), POINT{rcButton2.left - 3, CenterOf(rcButton2).y});
    host.PaintNow();
    ASSERT_EQ(pBar->ScrollPos(), 130);
    EXPECT_EQ(HeaderItem(0).left, -130) << "the header moves with the rows";
    EXPECT_EQ(list->ItemAt(0)->Position().left, -130);
    EXPECT_EQ(list->ItemLook()->columns[2].right, 320);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(pRow->ItemAt(i)->Position().left, HeaderItem(i).left) << i;
        EXPECT_EQ(pRow->ItemAt(i)->Position().right, HeaderItem(i).right) << i;
    }

    // A press on the left button goes back one step.
    ClickAt(host.Hwnd(), CenterOf(pBar->PartRect(CScrollBarUI::PartButton1)));
    host.PaintNow();
    const int nPos = pBar->ScrollPos();
    EXPECT_LT(nPos, 130);
    EXPECT_EQ(HeaderItem(0).left, -nPos);
    EXPECT_EQ(pRow->ItemAt(1)->Position().left, 150 - nPos);

    // Made wide enough, the list needs no bar and everything comes back to the left edge.
    ::SetWindowPos(host.Hwnd(), nullptr, 0, 0, 600, 240, SWP_NOMOVE | SWP_NOZORDER);
    host.PaintNow(true);
    EXPECT_FALSE(pBar->IsVisible());
    EXPECT_EQ(HeaderItem(0).left, 0);
    EXPECT_EQ(pRow->ItemAt(2)->Position().left, 300);
    EXPECT_EQ(list->ItemAt(0)->Width(), list->Width());
}

TEST_F(ListGuiTest, ContainerRowsPutTheirChildrenIntoTheColumns)
{
    AddHeader();
    CListContainerElementUI* pRow = AddContainerRow({L"name", L"size", L"extra"});
    Attach();
    EXPECT_EQ(pRow->ItemAt(0)->Position().left, 0);
    EXPECT_EQ(pRow->ItemAt(0)->Position().right, 100);
    EXPECT_EQ(pRow->ItemAt(1)->Position().left, 100);
    EXPECT_EQ(pRow->ItemAt(1)->Position().right, HeaderItem(1).right);
    EXPECT_EQ(pRow->ItemAt(2)->Width(), 0) << "no column, no room";
    EXPECT_EQ(pRow->ItemAt(0)->Position().top, pRow->Position().top);

    // Dragging the separator moves the cells with it.
    host.Send(WM_MOUSEMOVE, 0, ClientPoint(98, 12));
    host.Send(WM_LBUTTONDOWN, MK_LBUTTON, ClientPoint(98, 12));
    host.Send(WM_MOUSEMOVE, MK_LBUTTON, ClientPoint(140, 12));
    host.Send(WM_LBUTTONUP, 0, ClientPoint(140, 12));
    host.PaintNow();
    EXPECT_EQ(HeaderItem(0).right, 142);
    EXPECT_EQ(pRow->ItemAt(0)->Position().right, 142);
    EXPECT_EQ(pRow->ItemAt(1)->Position().left, 142);

    // Without a header the row is a plain container again.
    list->Header()->SetVisible(false);
    host.PaintNow(true);
    EXPECT_EQ(pRow->ItemAt(1)->Position().left, pRow->Position().left);
    EXPECT_EQ(pRow->ItemAt(1)->Width(), pRow->Width());
}
