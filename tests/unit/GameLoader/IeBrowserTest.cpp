#include <gtest/gtest.h>

#include <windows.h>
#include <oleauto.h>

#include <string>
#include <vector>

#include "IeBrowser.h"
#include "LoaderMessages.h"
#include "LogFixture.h"
#include "OpenGameRequests.h"

namespace {

// A message-only window standing in for the main window; what the bridge posts is read back.
class PostedMessages {
public:
    PostedMessages() { m_hWnd = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr); }
    ~PostedMessages()
    {
        for (const MSG& msg : Drain())
            OpenGameRequests::Take(msg.wParam);
        DestroyWindow(m_hWnd);
    }
    HWND Hwnd() const { return m_hWnd; }
    std::vector<MSG> Drain()
    {
        std::vector<MSG> posted;
        MSG msg;
        while (PeekMessageW(&msg, m_hWnd, WM_USER, 0x7FFF, PM_REMOVE))
            posted.push_back(msg);
        return posted;
    }

private:
    HWND m_hWnd = nullptr;
};

// A VARIANT that clears itself.
struct Variant : VARIANT {
    Variant() { VariantInit(this); }
    explicit Variant(const wchar_t* text, UINT length)
    {
        VariantInit(this);
        vt = VT_BSTR;
        bstrVal = SysAllocStringLen(text, length);
    }
    explicit Variant(const wchar_t* text) : Variant(text, static_cast<UINT>(wcslen(text))) {}
    ~Variant() { VariantClear(this); }
    Variant(const Variant&) = delete;
    Variant& operator=(const Variant&) = delete;
};

// The script engine's route: look the name up on window.external, then call it as a method.
class IeBrowserScriptTest : public ::testing::Test {
protected:
    DISPID IdOf(const wchar_t* name)
    {
        LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
        DISPID id = 12345;
        EXPECT_EQ(External()->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id), S_OK);
        return id;
    }
    HRESULT Call(DISPID id, std::vector<VARIANT*> args, VARIANT* result = nullptr, UINT* argErr = nullptr)
    {
        std::vector<VARIANT> reversed;
        for (auto it = args.rbegin(); it != args.rend(); ++it)
            reversed.push_back(**it);
        DISPPARAMS params = {reversed.empty() ? nullptr : reversed.data(), nullptr, static_cast<UINT>(reversed.size()), 0};
        return External()->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, result, nullptr, argErr);
    }
    IDispatch* External()
    {
        IDispatch* external = nullptr;
        EXPECT_EQ(m_browser.GetExternal(&external), S_OK);
        if (external)
            external->Release();
        return external;
    }

    PostedMessages m_mainWindow;
    CIeBrowserUI m_browser{m_mainWindow.Hwnd()};
};

TEST_F(IeBrowserScriptTest, OnlyTheExactNameIsKnown)
{
    EXPECT_EQ(IdOf(L"g_callCppFunc"), CIeBrowserUI::DispIdCallCppFunc);
    for (const wchar_t* name : {L"G_callCppFunc", L"g_callcppfunc", L"g_callCppFunc ", L"", L"CB_NewsRef", L"x"})
        EXPECT_EQ(IdOf(name), DISPID_UNKNOWN) << std::wstring(name).size();
}

TEST_F(IeBrowserScriptTest, ARequestPostsItsMessageAndRepliesWithAnEmptyObject)
{
    LogCapture log;
    Variant text(LR"({"funcation_name":"min_wnd"})");
    Variant result;
    ASSERT_EQ(Call(IdOf(L"g_callCppFunc"), {&text}, &result), S_OK);
    ASSERT_EQ(result.vt, VT_BSTR);
    EXPECT_STREQ(result.bstrVal, L"{}");
    const std::vector<MSG> posted = m_mainWindow.Drain();
    ASSERT_EQ(posted.size(), 1u);
    EXPECT_EQ(posted[0].message, WM_LOADER_MINIMIZE);
    EXPECT_EQ(NewMessages(log), std::vector<std::string>{"min_wnd call"});
}

