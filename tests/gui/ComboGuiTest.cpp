#include <gtest/gtest.h>

#include "ListGuiSupport.h"
#include "ManagerFixture.h"
#include "SkinnedTestWindow.h"
#include "controls/ComboBox.h"
#include "controls/ComboWnd.h"
#include "controls/Label.h"
#include "controls/ListLabelElement.h"
#include "controls/VerticalLayout.h"
#include "core/WindowWnd.h"

#include <algorithm>
#include <cstdlib>
#include <string>
#include <utility>

using namespace guitest;

namespace {

// A combo box of 20 items (and one control that is not a list element) at the top of a window.
class ComboGuiTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_NE(host.Hwnd(), nullptr);
        auto* pRoot = new CVerticalLayoutUI;
        pRoot->ApplyAttributeString(L"bkcolor=\"#FFFFFFFF\" inset=\"20,20,20,20\"");
        combo = new CComboBoxUI;
        combo->ApplyAttributeString(L"height=\"24\" dropboxsize=\"0,100\"");
        for (int i = 0; i < 20; ++i) {
            auto* pItem = new CListLabelElementUI;
            pItem->ApplyAttribute(L"height", L"20");
            pItem->SetText((L"item " + std::to_wstring(i)).c_str());
            combo->AddItem(pItem);
        }
        auto* pStranger = new CLabelUI;
        pStranger->SetText(L"stranger");
        combo->AddItem(pStranger);
        pRoot->AddItem(combo);
        host.Manager().AttachRoot(pRoot);
        host.Manager().AddListener(&recorder);
        host.PaintNow(true);
    }
    void TearDown() override { host.Manager().RemoveListener(&recorder); }

    HWND Open()
    {
        ClickAt(host.Hwnd(), CenterOf(combo->Position()));
        return combo->DropWindow() != nullptr ? combo->DropWindow()->WindowHandle() : nullptr;
    }
    bool WaitClosed(HWND hDrop)
    {
        return PumpUntil([&] { return !combo->IsDropped() && !::IsWindow(hDrop); });
    }

    TestHostWindow host{320, 300};
    ListNotificationRecorder recorder;
    CComboBoxUI* combo = nullptr;
};

} // namespace

TEST_F(ComboGuiTest, TheMouseOpensTheBoxAndTheKeyboardPicksAnItem)
{
    const HWND hDrop = Open();
    ASSERT_NE(hDrop, nullptr);
    EXPECT_EQ(recorder.Count(L"dropdown"), 1);
    EXPECT_TRUE(::IsWindowVisible(hDrop));
    wchar_t szClass[32] = {};
    ::GetClassNameW(hDrop, szClass, 32);
    EXPECT_STREQ(szClass, L"ComboWnd");
    RECT rcDrop = {};
    ::GetWindowRect(hDrop, &rcDrop);
    POINT ptBelow = {combo->Position().left, combo->Position().bottom};
    ::ClientToScreen(host.Hwnd(), &ptBelow);
    EXPECT_EQ(rcDrop.top, ptBelow.y);
    EXPECT_EQ(rcDrop.left, ptBelow.x);
    EXPECT_EQ(rcDrop.bottom - rcDrop.top, 100) << "dropboxsize";
    EXPECT_EQ(rcDrop.right - rcDrop.left, combo->Width());

    KeyPress(hDrop, VK_DOWN);
    KeyPress(hDrop, VK_DOWN);
    KeyPress(hDrop, VK_END);
    EXPECT_EQ(combo->CurSel(), 19) << "the stranger at the end is skipped";
    EXPECT_EQ(recorder.Count(L"itemselect"), 3);
    // The box scrolled the chosen item into its view.
    CControlUI* pLast = combo->ItemAt(19);
    RECT rcClient = {};
    ::GetClientRect(hDrop, &rcClient);
    EXPECT_LE(pLast->Position().bottom, rcClient.bottom);
    EXPECT_GE(pLast->Position().top, rcClient.top);

    KeyPress(hDrop, VK_RETURN);
    ASSERT_TRUE(WaitClosed(hDrop));
    EXPECT_EQ(combo->Text(), L"item 19");
    EXPECT_EQ(pLast->Manager(), &host.Manager()) << "the items came back";
    EXPECT_EQ(pLast->Parent(), combo);

    // Closed, the keys still move the selection.
    ClickAt(host.Hwnd(), POINT{300, 280});
    combo->RequestFocus();
    KeyPress(host.Hwnd(), VK_HOME);
    EXPECT_EQ(combo->Text(), L"item 0");
    KeyPress(host.Hwnd(), VK_DOWN);
    EXPECT_EQ(combo->Text(), L"item 1");
}

