// The launcher's two skins, built from wxlm_main.exe's own "ZIPRES" 130 into skinned windows.

#include "LauncherResources.h"
#include "SkinnedTestWindow.h"

#include "controls/Container.h"
#include "controls/TabLayout.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

using namespace guitest;
using namespace Tarvo;

namespace {

IContainerUI* AsContainer(CControlUI* pControl)
{
    return pControl != nullptr ? static_cast<IContainerUI*>(pControl->LookupInterface(L"IContainer")) : nullptr;
}

CControlUI* ChildAt(CControlUI* pControl, int nIndex)
{
    IContainerUI* pContainer = AsContainer(pControl);
    return pContainer != nullptr ? pContainer->ItemAt(nIndex) : nullptr;
}

int ChildCount(CControlUI* pControl)
{
    IContainerUI* pContainer = AsContainer(pControl);
    return pContainer != nullptr ? pContainer->ItemCount() : -1;
}

struct Expected {
    const wchar_t* name;
    const wchar_t* typeName;
    RECT position;
};

class LauncherSkinTest : public testing::Test {
protected:
    std::unique_ptr<CSkinnedTestWindow> Open(const wchar_t* pstrSkin)
    {
        auto pWindow = std::make_unique<CSkinnedTestWindow>(pstrSkin, SkinFromZipResource, L"130");
        EXPECT_NE(pWindow->CreateAt(nullptr, 200, 150), nullptr);
        return pWindow;
    }
    // Paints (which lays out) and waits for the root to have the window's size.
    static void LayOut(CSkinnedTestWindow& window, int cx)
    {
        ::InvalidateRect(window.WindowHandle(), nullptr, FALSE);
        ASSERT_TRUE(PumpUntil([&] {
            ::UpdateWindow(window.WindowHandle());
            return window.Manager().Root() != nullptr && window.Manager().Root()->Position().right == cx &&
                   !window.Manager().IsLayoutNeeded();
        }));
    }
    static void ExpectControls(CWindowManagerUI& manager, const std::vector<Expected>& expected)
    {
        for (const Expected& e : expected) {
            CControlUI* pControl = manager.ControlByName(e.name);
            ASSERT_NE(pControl, nullptr) << e.name;
            EXPECT_STREQ(pControl->TypeName(), e.typeName) << e.name;
            EXPECT_EQ(RectText(pControl->Position()), RectText(e.position)) << e.name;
        }
    }

