#include <gtest/gtest.h>

#include "ListGuiSupport.h"
#include "ManagerFixture.h"
#include "SkinnedTestWindow.h"
#include "controls/Edit.h"
#include "controls/RichEdit.h"
#include "controls/ScrollBar.h"
#include "controls/TxtWinHost.h"
#include "controls/VerticalLayout.h"

#include <cstring>
#include <string>

using namespace guitest;

namespace {

// The clipboard's text, empty when there is none.
std::wstring ClipboardText(HWND hOwner)
{
    std::wstring text;
    if (!::OpenClipboard(hOwner)) {
        return text;
    }
    if (HANDLE hData = ::GetClipboardData(CF_UNICODETEXT)) {
        if (const auto* pText = static_cast<const wchar_t*>(::GlobalLock(hData))) {
            text = pText;
            ::GlobalUnlock(hData);
        }
    }
    ::CloseClipboard();
    return text;
}

bool PutOnClipboard(HWND hOwner, const std::wstring& text)
{
    if (!::OpenClipboard(hOwner)) {
        return false;
    }
    ::EmptyClipboard();
    const size_t cb = (text.size() + 1) * sizeof(wchar_t);
    HGLOBAL hData = ::GlobalAlloc(GMEM_MOVEABLE, cb);
    bool bDone = false;
    if (hData != nullptr) {
        std::memcpy(::GlobalLock(hData), text.c_str(), cb);
        ::GlobalUnlock(hData);
        bDone = ::SetClipboardData(CF_UNICODETEXT, hData) != nullptr;
        if (!bDone) {
            ::GlobalFree(hData);
        }
    }
    ::CloseClipboard();
    return bDone;
}

// A rich edit above a plain edit (the next Tab stop) in a window.
class RichEditGuiTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_NE(host.Hwnd(), nullptr);
        nHostsBefore = CTxtWinHost::LiveCount();
        root = new CVerticalLayoutUI;
        root->ApplyAttributeString(L"bkcolor=\"#FFFFFFFF\" inset=\"10,10,10,10\" childpadding=\"10\"");
        rich = new CRichEditUI;
        rich->ApplyAttributeString(L"name=\"rich\" height=\"120\" textcolor=\"#FF0000FF\"");
        next = new CEditUI;
        next->ApplyAttributeString(L"name=\"next\" height=\"30\"");
        root->AddItem(rich);
        root->AddItem(next);
        host.Manager().AttachRoot(root);
        host.Manager().AddListener(&recorder);
        host.PaintNow(true);
    }
    void TearDown() override
    {
        host.Manager().RemoveListener(&recorder);
        SetKeyDown(VK_CONTROL, false);
        SetKeyDown(VK_SHIFT, false);
    }

    void Focus()
    {
        ClickAt(host.Hwnd(), POINT{rich->TextRect().right - 4, rich->TextRect().bottom - 4});
        ASSERT_EQ(host.Manager().FocusControl(), rich);
    }
    void Key(WPARAM vk, bool bControl = false, bool bShift = false)
    {
        SetKeyDown(VK_CONTROL, bControl);
        SetKeyDown(VK_SHIFT, bShift);
        ::SendMessageW(host.Hwnd(), WM_KEYDOWN, vk, 1);
        ::SendMessageW(host.Hwnd(), WM_KEYUP, vk, 0xC0000001);
        SetKeyDown(VK_CONTROL, false);
        SetKeyDown(VK_SHIFT, false);
    }
    void Type(const std::wstring& text)
    {
        for (wchar_t ch : text) {
            ::SendMessageW(host.Hwnd(), WM_CHAR, ch, 1);
        }
    }
    // A key as the message loop delivers it: pre-translation first; a key it leaves alone is
    // dispatched and its character follows.
    void LoopKey(WPARAM vk, wchar_t ch)
    {
        MSG msg = MakeMsg(host.Hwnd(), WM_KEYDOWN, vk, 1);
        if (CWindowManagerUI::PreDispatch(&msg)) {
            return;
        }
        ::DispatchMessageW(&msg);
        msg = MakeMsg(host.Hwnd(), WM_CHAR, ch, 1);
        if (!CWindowManagerUI::PreDispatch(&msg)) {
            ::DispatchMessageW(&msg);
        }
    }
    // The selected text as the services have it.
    std::wstring Selection()
    {
        CHARRANGE range = {};
        rich->SendTextMessage(EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&range));
        const std::wstring text = rich->Text().GetData();
        if (range.cpMin < 0 || range.cpMax > static_cast<LONG>(text.size()) || range.cpMin > range.cpMax) {
            return L"<bad range>";
        }
        return text.substr(static_cast<size_t>(range.cpMin), static_cast<size_t>(range.cpMax - range.cpMin));
    }
    // Pixels of the colour or near it.
    int CountPixels(const RECT& rc, COLORREF color) { return CountBackPixels(host.Manager(), rc, color, 100); }

    TestHostWindow host{320, 220};
    ListNotificationRecorder recorder;
    CVerticalLayoutUI* root = nullptr;
    CRichEditUI* rich = nullptr;
    CEditUI* next = nullptr;
    LONG nHostsBefore = 0;
};

} // namespace

