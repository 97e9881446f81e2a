#include <gtest/gtest.h>

#include "ManagerFixture.h"
#include "TestFiles.h"
#include "core/ResourceSettings.h"

using namespace guitest;

TEST(ManagerFonts, IndexOutsideTheListGivesTheDefaultFont)
{
    TestHostWindow host;
    CWindowManagerUI& manager = host.Manager();
    const HFONT hFont = manager.AddFont(L"Tahoma", 13, true, false, false);
    ASSERT_NE(hFont, nullptr);
    ASSERT_EQ(manager.FontCount(), 1);

    UIFontInfo* pDefault = manager.DefaultFontInfo();
    ASSERT_NE(pDefault->hFont, nullptr);
    EXPECT_EQ(manager.FontInfoAt(-1), pDefault);
    EXPECT_EQ(manager.FontInfoAt(manager.FontCount()), pDefault);
    EXPECT_EQ(manager.FontInfoAt(0)->hFont, hFont);
    EXPECT_EQ(manager.FontInfoOf(hFont), manager.FontInfoAt(0));
    EXPECT_EQ(manager.FontInfoOf(nullptr), pDefault);
}

TEST(ManagerFonts, AddedFontKeepsItsDescriptionAndIsFoundByIt)
{
    TestHostWindow host;
    CWindowManagerUI& manager = host.Manager();
    const HFONT hPlain = manager.AddFont(L"Tahoma", 12, false, false, false);
    const HFONT hBold = manager.AddFont(L"Tahoma", 12, true, true, true);
    ASSERT_NE(hPlain, nullptr);
    ASSERT_NE(hBold, nullptr);

    const UIFontInfo* pInfo = manager.FontInfoAt(1);
    EXPECT_EQ(pInfo->face, CUIString(L"Tahoma"));
    EXPECT_EQ(pInfo->size, 12);
    EXPECT_TRUE(pInfo->bold && pInfo->underline && pInfo->italic);
    LOGFONTW lf = {};
    ::GetObjectW(hBold, sizeof lf, &lf);
    EXPECT_EQ(lf.lfHeight, -12);
    EXPECT_GE(lf.lfWeight, FW_BOLD);
    EXPECT_EQ(lf.lfQuality, CLEARTYPE_QUALITY);
    EXPECT_EQ(lf.lfCharSet, DEFAULT_CHARSET);

    EXPECT_EQ(manager.FindFont(L"Tahoma", 12, false, false, false), hPlain);
    EXPECT_EQ(manager.FindFont(L"Tahoma", 12, true, true, true), hBold);
    EXPECT_EQ(manager.FindFont(L"tahoma", 12, false, false, false), nullptr); // face is case-sensitive
    EXPECT_EQ(manager.FindFont(L"Tahoma", 13, false, false, false), nullptr);
}

TEST(ManagerFonts, MetricsAreMeasuredWithThePaintDC)
{
    TestHostWindow host;
    CWindowManagerUI& manager = host.Manager();
    ASSERT_NE(manager.PaintDC(), nullptr);
    manager.AddFont(L"Tahoma", 20, false, false, false);
    EXPECT_GT(manager.FontInfoAt(0)->metrics.tmHeight, 15);
    EXPECT_GT(manager.DefaultFontInfo()->metrics.tmHeight, 0);

    // Without a window there is nothing to measure with until one comes.
    CWindowManagerUI detached;
    detached.AddFont(L"Tahoma", 20, false, false, false);
    EXPECT_EQ(detached.FontInfoAt(0)->metrics.tmHeight, 0);
}

TEST(ManagerFonts, SetDefaultFontReplacesTheDefaultRecord)
{
    TestHostWindow host;
    CWindowManagerUI& manager = host.Manager();
    const HFONT hOld = manager.DefaultFontInfo()->hFont;
    manager.SetDefaultFont(L"Tahoma", 18, false, true, false);
    const UIFontInfo* pDefault = manager.DefaultFontInfo();
    EXPECT_NE(pDefault->hFont, hOld);
    EXPECT_EQ(pDefault->face, CUIString(L"Tahoma"));
    EXPECT_EQ(pDefault->size, 18);
    EXPECT_TRUE(pDefault->underline);
    EXPECT_GT(pDefault->metrics.tmHeight, 10);
    EXPECT_EQ(manager.FontInfoAt(0), pDefault);
}

