#include <gtest/gtest.h>

#include "ListGuiSupport.h"
#include "ManagerFixture.h"
#include "SkinnedTestWindow.h"
#include "controls/ControlTable.h"
#include "controls/Edit.h"
#include "controls/EditWnd.h"
#include "controls/VerticalLayout.h"

#include <memory>
#include <string>

using namespace guitest;

namespace {

// Two edits one above the other in a window; the second one is where the focus goes next.
class EditGuiTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_NE(host.Hwnd(), nullptr);
        auto* pRoot = new CVerticalLayoutUI;
        pRoot->ApplyAttributeString(L"bkcolor=\"#FFFFFFFF\" inset=\"10,10,10,10\" childpadding=\"10\"");
        edit = new CEditUI;
        edit->ApplyAttributeString(L"name=\"first\" height=\"30\" bkcolor=\"#FFF0F0F0\"");
        other = new CEditUI;
        other->ApplyAttributeString(L"name=\"second\" height=\"30\"");
        pRoot->AddItem(edit);
        pRoot->AddItem(other);
        host.Manager().AttachRoot(pRoot);
        host.Manager().AddListener(&recorder);
        host.PaintNow(true);
    }
    void TearDown() override { host.Manager().RemoveListener(&recorder); }

    // A real click on the edit; the handle of the edit window it opened.
    HWND Open(CEditUI* pEdit)
    {
        ClickAt(host.Hwnd(), CenterOf(pEdit->Position()));
        return pEdit->EditWindow() != nullptr ? pEdit->EditWindow()->WindowHandle() : nullptr;
    }
    static void Type(HWND hWnd, const std::wstring& text)
    {
        for (wchar_t ch : text) {
            ::SendMessageW(hWnd, WM_CHAR, ch, 1);
        }
    }
    static std::wstring WindowText(HWND hWnd)
    {
        std::wstring text(static_cast<size_t>(::GetWindowTextLengthW(hWnd)) + 1, L'\0');
        text.resize(static_cast<size_t>(::GetWindowTextW(hWnd, text.data(), static_cast<int>(text.size()))));
        return text;
    }
    bool WaitClosed(HWND hWnd)
    {
        return PumpUntil([&] { return !::IsWindow(hWnd); });
    }
    // Pixels of the colour or near it.
    int CountPixels(const RECT& rc, COLORREF color) { return CountBackPixels(host.Manager(), rc, color, 100); }

    TestHostWindow host{320, 200};
    ListNotificationRecorder recorder;
    CEditUI* edit = nullptr;
    CEditUI* other = nullptr;
};

} // namespace

TEST_F(EditGuiTest, TypingReportsChangesAndTheTextStaysWhenTheFocusLeaves)
{
    edit->SetText(L"ab");
    EXPECT_EQ(recorder.Count(L"textchanged"), 0) << "text from the program is no edit";
    const HWND hEdit = Open(edit);
    ASSERT_NE(hEdit, nullptr);
    wchar_t szClass[32] = {};
    ::GetClassNameW(hEdit, szClass, 32);
    EXPECT_STREQ(szClass, L"EditWnd");
    EXPECT_EQ(::GetParent(hEdit), host.Hwnd());
    EXPECT_TRUE(::IsWindowVisible(hEdit));
    EXPECT_EQ(::GetFocus(), hEdit);
    EXPECT_EQ(reinterpret_cast<HFONT>(::SendMessageW(hEdit, WM_GETFONT, 0, 0)), edit->Font());
    EXPECT_EQ(WindowText(hEdit), L"ab");
    EXPECT_EQ(RectText(WindowRectOf(hEdit)), RectText([&] {
                  RECT rc = edit->EditRect();
                  ::MapWindowPoints(host.Hwnd(), nullptr, reinterpret_cast<POINT*>(&rc), 2);
                  return rc;
              }()));
    EXPECT_EQ(recorder.Count(L"textchanged"), 0);

    Type(hEdit, L"cd");
    EXPECT_EQ(recorder.Count(L"textchanged"), 2);
    EXPECT_EQ(recorder.Last(L"textchanged")->sender, edit);
    EXPECT_EQ(edit->Text(), L"abcd");
    KeyPress(hEdit, VK_RETURN);
    ASSERT_EQ(recorder.Count(L"return"), 1);
    EXPECT_EQ(recorder.Last(L"return")->sender, edit);
    ::SendMessageW(hEdit, WM_CHAR, L'\r', 1);
    EXPECT_EQ(WindowText(hEdit), L"abcd") << "Enter is no character of a single line";

    // A click on the other edit moves the focus and closes this window.
    const HWND hOther = Open(other);
    ASSERT_NE(hOther, nullptr);
    ASSERT_TRUE(WaitClosed(hEdit));
    EXPECT_EQ(edit->EditWindow(), nullptr);
    EXPECT_EQ(edit->Text(), L"abcd");
    EXPECT_EQ(host.Manager().FocusControl(), other);
    EXPECT_EQ(::GetFocus(), hOther);

    // The window takes the focus back from the edit window; typing on brings the edit window back.
    ::SetFocus(host.Hwnd());
    ASSERT_TRUE(WaitClosed(hOther));
    EXPECT_EQ(host.Manager().FocusControl(), other);
    ::SendMessageW(host.Hwnd(), WM_CHAR, L'x', 1);
    ASSERT_NE(other->EditWindow(), nullptr);
    const HWND hAgain = other->EditWindow()->WindowHandle();
    EXPECT_EQ(WindowText(hAgain), L"x");
    EXPECT_EQ(other->Text(), L"x");

    // Text set while the window is open shows in it.
    other->SetText(L"set");
    EXPECT_EQ(WindowText(hAgain), L"set");
    other->SetEnabled(false);
    ASSERT_TRUE(WaitClosed(hAgain)) << "a disabled edit has no window";
    EXPECT_EQ(other->Text(), L"set");
}