TEST_F(RichEditGuiTest, TypedTextIsReportedAndPaintedInTheTextColour)
{
    ASSERT_NE(rich->TextServices(), nullptr) << "the system's text services";
    const RECT rcText = rich->TextRect();
    // The window focused the first Tab stop, the rich edit; its caret (in the text colour) goes.
    EXPECT_TRUE(rich->IsFocused());
    next->RequestFocus();
    host.PaintNow(true);
    EXPECT_EQ(CountPixels(rcText, RGB(0, 0, 255)), 0);
    rich->SetText(L"Hello");
    EXPECT_EQ(rich->Text(), L"Hello");
    EXPECT_EQ(recorder.Count(L"textchanged"), 0) << "text from the program is no edit";
    Focus();
    Key(VK_END, true);
    Type(L" you");
    EXPECT_EQ(rich->Text(), L"Hello you");
    EXPECT_EQ(recorder.Count(L"textchanged"), 4);
    EXPECT_EQ(recorder.Last(L"textchanged")->sender, rich);
    host.PaintNow(true);
    EXPECT_GT(CountPixels(rcText, RGB(0, 0, 255)), 20);
}

TEST_F(RichEditGuiTest, ReturnAndCtrlReturnFollowTheirAttributes)
{
    struct Case {
        const wchar_t* attributes;
        bool control;
        bool newLine;
    };
    const Case cases[] = {
        {L"multiline=\"true\" wantreturn=\"true\"", false, true},
        {L"multiline=\"true\" wantreturn=\"false\"", false, false},
        {L"multiline=\"true\" wantctrlreturn=\"true\"", true, true},
        {L"multiline=\"true\" wantctrlreturn=\"false\"", true, false},
        {L"multiline=\"false\" wantreturn=\"true\"", false, false},
    };
    Focus();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.attributes);
        rich->ApplyAttributeString(L"wantreturn=\"true\" wantctrlreturn=\"true\"");
        rich->ApplyAttributeString(c.attributes);
        rich->SetText(L"ab");
        Key(VK_END, true);
        const int nReturns = recorder.Count(L"return");
        SetKeyDown(VK_CONTROL, c.control);
        ::SendMessageW(host.Hwnd(), WM_KEYDOWN, VK_RETURN, 1);
        ::SendMessageW(host.Hwnd(), WM_CHAR, c.control ? L'\n' : L'\r', 1);
        ::SendMessageW(host.Hwnd(), WM_KEYUP, VK_RETURN, 0xC0000001);
        SetKeyDown(VK_CONTROL, false);
        const std::wstring text = rich->Text().GetData();
        EXPECT_EQ(text.find(L'\r') != std::wstring::npos || text.find(L'\n') != std::wstring::npos, c.newLine)
            << "text: " << testing::PrintToString(text);
        EXPECT_EQ(recorder.Count(L"return") - nReturns, c.newLine ? 0 : 1);
    }
}