TEST(ManagerFonts, ChildManagersInheritFontsAndTheTopMostDefault)
{
    TestHostWindow parentHost;
    TestHostWindow childHost;
    CWindowManagerUI& parent = parentHost.Manager();
    CWindowManagerUI& child = childHost.Manager();
    child.SetParentManager(&parent);
    const HFONT hParentFont = parent.AddFont(L"Tahoma", 11, false, false, false);

    EXPECT_EQ(child.FindFont(L"Tahoma", 11, false, false, false), hParentFont);
    EXPECT_EQ(child.FontInfoOf(hParentFont)->hFont, hParentFont);
    EXPECT_EQ(child.FontInfoAt(0), parent.DefaultFontInfo());
    EXPECT_EQ(child.FontInfoOf(reinterpret_cast<HFONT>(0x1234)), parent.DefaultFontInfo());
}

TEST(ManagerColours, DefaultsComeFromTheTopMostAncestor)
{
    CWindowManagerUI parent;
    CWindowManagerUI child;
    EXPECT_EQ(child.DefaultDisabledColor(), 0xFFA7A6AAu);
    EXPECT_EQ(child.DefaultFontColor(), 0xFF000001u);
    EXPECT_EQ(child.DefaultLinkFontColor(), 0xFF0000FFu);
    EXPECT_EQ(child.DefaultLinkHoverFontColor(), 0xFFD3215Fu);
    EXPECT_EQ(child.DefaultSelectedColor(), 0xFFBAE4FFu);

    child.SetParentManager(&parent);
    child.SetDefaultFontColor(0xFF123456);
    child.SetDefaultSelectedColor(0xFF654321);
    parent.SetDefaultLinkFontColor(0xFF00FF00);
    EXPECT_EQ(child.DefaultFontColor(), 0xFF000001u);
    EXPECT_EQ(child.DefaultSelectedColor(), 0xFFBAE4FFu);
    EXPECT_EQ(child.DefaultLinkFontColor(), 0xFF00FF00u);
    child.SetParentManager(nullptr);
    EXPECT_EQ(child.DefaultFontColor(), 0xFF123456u);
}

TEST(ManagerNames, DuplicateNamesGiveTheLaterControl)
{
    EventLog log;
    TestHostWindow host;
    auto* root = new CTestContainerUI(&log, L"root", RECT{0, 0, 100, 100});
    auto* first = root->AddChild(L"labelTip", RECT{0, 0, 10, 10});
    auto* box = root->AddChild<CTestContainerUI>(L"box", RECT{0, 20, 50, 50});
    auto* second = box->AddChild(L"labelTip", RECT{0, 20, 10, 30});
    auto* third = root->AddChild(L"other", RECT{0, 60, 10, 70});
    host.Manager().AttachRoot(root);

    EXPECT_EQ(host.Manager().ControlByName(L"labelTip"), second);
    EXPECT_EQ(host.Manager().ControlByName(L"box"), box);
    EXPECT_EQ(host.Manager().ControlByName(L"root"), root);
    EXPECT_EQ(host.Manager().ControlByName(L"other"), third);
    EXPECT_EQ(host.Manager().ControlByName(L"LabelTip"), nullptr);
    EXPECT_EQ(host.Manager().ControlByName(L"missing"), nullptr);

    // Destroying the earlier namesake leaves the entry of the later one alone.
    root->RemoveChild(first);
    EXPECT_EQ(host.Manager().ControlByName(L"labelTip"), second);
    box->RemoveChild(second);
    EXPECT_EQ(host.Manager().ControlByName(L"labelTip"), nullptr);

    // A child added to an attached tree is indexed at once.
    auto* late = box->AddChild(L"late", RECT{0, 0, 1, 1});
    EXPECT_EQ(host.Manager().ControlByName(L"late"), late);
}

TEST(ManagerOptionGroups, JoinTwiceFailsAndTheLastLeaverDeletesTheGroup)
{
    EventLog log;
    CWindowManagerUI manager;
    CTestControlUI one(&log, L"one", RECT{});
    CTestControlUI two(&log, L"two", RECT{});

    EXPECT_EQ(manager.OptionGroup(L"sex"), nullptr);
    EXPECT_TRUE(manager.JoinOptionGroup(L"sex", &one));
    EXPECT_FALSE(manager.JoinOptionGroup(L"sex", &one));
    EXPECT_TRUE(manager.JoinOptionGroup(L"sex", &two));
    EXPECT_TRUE(manager.JoinOptionGroup(L"other", &one));
    ASSERT_NE(manager.OptionGroup(L"sex"), nullptr);
    EXPECT_EQ(manager.OptionGroup(L"sex")->GetSize(), 2);
    EXPECT_EQ(manager.OptionGroup(L"sex")->GetAt(1), &two);

    manager.LeaveOptionGroup(L"sex", &one);
    EXPECT_EQ(manager.OptionGroup(L"sex")->GetSize(), 1);
    manager.LeaveOptionGroup(L"sex", &two);
    EXPECT_EQ(manager.OptionGroup(L"sex"), nullptr);
    manager.LeaveOptionGroup(L"sex", &two);
    manager.LeaveOptionGroup(L"nosuchgroup", &two);

    // A forgotten option leaves every group it was in.
    manager.ForgetControl(&one);
    EXPECT_EQ(manager.OptionGroup(L"other"), nullptr);
}