TEST_F(EditGuiTest, TheStylesOfTheControlRuleTheWindow)
{
    struct Case {
        const wchar_t* attributes;
        const wchar_t* typed;
        const wchar_t* expected;
        DWORD style;
    };
    const std::wstring forty(40, L'x');
    const Case cases[] = {
        {L"numberonly=\"true\"", L"a1b2", L"12", ES_NUMBER},
        {L"maxchar=\"3\"", L"abcdef", L"abc", 0},
        {L"maxchar=\"0\"", forty.c_str(), forty.c_str(), 0},
        {L"maxchar=\"-5\"", forty.c_str(), forty.c_str(), 0},
        {L"readonly=\"true\" text=\"keep\"", L"abc", L"keep", ES_READONLY},
        {L"password=\"true\" passwordchar=\"#\"", L"secret", L"secret", ES_PASSWORD},
        {L"align=\"right\"", L"r", L"r", ES_RIGHT},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.attributes);
        edit->SetText(L"");
        edit->ApplyAttributeString(L"numberonly=\"false\" maxchar=\"0\" readonly=\"false\" password=\"false\" "
                                   L"align=\"left\"");
        edit->ApplyAttributeString(c.attributes);
        other->RequestFocus();
        const HWND hEdit = Open(edit);
        ASSERT_NE(hEdit, nullptr);
        EXPECT_EQ(static_cast<DWORD>(::GetWindowLongW(hEdit, GWL_STYLE)) & c.style, c.style);
        Type(hEdit, c.typed);
        other->RequestFocus();
        ASSERT_TRUE(WaitClosed(hEdit));
        EXPECT_EQ(edit->Text(), c.expected);
    }
    EXPECT_EQ(edit->MaxChar(), 0) << "a negative limit is no limit";
    edit->ApplyAttributeString(L"password=\"true\" passwordchar=\"#\"");
    const HWND hEdit = Open(edit);
    ASSERT_NE(hEdit, nullptr);
    EXPECT_EQ(::SendMessageW(hEdit, EM_GETPASSWORDCHAR, 0, 0), L'#');
}

TEST_F(EditGuiTest, TheTipShowsInItsColourOnlyWhileTheEditIsEmpty)
{
    edit->ApplyAttributeString(L"tipvalue=\"Search here\" tipvaluecolor=\"#FFFF0000\" textcolor=\"#FF0000FF\"");
    other->RequestFocus(); // the window opened over the first Tab stop
    ASSERT_EQ(edit->EditWindow(), nullptr);
    host.PaintNow(true);
    const RECT rc = edit->Position();
    EXPECT_GT(CountPixels(rc, RGB(255, 0, 0)), 10);
    EXPECT_EQ(CountPixels(rc, RGB(0, 0, 255)), 0);

    edit->SetText(L"Text here");
    host.PaintNow(true);
    EXPECT_EQ(CountPixels(rc, RGB(255, 0, 0)), 0);
    EXPECT_GT(CountPixels(rc, RGB(0, 0, 255)), 10);

    // The password mask is painted in place of the text (fewer ink pixels than the letters).
    const int nPlain = CountPixels(rc, RGB(0, 0, 255));
    edit->ApplyAttributeString(L"password=\"true\" passwordchar=\".\"");
    host.PaintNow(true);
    const int nMasked = CountPixels(rc, RGB(0, 0, 255));
    EXPECT_GT(nMasked, 0);
    EXPECT_LT(nMasked, nPlain);
}