TEST_F(RichEditGuiTest, TabGoesIntoTheTextOnlyWhenWanted)
{
    rich->ApplyAttributeString(L"wanttab=\"true\"");
    Focus();
    rich->SetText(L"ab");
    Key(VK_END, true);
    LoopKey(VK_TAB, L'\t');
    EXPECT_EQ(rich->Text(), L"ab\t");
    EXPECT_EQ(host.Manager().FocusControl(), rich);

    rich->ApplyAttributeString(L"wanttab=\"false\"");
    LoopKey(VK_TAB, L'\t');
    EXPECT_EQ(rich->Text(), L"ab\t");
    EXPECT_EQ(host.Manager().FocusControl(), next) << "Tab moved the focus on";
}

TEST_F(RichEditGuiTest, SelectionWithKeysAndMouseAndTheClipboardKeys)
{
    rich->SetText(L"alpha beta");
    Focus();
    // Keyboard: Home, then Shift+End selects the line; Ctrl+C copies it.
    Key(VK_HOME, true);
    Key(VK_END, false, true);
    EXPECT_EQ(Selection(), L"alpha beta");
    ASSERT_TRUE(PutOnClipboard(host.Hwnd(), L"old"));
    Key('C', true);
    EXPECT_EQ(ClipboardText(host.Hwnd()), L"alpha beta");

    // Mouse: a drag from the text's left edge over its first letters selects them.
    const RECT rcText = rich->TextRect();
    const int y = rcText.top + 6;
    ::SendMessageW(host.Hwnd(), WM_MOUSEMOVE, 0, ClientPoint(rcText.left + 1, y));
    ::SendMessageW(host.Hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, ClientPoint(rcText.left + 1, y));
    ::SendMessageW(host.Hwnd(), WM_MOUSEMOVE, MK_LBUTTON, ClientPoint(rcText.left + 25, y));
    ::SendMessageW(host.Hwnd(), WM_LBUTTONUP, 0, ClientPoint(rcText.left + 25, y));
    const std::wstring dragged = Selection();
    EXPECT_FALSE(dragged.empty());
    EXPECT_EQ(std::wstring(L"alpha beta").rfind(dragged, 0), 0u) << testing::PrintToString(dragged);

    // Ctrl+X cuts the selection, Ctrl+V puts it back after the end.
    Key('X', true);
    EXPECT_EQ(ClipboardText(host.Hwnd()), dragged);
    EXPECT_EQ(rich->Text(), std::wstring(L"alpha beta").substr(dragged.size()).c_str());
    Key(VK_END, true);
    Key('V', true);
    EXPECT_EQ(rich->Text(), (std::wstring(L"alpha beta").substr(dragged.size()) + dragged).c_str());
    EXPECT_GE(recorder.Count(L"textchanged"), 2);
}

TEST_F(RichEditGuiTest, ReadOnlyAndPasswordAndTheLimit)
{
    Focus();
    struct Case {
        const wchar_t* attributes;
        const wchar_t* expected;
    };
    const Case cases[] = {
        {L"readonly=\"true\"", L""},
        {L"maxchar=\"3\"", L"abc"},
        {L"maxchar=\"0\"", L"abcdef"},
        {L"maxchar=\"-1\"", L"abcdef"},
        {L"maxchar=\"nonsense\"", L"abcdef"},
        {L"password=\"true\"", L"abcdef"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.attributes);
        rich->ApplyAttributeString(L"readonly=\"false\" password=\"false\" maxchar=\"0\"");
        rich->SetText(L"");
        rich->ApplyAttributeString(c.attributes);
        Type(L"abcdef");
        EXPECT_EQ(rich->Text(), c.expected);
        host.PaintNow(true);
    }
    EXPECT_EQ(rich->MaxChar(), 0);
}