TEST_F(ComboGuiTest, AClickOnAnItemChoosesItAndAClickOutsideOrEscapeCloses)
{
    HWND hDrop = Open();
    ASSERT_NE(hDrop, nullptr);
    host.PumpRange(0, 0);
    const POINT ptItem = CenterOf(combo->ItemAt(3)->Position());
    ClickAt(hDrop, ptItem);
    ASSERT_TRUE(WaitClosed(hDrop));
    EXPECT_EQ(combo->CurSel(), 3);
    ASSERT_NE(recorder.Last(L"itemselect"), nullptr);
    EXPECT_EQ(recorder.Last(L"itemselect")->sender, combo);
    host.PaintNow();

    hDrop = Open();
    ASSERT_NE(hDrop, nullptr);
    ClickAt(host.Hwnd(), POINT{300, 280});
    ASSERT_TRUE(WaitClosed(hDrop)) << "a click outside closes the box";
    EXPECT_EQ(combo->CurSel(), 3);

    hDrop = Open();
    ASSERT_NE(hDrop, nullptr);
    KeyPress(hDrop, VK_ESCAPE);
    ASSERT_TRUE(WaitClosed(hDrop));
    EXPECT_EQ(combo->CurSel(), 3);
    EXPECT_EQ(recorder.Count(L"dropdown"), 3);

    // A disabled combo does not open.
    combo->SetEnabled(false);
    EXPECT_EQ(Open(), nullptr);
}

namespace {

// Left and right edges of what the face of a plain combo draws over its white background.
std::pair<int, int> InkSpan(CWindowManagerUI& manager, const RECT& rc)
{
    int nLeft = rc.right;
    int nRight = rc.left - 1;
    for (int y = rc.top; y < rc.bottom; ++y) {
        for (int x = rc.left; x < rc.right; ++x) {
            if (BackPixel(manager, x, y) != RGB(255, 255, 255)) {
                nLeft = std::min(nLeft, x);
                nRight = std::max(nRight, x);
            }
        }
    }
    return {nLeft, nRight};
}

} // namespace

TEST(ComboFaceGuiTest, TheFaceAlignsTheSelectedTextAsTheItemsAre)
{
    struct Case {
        const wchar_t* align;
        bool nearLeft;
        bool nearRight;
    };
    for (const Case& c : {Case{L"left", true, false}, Case{L"center", false, false}, Case{L"right", false, true}}) {
        TestHostWindow host{320, 100};
        ASSERT_NE(host.Hwnd(), nullptr);
        auto* pRoot = new CVerticalLayoutUI;
        pRoot->ApplyAttributeString(L"bkcolor=\"#FFFFFFFF\" inset=\"20,20,20,20\"");
        auto* pCombo = new CComboUI;
        pCombo->ApplyAttributeString(L"height=\"24\" textpadding=\"6,0,6,0\"");
        pCombo->ApplyAttribute(L"itemalign", c.align);
        auto* pItem = new CListLabelElementUI;
        pItem->SetText(L"WWWW");
        pCombo->AddItem(pItem);
        pRoot->AddItem(pCombo);
        host.Manager().AttachRoot(pRoot);
        host.PaintNow(true);
        pCombo->RequestFocus();
        KeyPress(host.Hwnd(), VK_HOME);
        ASSERT_EQ(pCombo->Text(), L"WWWW") << c.align;
        host.PaintNow(true);

        const RECT rcFace = pCombo->Position();
        const auto [nLeft, nRight] = InkSpan(host.Manager(), rcFace);
        ASSERT_LE(nLeft, nRight) << c.align << ": the text is drawn";
        const int nLeftGap = nLeft - rcFace.left;
        const int nRightGap = rcFace.right - 1 - nRight;
        EXPECT_EQ(nLeftGap < 12, c.nearLeft) << c.align << " gap " << nLeftGap;
        EXPECT_EQ(nRightGap < 12, c.nearRight) << c.align << " gap " << nRightGap;
        if (!c.nearLeft && !c.nearRight) {
            EXPECT_LE(std::abs(nLeftGap - nRightGap), 4) << "centred";
        }
    }
}