TEST_F(EditGuiTest, TheNativeColoursPaintTheEditWindow)
{
    edit->ApplyAttributeString(L"nativebkcolor=\"#FF00FF00\" nativetextcolor=\"#FFFF0000\" text=\"WWWW\"");
    const HWND hEdit = Open(edit);
    ASSERT_NE(hEdit, nullptr);
    ::RedrawWindow(hEdit, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    CUIWindowDC dc(hEdit);
    RECT rcClient = {};
    ::GetClientRect(hEdit, &rcClient);
    int nBack = 0;
    int nInk = 0;
    for (int y = 0; y < rcClient.bottom; ++y) {
        for (int x = 0; x < rcClient.right; ++x) {
            const COLORREF color = ::GetPixel(dc.DC(), x, y);
            nBack += color == RGB(0, 255, 0) ? 1 : 0;
            nInk += color == RGB(255, 0, 0) ? 1 : 0;
        }
    }
    EXPECT_GT(nBack, 10);
    EXPECT_GT(nInk, 10);
}

TEST_F(EditGuiTest, AMegabyteOfTextAndAControlGoneWithItsWindowOpen)
{
    const std::wstring big(1 << 20, L'm');
    edit->SetText(big.c_str());
    host.PaintNow(true);
    const HWND hEdit = Open(edit);
    ASSERT_NE(hEdit, nullptr);
    EXPECT_EQ(::GetWindowTextLengthW(hEdit), 1 << 20);
    Type(hEdit, L"z");
    EXPECT_EQ(edit->Text().GetLength(), (1 << 20) + 1);

    // The control goes while its window is open: the window follows, nothing is called back.
    auto* pRoot = static_cast<CVerticalLayoutUI*>(host.Manager().Root());
    ASSERT_TRUE(pRoot->RemoveItem(edit));
    edit = nullptr;
    EXPECT_TRUE(WaitClosed(hEdit));
    host.PaintNow(true);
}

TEST_F(EditGuiTest, NonsenseAttributeValuesAreHarmless)
{
    edit->SetText(L"keep");
    const wchar_t* names[] = {L"readonly",   L"numberonly",    L"password",      L"passwordchar",  L"maxchar",
                              L"normalimage", L"hotimage",      L"focusedimage",  L"disabledimage", L"tipvalue",
                              L"tipvaluecolor", L"nativetextcolor", L"nativebkcolor", L"textpadding",  L"align"};
    const wchar_t* values[] = {L"", L"maybe", L"-1", L"99999999999", L"#ZZ", L"1,2,3,4,5,6", L"-900,-900,-900,-900"};
    for (const wchar_t* pstrValue : values) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(pstrValue)));
        for (const wchar_t* pstrName : names) {
            edit->ApplyAttribute(pstrName, pstrValue);
        }
        edit->ApplyAttribute(nullptr, pstrValue);
        const HWND hEdit = Open(edit);
        ASSERT_NE(hEdit, nullptr);
        EXPECT_EQ(WindowText(hEdit), L"keep");
        other->RequestFocus();
        ASSERT_TRUE(WaitClosed(hEdit));
        host.PaintNow(true);
    }
    EXPECT_EQ(edit->Text(), L"keep");
    EXPECT_NE(edit->PasswordChar(), L'\0') << "an empty mask character keeps the old one";
    EXPECT_GE(edit->MaxChar(), 0);
}

TEST(EditElementTest, TheBuilderKnowsTheEditorsByTheirElementNames)
{
    const struct {
        const wchar_t* element;
        const wchar_t* typeName;
    } cases[] = {{L"Edit", L"EditUI"}, {L"RichEdit", L"RichEditUI"}};
    for (const auto& c : cases) {
        std::unique_ptr<CControlUI> control(CreateControlByElement(c.element));
        ASSERT_NE(control, nullptr) << c.element;
        EXPECT_STREQ(control->TypeName(), c.typeName);
        EXPECT_EQ(control->LookupInterface(c.element), control.get());
        EXPECT_EQ(control->LookupInterface(L"Control"), control.get());
    }
    CEditUI edit;
    EXPECT_NE(edit.LookupInterface(L"Label"), nullptr);
}