TEST_F(IeBrowserScriptTest, OpenGameDeliversExactlyTheTextGiven)
{
    const std::wstring request = LR"({"funcation_name":"open_game","token":"abc","extra":[1,{"b":null}]})";
    Variant text(request.c_str());
    ASSERT_EQ(Call(CIeBrowserUI::DispIdCallCppFunc, {&text}), S_OK);
    const std::vector<MSG> posted = m_mainWindow.Drain();
    ASSERT_EQ(posted.size(), 1u);
    EXPECT_EQ(posted[0].message, WM_LOADER_OPEN_GAME);
    const auto delivered = OpenGameRequests::Take(posted[0].wParam);
    ASSERT_TRUE(delivered);
    EXPECT_EQ(*delivered, std::string(request.begin(), request.end()));
}

TEST_F(IeBrowserScriptTest, ArgumentsThatAreNotStringsAreConvertedOrRefused)
{
    Variant number;
    number.vt = VT_I4;
    number.lVal = 5;
    Variant empty;
    Variant nullString(nullptr, 0);
    nullString.bstrVal = nullptr;
    for (VARIANT* argument : {static_cast<VARIANT*>(&number), static_cast<VARIANT*>(&empty),
                              static_cast<VARIANT*>(&nullString)}) {
        Variant result;
        EXPECT_EQ(Call(CIeBrowserUI::DispIdCallCppFunc, {argument}, &result), S_OK);
        EXPECT_STREQ(result.bstrVal, L"{}");
    }
    // A reference to a string, as some callers pass it, is read through.
    BSTR referenced = SysAllocString(LR"({"funcation_name":"close_wnd"})");
    VARIANT byRef;
    VariantInit(&byRef);
    byRef.vt = VT_BYREF | VT_BSTR;
    byRef.pbstrVal = &referenced;
    EXPECT_EQ(Call(CIeBrowserUI::DispIdCallCppFunc, {&byRef}), S_OK);
    SysFreeString(referenced);
    std::vector<MSG> posted = m_mainWindow.Drain();
    ASSERT_EQ(posted.size(), 1u);
    EXPECT_EQ(posted[0].message, WM_LOADER_CLOSE);

    // No text form: an error for the caller, nothing posted.
    Variant object;
    object.vt = VT_UNKNOWN;
    object.punkVal = nullptr;
    UINT argErr = 99;
    EXPECT_EQ(Call(CIeBrowserUI::DispIdCallCppFunc, {&object}, nullptr, &argErr), DISP_E_TYPEMISMATCH);
    EXPECT_EQ(argErr, 0u);
    EXPECT_TRUE(m_mainWindow.Drain().empty());
}

TEST_F(IeBrowserScriptTest, AnyOtherArgumentCountIsAnUnknownMember)
{
    Variant first(LR"({"funcation_name":"min_wnd"})");
    Variant second(LR"({"funcation_name":"min_wnd"})");
    EXPECT_EQ(Call(CIeBrowserUI::DispIdCallCppFunc, {}), DISP_E_MEMBERNOTFOUND);
    EXPECT_EQ(Call(CIeBrowserUI::DispIdCallCppFunc, {&first, &second}), DISP_E_MEMBERNOTFOUND);
    EXPECT_EQ(Call(DISPID_UNKNOWN, {&first}), DISP_E_MEMBERNOTFOUND);
    EXPECT_TRUE(m_mainWindow.Drain().empty());
}

TEST_F(IeBrowserScriptTest, EmbeddedNulCharactersTravelAsGiven)
{
    const wchar_t raw[] = L"{\"funcation_name\":\"open_game\",\"t\":\"a\0b\"}";
    Variant text(raw, static_cast<UINT>(std::size(raw) - 1));
    ASSERT_EQ(Call(CIeBrowserUI::DispIdCallCppFunc, {&text}), S_OK);
    const std::vector<MSG> posted = m_mainWindow.Drain();
    // The reader refuses a raw control character inside a string, so nothing is posted; what
    // matters is that the text after the NUL was looked at, not cut off.
    for (const MSG& msg : posted) {
        const auto delivered = OpenGameRequests::Take(msg.wParam);
        ASSERT_TRUE(delivered);
        EXPECT_EQ(delivered->size(), std::size(raw) - 1);
    }
}

} // namespace
