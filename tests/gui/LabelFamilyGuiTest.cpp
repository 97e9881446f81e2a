#include <gtest/gtest.h>

#include "ManagerFixture.h"
#include "SkinnedTestWindow.h"
#include "controls/Button.h"
#include "controls/Label.h"
#include "controls/Option.h"
#include "controls/Text.h"
#include "core/NotifyPump.h"

#include <algorithm>
#include <string>
#include <vector>

using namespace guitest;

namespace {

class NotificationRecorder : public INotifyUI {
public:
    void OnNotification(UINotification& notification) override
    {
        records.push_back({notification.type.GetData(), notification.sender, notification.wParam});
    }
    struct Record {
        std::wstring type;
        CControlUI* sender;
        WPARAM wParam;
    };
    std::vector<std::wstring> Types(CControlUI* pSender) const
    {
        std::vector<std::wstring> types;
        for (const Record& record : records) {
            if (record.sender == pSender) {
                types.push_back(record.type);
            }
        }
        return types;
    }
    std::vector<Record> records;
};

// A real window with the label family's controls placed at fixed rectangles.
class LabelFamilyGuiTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_NE(host.Hwnd(), nullptr);
        root = host.AttachNewRoot(&log);
        host.Manager().AddListener(&recorder);
    }
    void TearDown() override { host.Manager().RemoveListener(&recorder); }

    template <class T> T* Place(RECT rc, const wchar_t* pstrAttributes = L"")
    {
        auto* pControl = new T;
        pControl->ApplyAttributeString(pstrAttributes);
        root->AddExisting(pControl);
        pControl->SetPosition(rc);
        return pControl;
    }
    void Press(int x, int y) { host.Send(WM_LBUTTONDOWN, MK_LBUTTON, ClientPoint(x, y)); }
    void Release(int x, int y) { host.Send(WM_LBUTTONUP, 0, ClientPoint(x, y)); }
    void Key(WPARAM vk)
    {
        host.Send(WM_KEYDOWN, vk, 1);
        host.Send(WM_KEYUP, vk, 0xC0000001);
    }

    EventLog log;
    NotificationRecorder recorder;
    TestHostWindow host;
    CTestContainerUI* root = nullptr;
};

} // namespace

TEST_F(LabelFamilyGuiTest, ButtonClicksOnlyWhenReleasedInside)
{
    auto* pButton = Place<CButtonUI>(RECT{20, 20, 120, 50}, L"text=\"OK\"");
    host.PaintNow(true);
    host.Send(WM_MOUSEMOVE, 0, ClientPoint(40, 30));
    Press(40, 30);
    host.Send(WM_MOUSEMOVE, MK_LBUTTON, ClientPoint(200, 150));
    Release(200, 150);
    auto types = recorder.Types(pButton);
    EXPECT_EQ(std::count(types.begin(), types.end(), L"click"), 0);

    host.Send(WM_MOUSEMOVE, 0, ClientPoint(40, 30));
    Press(40, 30);
    host.Send(WM_MOUSEMOVE, MK_LBUTTON, ClientPoint(200, 150));
    host.Send(WM_MOUSEMOVE, MK_LBUTTON, ClientPoint(60, 35));
    Release(60, 35);
    types = recorder.Types(pButton);
    EXPECT_EQ(std::count(types.begin(), types.end(), L"click"), 1);
    EXPECT_EQ(pButton->ButtonState() & (ButtonStatePushed | ButtonStateCaptured), 0u);
}

TEST_F(LabelFamilyGuiTest, SpaceAndReturnInvokeTheFocusedButton)
{
    auto* pButton = Place<CButtonUI>(RECT{20, 20, 120, 50});
    host.PaintNow(true);
    host.Manager().SetFocusControl(pButton);
    ASSERT_TRUE(pButton->IsFocused());
    Key(VK_SPACE);
    Key(VK_RETURN);
    Key('Q');
    auto types = recorder.Types(pButton);
    EXPECT_EQ(std::count(types.begin(), types.end(), L"click"), 2);
    pButton->SetKeyboardEnabled(false);
    Key(VK_SPACE);
    types = recorder.Types(pButton);
    EXPECT_EQ(std::count(types.begin(), types.end(), L"click"), 2);
}

TEST_F(LabelFamilyGuiTest, HotButtonRepaintsInItsHotColour)
{
    auto* pButton = Place<CButtonUI>(RECT{20, 20, 120, 50}, L"bkcolor=\"#FFFFFFFF\" hotbkcolor=\"#FF2050A0\"");
    host.PaintNow(true);
    const HDC hBackDC = host.Manager().OffscreenDC();
    ASSERT_NE(hBackDC, nullptr);
    EXPECT_NE(::GetPixel(hBackDC, 70, 35), RGB(0x20, 0x50, 0xA0));
    host.Send(WM_MOUSEMOVE, 0, ClientPoint(70, 35));
    ASSERT_NE(pButton->ButtonState() & ButtonStateHot, 0u);
    host.PaintNow();
    EXPECT_EQ(::GetPixel(hBackDC, 70, 35), RGB(0x20, 0x50, 0xA0));
    EXPECT_NE(::GetPixel(hBackDC, 130, 35), RGB(0x20, 0x50, 0xA0));
    pButton->SetEnabled(false);
    EXPECT_EQ(pButton->ButtonState(), 0u);
    host.PaintNow();
    EXPECT_EQ(::GetPixel(hBackDC, 70, 35), RGB(0xFF, 0xFF, 0xFF));
}

