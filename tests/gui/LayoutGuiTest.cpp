#include <gtest/gtest.h>

#include "ManagerFixture.h"
#include "TestFiles.h"
#include "controls/HorizontalLayout.h"
#include "controls/ScrollBar.h"
#include "controls/VerticalLayout.h"

using namespace guitest;

namespace {

// Removes itself from its container when it is clicked, then goes on using its own fields.
class CSelfRemovingUI : public CControlUI {
public:
    explicit CSelfRemovingUI(int* pDeleted) : m_pDeleted(pDeleted) {}
    ~CSelfRemovingUI() override { ++*m_pDeleted; }
    void HandleEvent(ControlEvent& event) override
    {
        if (event.type == EventButtonUp) {
            auto* pContainer = static_cast<IContainerUI*>(Parent()->LookupInterface(L"IContainer"));
            removed = pContainer->RemoveItem(this);
            aliveAfterRemoval = *m_pDeleted == 0;
            return;
        }
        CControlUI::HandleEvent(event);
    }
    bool removed = false;
    bool aliveAfterRemoval = false;

private:
    int* m_pDeleted;
};

class LayoutGuiTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_NE(host.Hwnd(), nullptr);
        root = new CVerticalLayoutUI;
        root->ApplyAttribute(L"bkcolor", L"#FFFFFFFF");
    }

    void Attach()
    {
        host.Manager().AttachRoot(root);
        host.PaintNow(true);
    }

    POINT ScreenPoint(int x, int y)
    {
        POINT pt = {x, y};
        ::ClientToScreen(host.Hwnd(), &pt);
        return pt;
    }

    TestHostWindow host{320, 200};
    CVerticalLayoutUI* root = nullptr;
};

} // namespace