    LauncherResources m_resources;
};

TEST_F(LauncherSkinTest, ExecutableCarriesBothSkins)
{
    ASSERT_NE(m_resources.Module(), nullptr);
    auto pWindow = Open(L"GameLoader.xml");
    EXPECT_NE(pWindow->Manager().Root(), nullptr);
    auto pBox = Open(L"CustomMsgBox.xml");
    EXPECT_NE(pBox->Manager().Root(), nullptr);
}

TEST_F(LauncherSkinTest, MainSkinSetsUpTheWindow)
{
    auto pWindow = Open(L"GameLoader.xml");
    CWindowManagerUI& manager = pWindow->Manager();
    EXPECT_EQ(RectText(WindowRectOf(pWindow->WindowHandle())), L"200,150,1160,770");
    EXPECT_EQ(RectText(manager.SizeBox()), L"6,6,6,6");
    EXPECT_EQ(RectText(manager.CaptionRect()), L"0,0,0,340");
    EXPECT_EQ(manager.MinTrackSize().cx, 960);
    EXPECT_EQ(manager.MinTrackSize().cy, 620);
    EXPECT_EQ(manager.MaxTrackSize().cx, 960);
    EXPECT_EQ(manager.MaxTrackSize().cy, 620);
    EXPECT_TRUE(manager.Shadow().IsShowShadow());
    EXPECT_TRUE(manager.Shadow().IsImageMode());
    // Image shadow with corners 9,9,9,9: 9 pixels beyond the window on every side.
    const HWND hShadow = manager.Shadow().ShadowWindow();
    ASSERT_NE(hShadow, nullptr);
    ASSERT_TRUE(PumpUntil([&] { return RectText(WindowRectOf(hShadow)) == L"191,141,1169,779"; }))
        << RectText(WindowRectOf(hShadow));
}

// Under Xvfb nothing composites layered windows, so the shadow's pixels are checked where the
// shadow takes them from: the decoded "shadow.png" of the window's image cache.
TEST_F(LauncherSkinTest, ShadowIsASoftNinePixelAlphaRampAroundTheWindow)
{
    auto pWindow = Open(L"GameLoader.xml");
    ASSERT_TRUE(PumpUntil([&] { return pWindow->Manager().FindImage(L"shadow.png") != nullptr; }));
    const UIImageInfo* pImage = pWindow->Manager().FindImage(L"shadow.png");
    EXPECT_TRUE(pImage->bAlphaChannel);
    ASSERT_EQ(pImage->nWidth, 24);
    ASSERT_EQ(pImage->nHeight, 24);
    DIBSECTION dib = {};
    ASSERT_EQ(::GetObjectW(pImage->hBitmap, sizeof(dib), &dib), static_cast<int>(sizeof(dib)));
    const auto* pBits = static_cast<const DWORD*>(dib.dsBm.bmBits);
    const auto alphaAt = [&](int x, int y) { return static_cast<int>(pBits[y * 24 + x] >> 24); };
    // Along the middle of the left edge: transparent outside, darkest next to the window (x = 8),
    // rising at every step; the window's own area (the nine-grid hole) stays clear.
    EXPECT_EQ(alphaAt(0, 12), 0);
    for (int x = 1; x < 9; ++x) {
        EXPECT_GT(alphaAt(x, 12), alphaAt(x - 1, 12)) << x;
    }
    EXPECT_GE(alphaAt(8, 12), 40);
    EXPECT_LE(alphaAt(8, 12), 128);
    EXPECT_EQ(alphaAt(12, 12), 0);
    // The same ramp on every side, and the edge strips constant along their length.
    for (int i = 0; i < 9; ++i) {
        EXPECT_EQ(alphaAt(i, 12), alphaAt(23 - i, 12)) << i;
        EXPECT_EQ(alphaAt(12, i), alphaAt(i, 12)) << i;
        EXPECT_EQ(alphaAt(i, 9), alphaAt(i, 14)) << i;
    }
    // Black shadow: premultiplied colour bytes stay 0.
    EXPECT_EQ(pBits[12 * 24 + 8] & 0xFFFFFF, 0u);
}

TEST_F(LauncherSkinTest, MainSkinTreeWithPageZeroCurrentAndTheDownloadPageHidden)
{
    auto pWindow = Open(L"GameLoader.xml");
    CWindowManagerUI& manager = pWindow->Manager();
    LayOut(*pWindow, 960);
    CControlUI* pRoot = manager.Root();
    ASSERT_NE(pRoot, nullptr);
    EXPECT_EQ(pRoot, manager.ControlByName(L"verLayout"));
    EXPECT_EQ(pRoot->BackgroundColor(), 0xFFFFFFFFu);
    ExpectControls(manager, {{L"verLayout", L"VerticalLayoutUI", {0, 0, 960, 620}},
                             {L"wizardTab", L"TabLayoutUI", {0, 0, 960, 620}}});
    auto* pTab = static_cast<CTabLayoutUI*>(manager.ControlByName(L"wizardTab"));
    ASSERT_EQ(ChildCount(pRoot), 1);
    ASSERT_EQ(ChildCount(pTab), 2);
    EXPECT_EQ(pTab->CurrentIndex(), 0);
    CControlUI* pPage0 = ChildAt(pTab, 0);
    EXPECT_STREQ(pPage0->TypeName(), L"VerticalLayoutUI");
    EXPECT_TRUE(pPage0->IsVisible());
    EXPECT_EQ(RectText(pPage0->Position()), L"0,0,960,620");
    // "IeBrowser" is the launcher's own tag: a window that does not answer it skips the element.
    EXPECT_EQ(ChildCount(pPage0), 0);
    EXPECT_EQ(manager.ControlByName(L"ie"), nullptr);
    CControlUI* pDownload = manager.ControlByName(L"vLayoutDownload");
    ASSERT_EQ(ChildAt(pTab, 1), pDownload);
    EXPECT_FALSE(pDownload->IsVisible());
    EXPECT_EQ(ChildCount(pDownload), 4);
}

TEST_F(LauncherSkinTest, DownloadPagePlacesItsFloatingControls)
{
    auto pWindow = Open(L"GameLoader.xml");
    CWindowManagerUI& manager = pWindow->Manager();
    auto* pTab = static_cast<CTabLayoutUI*>(manager.ControlByName(L"wizardTab"));
    ASSERT_NE(pTab, nullptr);
    ASSERT_TRUE(pTab->SelectItem(1));
    LayOut(*pWindow, 960);
    ExpectControls(manager, {
                                {L"vLayoutDownload", L"VerticalLayoutUI", {0, 0, 960, 620}},
                                {L"btnMin", L"ButtonUI", {902, 6, 926, 30}},
                                {L"btnClose", L"ButtonUI", {928, 4, 956, 34}},
                                {L"progress", L"ProgressUI", {320, 320, 850, 333}},
                                {L"progTip", L"LabelUI", {320, 332, 850, 352}},
                            });
    EXPECT_EQ(std::wstring(manager.ControlByName(L"progTip")->Text().GetData()), L"正在下载游戏文件，请耐心等待.");
    for (const wchar_t* pstrName : {L"btnMin", L"btnClose", L"progress", L"progTip"}) {
        EXPECT_TRUE(manager.ControlByName(pstrName)->IsFloating()) << pstrName;
    }
}

TEST_F(LauncherSkinTest, MainSkinPaintsAWhiteRootAndTheProgressTrackImage)
{
    auto pWindow = Open(L"GameLoader.xml");
    CWindowManagerUI& manager = pWindow->Manager();
    LayOut(*pWindow, 960);
    const HDC hBack = manager.OffscreenDC();
    ASSERT_NE(hBack, nullptr);
    for (const POINT pt : {POINT{1, 1}, POINT{480, 310}, POINT{958, 618}}) {
        EXPECT_EQ(::GetPixel(hBack, pt.x, pt.y), RGB(255, 255, 255)) << pt.x << "," << pt.y;
    }
    // The progress bar's track (its background image, nine-grid with corners 3) on the download page.
    static_cast<CTabLayoutUI*>(manager.ControlByName(L"wizardTab"))->SelectItem(1);
    LayOut(*pWindow, 960);
    EXPECT_EQ(::GetPixel(manager.OffscreenDC(), 585, 326), RGB(0xdf, 0xe3, 0xe9));
    EXPECT_EQ(::GetPixel(manager.OffscreenDC(), 585, 318), RGB(255, 255, 255));
    // The close button's normal image at its place: the grey stroke of the cross at its centre.
    EXPECT_EQ(::GetPixel(manager.OffscreenDC(), 928 + 14, 4 + 15), RGB(138, 145, 156));
    EXPECT_EQ(::GetPixel(manager.OffscreenDC(), 927, 19), RGB(255, 255, 255));
}

TEST_F(LauncherSkinTest, MessageBoxSkinSetsUpTheWindow)
{
    auto pBox = Open(L"CustomMsgBox.xml");
    CWindowManagerUI& manager = pBox->Manager();
    EXPECT_EQ(RectText(WindowRectOf(pBox->WindowHandle())), L"200,150,640,410");
    EXPECT_EQ(RectText(manager.CaptionRect()), L"0,0,0,260");
    EXPECT_EQ(manager.MaxTrackSize().cx, 440);
    EXPECT_EQ(manager.MaxTrackSize().cy, 260);
    EXPECT_EQ(RectText(manager.SizeBox()), L"0,0,0,0");
    EXPECT_TRUE(manager.Shadow().IsShowShadow());
    ASSERT_EQ(manager.FontCount(), 1);
    EXPECT_EQ(std::wstring(manager.FontInfoAt(0)->face.GetData()), L"微软雅黑");
    EXPECT_EQ(manager.FontInfoAt(0)->size, 14);
    EXPECT_EQ(std::wstring(manager.DefaultFontInfo()->face.GetData()), L"微软雅黑");
    EXPECT_EQ(manager.DefaultFontInfo()->size, 14);
}

TEST_F(LauncherSkinTest, MessageBoxTreeAndTheMessageLineIsTheLaterLabelTip)
{
    auto pBox = Open(L"CustomMsgBox.xml");
    CWindowManagerUI& manager = pBox->Manager();
    LayOut(*pBox, 440);
    CControlUI* pRoot = manager.Root();
    ASSERT_EQ(pRoot, manager.ControlByName(L"verLayout"));
    EXPECT_EQ(pRoot->BackgroundColor(), 0xFFFFFFFFu);
    ASSERT_EQ(ChildCount(pRoot), 3);
    CControlUI* pTop = ChildAt(pRoot, 0);
    CControlUI* pBottom = ChildAt(pRoot, 2);
    EXPECT_EQ(RectText(pTop->Position()), L"0,0,440,134");
    EXPECT_EQ(RectText(pBottom->Position()), L"0,162,440,260");
    ExpectControls(manager, {
                                {L"verOnlyTip", L"HorizontalLayoutUI", {0, 134, 440, 162}},
                                {L"labelTip", L"LabelUI", {10, 134, 430, 162}},
                                {L"btnClose", L"ButtonUI", {408, 8, 432, 32}},
                                {L"labelIcon", L"LabelUI", {190, 50, 250, 110}},
                                {L"btnOk", L"ButtonUI", {172, 208, 268, 240}},
                            });
    CControlUI* pMessage = manager.ControlByName(L"labelTip");
    EXPECT_EQ(pMessage->Parent(), manager.ControlByName(L"verOnlyTip"));
    EXPECT_TRUE(pMessage->Text().IsEmpty());
    CControlUI* pTitle = ChildAt(pTop, 0);
    EXPECT_EQ(std::wstring(pTitle->Name().GetData()), L"labelTip");
    EXPECT_NE(pTitle, pMessage);
    EXPECT_EQ(std::wstring(pTitle->Text().GetData()), L"提示");
    EXPECT_EQ(RectText(pTitle->Position()), L"14,11,114,39");
    EXPECT_EQ(std::wstring(manager.ControlByName(L"btnOk")->Text().GetData()), L"确定");
    CControlUI* pSpacer = ChildAt(manager.ControlByName(L"verOnlyTip"), 0);
    EXPECT_EQ(RectText(pSpacer->Position()), L"0,134,10,162");
}

TEST_F(LauncherSkinTest, MessageBoxPaintsTheWarningIcon)
{
    auto pBox = Open(L"CustomMsgBox.xml");
    LayOut(*pBox, 440);
    const HDC hBack = pBox->Manager().OffscreenDC();
    ASSERT_NE(hBack, nullptr);
    const COLORREF centre = ::GetPixel(hBack, 205, 80); // orange disc beside the white bar
    EXPECT_GT(GetRValue(centre), 200);
    EXPECT_LT(GetBValue(centre), 100);
    EXPECT_EQ(::GetPixel(hBack, 180, 80), RGB(255, 255, 255)); // left of the icon
}

TEST_F(LauncherSkinTest, MessageBoxPaintsTheConfirmButtonWithItsText)
{
    auto pBox = Open(L"CustomMsgBox.xml");
    LayOut(*pBox, 440);
    const HDC hBack = pBox->Manager().OffscreenDC();
    ASSERT_NE(hBack, nullptr);
    EXPECT_EQ(::GetPixel(hBack, 172 + 5, 208 + 5), RGB(242, 248, 255)); // the button image's face
    EXPECT_EQ(::GetPixel(hBack, 170, 213), RGB(255, 255, 255));         // just left of the button
    // Somewhere in the middle the blue text "确定" is drawn over the face.
    bool bBlueText = false;
    for (int x = 172 + 30; x < 172 + 66 && !bBlueText; ++x) {
        for (int y = 208 + 8; y < 208 + 24 && !bBlueText; ++y) {
            const COLORREF c = ::GetPixel(hBack, x, y);
            bBlueText = GetBValue(c) > 200 && GetRValue(c) < 120;
        }
    }
    EXPECT_TRUE(bBlueText);
}

TEST_F(LauncherSkinTest, WindowBuiltFromTheResourceHitTestsItsCaption)
{
    auto pBox = Open(L"CustomMsgBox.xml");
    LayOut(*pBox, 440);
    const auto hitTest = [&](int x, int y) {
        const POINT pt = pBox->ScreenPoint(x, y);
        return ::SendMessageW(pBox->WindowHandle(), WM_NCHITTEST, 0, MAKELPARAM(pt.x, pt.y));
    };
    EXPECT_EQ(hitTest(50, 20), HTCAPTION);   // the title label
    EXPECT_EQ(hitTest(220, 150), HTCAPTION); // the message line
    EXPECT_EQ(hitTest(420, 20), HTCLIENT);   // close button
    EXPECT_EQ(hitTest(220, 220), HTCLIENT);  // OK button
}

} // namespace