TEST(ManagerClassDefaults, FirstDefinitionWinsAndAncestorsAreAsked)
{
    CWindowManagerUI parent;
    CWindowManagerUI child;
    child.SetParentManager(&parent);
    parent.SetClassDefaults(L"Button", L"height=\"30\"");
    parent.SetClassDefaults(L"Button", L"height=\"99\"");
    child.SetClassDefaults(L"Label", L"textcolor=\"#FF000000\"");

    EXPECT_STREQ(parent.ClassDefaults(L"Button"), L"height=\"30\"");
    EXPECT_STREQ(child.ClassDefaults(L"Button"), L"height=\"30\"");
    EXPECT_STREQ(child.ClassDefaults(L"Label"), L"textcolor=\"#FF000000\"");
    EXPECT_EQ(parent.ClassDefaults(L"Label"), nullptr);
    EXPECT_EQ(child.ClassDefaults(L"button"), nullptr);
    EXPECT_EQ(child.ClassDefaults(nullptr), nullptr);
}

TEST(ManagerList, ManagersAreListedInCreationOrderWhileTheyLive)
{
    const int nBefore = CWindowManagerUI::Managers().GetSize();
    {
        TestHostWindow first;
        TestHostWindow second;
        ASSERT_EQ(CWindowManagerUI::Managers().GetSize(), nBefore + 2);
        EXPECT_EQ(CWindowManagerUI::Managers().GetAt(nBefore), &first.Manager());
        EXPECT_EQ(CWindowManagerUI::Managers().GetAt(nBefore + 1), &second.Manager());
    }
    EXPECT_EQ(CWindowManagerUI::Managers().GetSize(), nBefore);
}

namespace {

// A 2×1 24-bit bottom-up BMP: one red and one blue pixel.
std::string TwoPixelBmp()
{
    const unsigned char bytes[] = {'B', 'M', 62, 0, 0, 0, 0, 0, 0, 0, 54,  0,   0, 0,        // file header
                                   40,  0,   0,  0, 2, 0, 0, 0, 1, 0, 0,   0,   1, 0, 24, 0, // info header
                                   0,   0,   0,  0, 8, 0, 0, 0, 0, 0, 0,   0,   0, 0, 0,  0,
                                   0,   0,   0,  0, 0, 0, 0, 0, 0, 0, 255, 255, 0, 0, 0,  0}; // pixels + pad
    return std::string(reinterpret_cast<const char*>(bytes), sizeof bytes);
}

} // namespace

TEST(ManagerImages, ImagesAreDecodedOnceAndCachedByName)
{
    wxlmtest::TempDir dir;
    const std::wstring path = dir / L"two.bmp";
    ASSERT_TRUE(wxlmtest::WriteFileBytes(path, TwoPixelBmp()));
    CWindowManagerUI manager;

    EXPECT_EQ(manager.FindImage(path.c_str()), nullptr);
    const UIImageInfo* pImage = manager.FindOrAddImage(path.c_str());
    ASSERT_NE(pImage, nullptr);
    EXPECT_EQ(pImage->nWidth, 2);
    EXPECT_EQ(pImage->nHeight, 1);
    EXPECT_EQ(manager.FindOrAddImage(path.c_str()), pImage);
    EXPECT_EQ(manager.FindImage(path.c_str()), pImage);
    EXPECT_EQ(manager.AddImage(path.c_str()), nullptr); // the name is taken
    EXPECT_EQ(manager.FindOrAddImage((dir / L"missing.png").c_str()), nullptr);
}

TEST(ManagerResources, ManagerStaticsAreTheProcessWideSettings)
{
    const HINSTANCE hModule = ::GetModuleHandleW(nullptr);
    CWindowManagerUI::SetInstance(hModule);
    EXPECT_EQ(CResourceSettingsUI::Instance(), hModule);
    EXPECT_EQ(CWindowManagerUI::ResourceModule(), hModule);
    CWindowManagerUI::SetResourcePath(L"C:\\skins");
    EXPECT_EQ(CWindowManagerUI::ResourcePath(), CUIString(L"C:\\skins\\"));
    EXPECT_EQ(CResourceSettingsUI::ResourcePath(), CUIString(L"C:\\skins\\"));
    CWindowManagerUI::SetResourcePath(L"");
}