TEST_F(LayoutGuiTest, SeparatorDragResizesTheLayoutOnRelease)
{
    auto* pPanel = new CVerticalLayoutUI;
    pPanel->ApplyAttributeString(L"height=\"50\" sepheight=\"4\"");
    auto* pRest = new CControlUI;
    root->AddItem(pPanel);
    root->AddItem(pRest);
    Attach();
    ASSERT_EQ(pPanel->Position().bottom, 50);

    // The cursor over the band becomes the north-south arrow.
    const POINT ptBand = ScreenPoint(100, 48);
    ASSERT_TRUE(::SetCursorPos(ptBand.x, ptBand.y));
    host.Send(WM_MOUSEMOVE, 0, ClientPoint(100, 48));
    host.Send(WM_SETCURSOR, reinterpret_cast<WPARAM>(host.Hwnd()), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(::GetCursor(), ::LoadCursorW(nullptr, IDC_SIZENS));

    host.Send(WM_LBUTTONDOWN, MK_LBUTTON, ClientPoint(100, 48));
    ASSERT_TRUE(pPanel->IsDragging());
    host.Send(WM_MOUSEMOVE, MK_LBUTTON, ClientPoint(100, 70));
    host.Send(WM_MOUSEMOVE, MK_LBUTTON, ClientPoint(100, 110));
    // The edge follows the pointer's moves, keeping the 2 pixels between press and edge.
    EXPECT_EQ(pPanel->DragRect().bottom, 112);
    EXPECT_EQ(pPanel->Position().bottom, 50) << "applied on release";

    // Meanwhile the post-painter darkens the band where the edge would go.
    host.PaintNow();
    const HDC hBackDC = host.Manager().OffscreenDC();
    ASSERT_NE(hBackDC, nullptr);
    const COLORREF band = ::GetPixel(hBackDC, 100, 108);
    EXPECT_LT(GetRValue(band), 0xA0);
    EXPECT_EQ(::GetPixel(hBackDC, 100, 120), RGB(255, 255, 255));

    host.Send(WM_LBUTTONUP, 0, ClientPoint(100, 110));
    host.PaintNow();
    EXPECT_FALSE(pPanel->IsDragging());
    EXPECT_EQ(pPanel->Position().top, 0);
    EXPECT_EQ(pPanel->Position().bottom, 112);
    EXPECT_EQ(pPanel->Width(), 320);
    EXPECT_EQ(pRest->Position().top, 112);
    EXPECT_EQ(::GetPixel(host.Manager().OffscreenDC(), 100, 108), RGB(255, 255, 255)) << "the band is gone";
}

TEST_F(LayoutGuiTest, HorizontalSeparatorShowsTheWestEastCursorAndResizesOnRelease)
{
    auto* pRow = new CHorizontalLayoutUI;
    pRow->ApplyAttribute(L"height", L"100");
    auto* pPanel = new CHorizontalLayoutUI;
    pPanel->ApplyAttributeString(L"width=\"80\" sepwidth=\"4\"");
    auto* pRest = new CControlUI;
    pRow->AddItem(pPanel);
    pRow->AddItem(pRest);
    root->AddItem(pRow);
    Attach();
    ASSERT_EQ(pPanel->Position().right, 80);
    ASSERT_EQ(pPanel->Position().bottom, 100);

    {
        CursorLock cursor;
        ASSERT_TRUE(cursor.MoveTo(host.Hwnd(), 78, 50));
        host.Send(WM_MOUSEMOVE, 0, ClientPoint(78, 50));
        host.Send(WM_SETCURSOR, reinterpret_cast<WPARAM>(host.Hwnd()), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        EXPECT_EQ(::GetCursor(), ::LoadCursorW(nullptr, IDC_SIZEWE));
        ASSERT_TRUE(cursor.MoveTo(host.Hwnd(), 60, 50));
        host.Send(WM_MOUSEMOVE, 0, ClientPoint(60, 50));
        host.Send(WM_SETCURSOR, reinterpret_cast<WPARAM>(host.Hwnd()), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        EXPECT_EQ(::GetCursor(), ::LoadCursorW(nullptr, IDC_ARROW)) << "beside the band";
    }

    host.Send(WM_MOUSEMOVE, 0, ClientPoint(78, 50));
    host.Send(WM_LBUTTONDOWN, MK_LBUTTON, ClientPoint(78, 50));
    ASSERT_TRUE(pPanel->IsDragging());
    host.Send(WM_MOUSEMOVE, MK_LBUTTON, ClientPoint(100, 50));
    host.Send(WM_MOUSEMOVE, MK_LBUTTON, ClientPoint(130, 50));
    EXPECT_EQ(pPanel->DragRect().right, 132);
    EXPECT_EQ(pPanel->Position().right, 80) << "applied on release";
    host.PaintNow();
    const HDC hBackDC = host.Manager().OffscreenDC();
    ASSERT_NE(hBackDC, nullptr);
    EXPECT_LT(GetRValue(::GetPixel(hBackDC, 130, 50)), 0xA0) << "the band where the edge would go";
    EXPECT_EQ(::GetPixel(hBackDC, 140, 50), RGB(255, 255, 255));

    host.Send(WM_LBUTTONUP, 0, ClientPoint(130, 50));
    host.PaintNow();
    EXPECT_FALSE(pPanel->IsDragging());
    EXPECT_EQ(pPanel->Position().left, 0);
    EXPECT_EQ(pPanel->Position().right, 132);
    EXPECT_EQ(pRest->Position().left, 132);
    EXPECT_EQ(pRest->Position().right, 320);
    EXPECT_EQ(::GetPixel(host.Manager().OffscreenDC(), 130, 50), RGB(255, 255, 255)) << "the band is gone";
}

// Real wheel messages over a horizontal layout whose bar shows scroll it sideways.
TEST_F(LayoutGuiTest, WheelScrollsAHorizontalLayoutSideways)
{
    auto* pRow = new CHorizontalLayoutUI;
    pRow->ApplyAttributeString(L"height=\"100\" hscrollbar=\"true\" scrollstepsize=\"9\"");
    for (int i = 0; i < 8; ++i) {
        auto* pCell = new CControlUI;
        pCell->ApplyAttribute(L"width", L"80");
        pRow->AddItem(pCell);
    }
    root->AddItem(pRow);
    Attach();
    ASSERT_EQ(pRow->ScrollRange().cx, 320);
    const POINT pt = ScreenPoint(50, 50);
    host.Send(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), MAKELPARAM(pt.x, pt.y));
    host.Send(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), MAKELPARAM(pt.x, pt.y));
    EXPECT_EQ(pRow->ScrollPosition().cx, 18);
    host.Send(WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), MAKELPARAM(pt.x, pt.y));
    EXPECT_EQ(pRow->ScrollPosition().cx, 9);
    host.PaintNow();
    EXPECT_EQ(pRow->ItemAt(0)->Position().left, -9);
    EXPECT_EQ(pRow->ItemAt(7)->Position().right, 640 - 9);
}

TEST_F(LayoutGuiTest, ImmediateSeparatorDragResizesWhileMoving)
{
    auto* pPanel = new CVerticalLayoutUI;
    pPanel->ApplyAttributeString(L"height=\"50\" sepheight=\"4\" sepimm=\"true\"");
    auto* pRest = new CControlUI;
    root->AddItem(pPanel);
    root->AddItem(pRest);
    Attach();

    host.Send(WM_MOUSEMOVE, 0, ClientPoint(100, 48));
    host.Send(WM_LBUTTONDOWN, MK_LBUTTON, ClientPoint(100, 48));
    host.Send(WM_MOUSEMOVE, MK_LBUTTON, ClientPoint(100, 60));
    host.Send(WM_MOUSEMOVE, MK_LBUTTON, ClientPoint(100, 90));
    host.PaintNow();
    EXPECT_EQ(pPanel->Position().bottom, 92);
    EXPECT_EQ(pRest->Position().top, 92);
    host.Send(WM_LBUTTONUP, 0, ClientPoint(100, 90));
    EXPECT_FALSE(pPanel->IsDragging());
}

