#include <gtest/gtest.h>

#include "ListGuiSupport.h"
#include "ManagerFixture.h"
#include "TestFiles.h"
#include "TestPaths.h"
#include "controls/Edit.h"
#include "controls/RichEdit.h"
#include "controls/EditWnd.h"
#include "core/GdiResources.h"
#include "core/SkinBuilder.h"

#include <string>

using namespace guitest;

// The gallery page of the text entries, built from its skin in a real window; its picture goes to
// the build tree.
TEST(TextEntryGalleryTest, TheGallerySkinBuildsEveryEditorAndSavesAPicture)
{
    const auto bytes = wxlmtest::ReadFileBytes(wxlmtest::SourceDir() + L"\\tests\\gui\\gallery\\TextEntry.xml");
    ASSERT_TRUE(bytes.has_value());
    // The gallery is plain ASCII: its bytes are its characters.
    const std::wstring text(bytes->begin(), bytes->end());
    const std::wstring skin = text.substr(text.find(L"<Window"));

    TestHostWindow host{460, 300};
    CSkinBuilder builder;
    CControlUI* pRoot = builder.Create(skin.c_str(), nullptr, nullptr, &host.Manager(), nullptr);
    ASSERT_NE(pRoot, nullptr);
    host.Manager().AttachRoot(pRoot);
    host.PaintNow(true);

    for (const wchar_t* pstrName : {L"plain", L"tip", L"password", L"readonly", L"numbers"}) {
        CControlUI* pControl = host.Manager().ControlByName(pstrName);
        ASSERT_NE(pControl, nullptr) << pstrName;
        EXPECT_NE(pControl->LookupInterface(L"Edit"), nullptr) << pstrName;
    }
    auto* pRich = static_cast<CRichEditUI*>(host.Manager().ControlByName(L"rich")->LookupInterface(L"RichEdit"));
    ASSERT_NE(pRich, nullptr);
    EXPECT_EQ(pRich->Text().Left(21), L"Orvendale patch notes");
    EXPECT_TRUE(pRich->IsMultiLine());
    auto* pTip = static_cast<CEditUI*>(host.Manager().ControlByName(L"tip")->LookupInterface(L"Edit"));
    EXPECT_EQ(pTip->TipValue(), L"Type your name");

    // The first Tab stop has the focus, so its native edit window lies over it. The picture is the
    // window as it shows, that window included: copied from the window into the back buffer.
    auto* pPlain = static_cast<CEditUI*>(host.Manager().ControlByName(L"plain")->LookupInterface(L"Edit"));
    ASSERT_NE(pPlain->EditWindow(), nullptr);
    ::UpdateWindow(pPlain->EditWindow()->WindowHandle());
    RECT rcClient = {};
    ::GetClientRect(host.Hwnd(), &rcClient);
    const CUIWindowDC window(host.Hwnd());
    ASSERT_TRUE(::BitBlt(host.Manager().OffscreenDC(), 0, 0, rcClient.right, rcClient.bottom, window.DC(), 0, 0,
                         SRCCOPY));
    EXPECT_TRUE(SaveBackBuffer(host.Manager(), wxlmtest::BuildDir() + L"\\text-entry-gallery.bmp"));
}