TEST_F(RichEditGuiTest, ScrollBarsFollowTheTextAndMoveIt)
{
    rich->ApplyAttributeString(L"vscrollbar=\"true\" autovscroll=\"true\"");
    std::wstring lines;
    for (int i = 0; i < 60; ++i) {
        lines += L"line " + std::to_wstring(i) + L"\r";
    }
    rich->SetText(lines.c_str());
    host.PaintNow(true);
    CScrollBarUI* pBar = rich->VerticalScrollBar();
    ASSERT_NE(pBar, nullptr);
    EXPECT_TRUE(pBar->IsVisible());
    EXPECT_GT(pBar->ScrollRange(), 100);
    EXPECT_LT(rich->TextRect().right, pBar->Position().left + 1) << "the text leaves room for the bar";

    rich->ScrollLineDown();
    rich->ScrollLineDown();
    EXPECT_GT(rich->ScrollPosition().cy, 0);
    POINT pt = {};
    rich->SendTextMessage(EM_GETSCROLLPOS, 0, reinterpret_cast<LPARAM>(&pt));
    EXPECT_EQ(pt.y, rich->ScrollPosition().cy);
    rich->ScrollToBottom();
    EXPECT_EQ(rich->ScrollPosition().cy, pBar->ScrollRange());
    host.PaintNow(true);

    rich->SetText(L"short");
    EXPECT_FALSE(pBar->IsVisible()) << "nothing to scroll, no bar";
}

TEST_F(RichEditGuiTest, TheTextServicesAndTheHostAreReleasedWithTheControl)
{
    rich->SetText(L"going");
    Focus();
    ITextServices* pServices = rich->TextServices();
    ASSERT_NE(pServices, nullptr);
    EXPECT_EQ(CTxtWinHost::LiveCount(), nHostsBefore + 1);
    pServices->AddRef();
    root->SetDelayedDestroy(false);
    ASSERT_TRUE(root->RemoveItem(rich));
    rich = nullptr;
    EXPECT_EQ(pServices->Release(), 0u) << "the control held the last other reference";
    EXPECT_EQ(CTxtWinHost::LiveCount(), nHostsBefore);
    host.PaintNow(true);
}

TEST_F(RichEditGuiTest, AMegabyteOfText)
{
    // 16384 lines of 63 characters and a paragraph mark: one mebibyte of UTF-16 code units.
    std::wstring big;
    for (int i = 0; i < 16384; ++i) {
        big.append(63, static_cast<wchar_t>(L'a' + i % 26));
        big += L'\r';
    }
    rich->ApplyAttributeString(L"vscrollbar=\"true\" autovscroll=\"true\"");
    rich->SetText(big.c_str());
    EXPECT_EQ(rich->Text().GetLength(), 1 << 20);
    host.PaintNow(true);
    EXPECT_TRUE(rich->VerticalScrollBar()->IsVisible());
    Focus();
    Key(VK_END, true);
    Type(L"!");
    EXPECT_EQ(rich->Text().GetLength(), (1 << 20) + 1);
    EXPECT_EQ(rich->ScrollPosition().cy, rich->ScrollRange().cy) << "the caret at the end is in view";
}

TEST_F(RichEditGuiTest, NonsenseAttributeValuesAreHarmless)
{
    rich->SetText(L"keep\rthis");
    const wchar_t* names[] = {L"vscrollbar", L"autovscroll", L"hscrollbar", L"autohscroll", L"wanttab",
                              L"wantreturn", L"wantctrlreturn", L"rich", L"multiline", L"readonly", L"password",
                              L"align", L"font", L"textcolor", L"maxchar", L"normalimage", L"textpadding",
                              L"tipvalue", L"tipvaluecolor"};
    const wchar_t* values[] = {L"", L"maybe", L"-1", L"99999999999", L"#ZZ", L"1,2,3,4,5,6", L"-900,-900,-900,-900"};
    for (const wchar_t* pstrValue : values) {
        for (const wchar_t* pstrName : names) {
            rich->ApplyAttribute(pstrName, pstrValue);
        }
        rich->ApplyAttribute(nullptr, pstrValue);
        host.PaintNow(true);
    }
    EXPECT_EQ(rich->Text(), L"keep\rthis") << "attributes never touch the text";
    EXPECT_EQ(rich->MaxChar(), 0);
    EXPECT_FALSE(rich->IsMultiLine());
    EXPECT_GE(rich->TextRect().right, rich->TextRect().left);
}