TEST_F(LayoutGuiTest, RemovingAChildFromInsideItsOwnClickIsDeferredToTheCleanupMessage)
{
    int deleted = 0;
    auto* pChild = new CSelfRemovingUI(&deleted);
    pChild->ApplyAttribute(L"height", L"40");
    root->AddItem(pChild);
    Attach();

    host.Send(WM_MOUSEMOVE, 0, ClientPoint(20, 20));
    host.Send(WM_LBUTTONDOWN, MK_LBUTTON, ClientPoint(20, 20));
    host.Send(WM_LBUTTONUP, 0, ClientPoint(20, 20));
    EXPECT_TRUE(pChild->removed);
    EXPECT_TRUE(pChild->aliveAfterRemoval);
    EXPECT_EQ(deleted, 0);
    EXPECT_EQ(root->ItemCount(), 0);

    EXPECT_TRUE(wxlmtest::WaitUntil([&] {
        host.PumpRange(WM_UI_DELETE_LATER, WM_UI_DELETE_LATER);
        return deleted == 1;
    }));
}

TEST_F(LayoutGuiTest, HeldScrollButtonRepeatsWithItsTimerUntilReleased)
{
    root->ApplyAttributeString(L"vscrollbar=\"true\" scrollstepsize=\"5\"");
    for (int i = 0; i < 20; ++i) {
        auto* pRow = new CControlUI;
        pRow->ApplyAttribute(L"height", L"30");
        root->AddItem(pRow);
    }
    Attach();
    CScrollBarUI* pBar = root->VerticalScrollBar();
    ASSERT_TRUE(pBar->IsVisible());
    ASSERT_EQ(pBar->ScrollRange(), 600 - 200);
    const RECT rcDown = pBar->PartRect(CScrollBarUI::PartButton2);
    const int x = (rcDown.left + rcDown.right) / 2;
    const int y = (rcDown.top + rcDown.bottom) / 2;

    host.Send(WM_MOUSEMOVE, 0, ClientPoint(x, y));
    host.Send(WM_LBUTTONDOWN, MK_LBUTTON, ClientPoint(x, y));
    EXPECT_EQ(root->ScrollPosition().cy, 5) << "the press itself steps once";
    const UINT uSystemId = host.Manager().TimerSystemId(pBar, CScrollBarUI::RepeatTimerId);
    ASSERT_NE(uSystemId, 0u);
    EXPECT_TRUE(wxlmtest::WaitUntil([&] {
        host.PumpRange(WM_TIMER, WM_TIMER);
        return root->ScrollPosition().cy >= 20;
    }));
    host.Send(WM_LBUTTONUP, 0, ClientPoint(x, y));
    EXPECT_FALSE(::KillTimer(host.Hwnd(), uSystemId)) << "the release has killed the timer already";
}

TEST_F(LayoutGuiTest, WheelOverAChildScrollsItsContainer)
{
    root->ApplyAttributeString(L"vscrollbar=\"true\" scrollstepsize=\"7\"");
    for (int i = 0; i < 20; ++i) {
        auto* pRow = new CControlUI;
        pRow->ApplyAttribute(L"height", L"30");
        root->AddItem(pRow);
    }
    Attach();
    const POINT pt = ScreenPoint(50, 50);
    host.Send(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), MAKELPARAM(pt.x, pt.y));
    host.Send(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), MAKELPARAM(pt.x, pt.y));
    EXPECT_EQ(root->ScrollPosition().cy, 14);
    host.Send(WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), MAKELPARAM(pt.x, pt.y));
    EXPECT_EQ(root->ScrollPosition().cy, 7);
    host.PaintNow();
    EXPECT_EQ(root->ItemAt(0)->Position().top, -7);
}

TEST_F(LayoutGuiTest, MovingAControlInvalidatesOldAndNewAreaClippedByItsAncestors)
{
    auto* pPanel = new CVerticalLayoutUI;
    pPanel->ApplyAttributeString(L"float=\"true\" pos=\"0,0,200,150\"");
    auto* pChild = new CControlUI;
    pChild->ApplyAttributeString(L"float=\"true\" pos=\"10,10,50,50\"");
    root->AddItem(pPanel);
    pPanel->AddItem(pChild);
    Attach();
    RECT rcUpdate = {0, 0, 0, 0};
    ASSERT_FALSE(::GetUpdateRect(host.Hwnd(), &rcUpdate, FALSE));

    pChild->SetPosition(RECT{30, 30, 400, 400});
    ASSERT_TRUE(::GetUpdateRect(host.Hwnd(), &rcUpdate, FALSE));
    EXPECT_EQ(rcUpdate.left, 10);
    EXPECT_EQ(rcUpdate.top, 10);
    EXPECT_EQ(rcUpdate.right, 200);
    EXPECT_EQ(rcUpdate.bottom, 150);
    host.PaintNow();

    // Old and new area outside an ancestor: nothing to invalidate.
    pChild->SetPosition(RECT{250, 160, 300, 190});
    host.PaintNow();
    pChild->SetPosition(RECT{260, 170, 310, 195});
    EXPECT_FALSE(::GetUpdateRect(host.Hwnd(), &rcUpdate, FALSE));
    pChild->SetVisible(false);
    host.PaintNow();
    pChild->Repaint();
    EXPECT_FALSE(::GetUpdateRect(host.Hwnd(), &rcUpdate, FALSE)) << "an invisible control repaints nothing";
}