TEST_F(LabelFamilyGuiTest, OptionGroupThroughClicks)
{
    COptionUI* options[3];
    for (int i = 0; i < 3; ++i) {
        options[i] = Place<COptionUI>(RECT{20, 20 + 40 * i, 120, 50 + 40 * i}, L"group=\"g\"");
    }
    host.PaintNow(true);
    for (const int i : {0, 2, 2}) {
        Press(40, 30 + 40 * i);
        Release(40, 30 + 40 * i);
    }
    EXPECT_FALSE(options[0]->IsSelected());
    EXPECT_FALSE(options[1]->IsSelected());
    EXPECT_TRUE(options[2]->IsSelected());
    const auto types = recorder.Types(options[2]);
    EXPECT_EQ(std::count(types.begin(), types.end(), L"selectchanged"), 2);
}

TEST_F(LabelFamilyGuiTest, TextLinkShowsTheHandAndSendsItsIndex)
{
    auto* pText =
        Place<CTextUI>(RECT{10, 10, 300, 100}, L"showhtml=\"true\" text=\"see <a one>one</a> or <a two>two</a>\"");
    host.PaintNow(true);
    ASSERT_EQ(pText->LinkCount(), 2);
    const RECT rcLink = pText->LinkRect(1);
    const POINT pt = {(rcLink.left + rcLink.right) / 2, (rcLink.top + rcLink.bottom) / 2};

    CursorLock cursor;
    ASSERT_TRUE(cursor.MoveTo(host.Hwnd(), pt.x, pt.y));
    host.Send(WM_MOUSEMOVE, 0, ClientPoint(pt.x, pt.y));
    ::SetCursor(::LoadCursorW(nullptr, IDC_ARROW));
    host.Send(WM_SETCURSOR, reinterpret_cast<WPARAM>(host.Hwnd()), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(::GetCursor(), ::LoadCursorW(nullptr, IDC_HAND));

    Press(pt.x, pt.y);
    Release(pt.x, pt.y);
    std::vector<WPARAM> links;
    for (const auto& record : recorder.records) {
        if (record.sender == pText && record.type == L"link") {
            links.push_back(record.wParam);
        }
    }
    EXPECT_EQ(links, std::vector<WPARAM>{1});
}

TEST_F(LabelFamilyGuiTest, HeightsFollowTheFontWithoutDeclaration)
{
    auto* pLabel = Place<CLabelUI>(RECT{0, 0, 50, 20});
    auto* pButton = Place<CButtonUI>(RECT{0, 30, 50, 50});
    host.PaintNow(true);
    const int nFontHeight = host.Manager().FontInfoAt(-1)->metrics.tmHeight;
    ASSERT_GT(nFontHeight, 0);
    EXPECT_EQ(pLabel->MeasureSize(SIZE{300, 300}).cy, nFontHeight + 4);
    EXPECT_EQ(pButton->MeasureSize(SIZE{300, 300}).cy, nFontHeight + 8);
}

namespace {

// Dispatches what the thread has queued, counting the paints of hWnd, until nothing is left or
// nLimit paints were seen (a window that never settles would keep this loop busy for ever).
int PaintsUntilQuiet(HWND hWnd, int nLimit)
{
    int nPaints = 0;
    MSG msg = {};
    while (nPaints < nLimit && ::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        nPaints += msg.message == WM_PAINT && msg.hwnd == hWnd ? 1 : 0;
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    return nPaints;
}

} // namespace

TEST(LabelFamilyWindowTest, WindowWithAutomaticWidthsStopsPaintingOnceShown)
{
    CSkinnedTestWindow window(L"<Window size=\"360,60\"><HorizontalLayout bkcolor=\"#FFFFFFFF\">"
                              L"<Label autocalcwidth=\"true\" text=\"label\" />"
                              L"<Text autocalcwidth=\"true\" height=\"20\" text=\"text\" />"
                              L"<Button autocalcwidth=\"true\" height=\"20\" text=\"button\" />"
                              L"</HorizontalLayout></Window>");
    const HWND hWnd = window.CreateAt(nullptr, 60, 60);
    ASSERT_NE(hWnd, nullptr);
    constexpr int kLimit = 50;
    const int nFirst = PaintsUntilQuiet(hWnd, kLimit);
    EXPECT_GE(nFirst, 1);
    // Showing may take a second paint (the first focus move repaints the button); a window that
    // never settles runs into the limit.
    EXPECT_LE(nFirst, 5) << "the window keeps laying out and repainting";
    RECT rcUpdate = {};
    EXPECT_FALSE(::GetUpdateRect(hWnd, &rcUpdate, FALSE));
    EXPECT_FALSE(window.Manager().IsLayoutNeeded());

    // Once settled, an invalidation is answered by a paint, and then the window is quiet again.
    const RECT rcSmall = {0, 0, 10, 10};
    ::InvalidateRect(hWnd, &rcSmall, FALSE);
    const int nSecond = PaintsUntilQuiet(hWnd, kLimit);
    EXPECT_GE(nSecond, 1);
    EXPECT_LE(nSecond, 3);
    EXPECT_FALSE(::GetUpdateRect(hWnd, &rcUpdate, FALSE));
}
