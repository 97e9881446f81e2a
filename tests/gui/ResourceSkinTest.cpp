// Skin documents taken from module resources of type "xml" (testbed/skin_probe.exe carries two:
// 140 includes 141 twice by its resource id).

#include "SkinnedTestWindow.h"

#include "controls/Container.h"
#include "core/ResourceSettings.h"
#include "core/SkinBuilder.h"

#include "TestPaths.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

using namespace guitest;
using namespace Tarvo;

namespace {

class ResourceSkinTest : public testing::Test {
protected:
    ResourceSkinTest()
        : m_hModule(
              ::LoadLibraryExW(wxlmtest::TestbedPath(L"skin_probe.exe").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE))
    {
        Reset();
        CResourceSettingsUI::SetResourceInstance(m_hModule);
    }
    ~ResourceSkinTest() override
    {
        Reset();
        if (m_hModule != nullptr) {
            ::FreeLibrary(m_hModule);
        }
    }
    static void Reset()
    {
        CResourceSettingsUI::ReleaseZip();
        CResourceSettingsUI::SetResourcePath(L"");
        CResourceSettingsUI::SetResourceInstance(nullptr);
    }
    static std::vector<std::wstring> ChildNames(CControlUI* pControl)
    {
        std::vector<std::wstring> names;
        auto* pContainer = static_cast<IContainerUI*>(pControl->LookupInterface(L"IContainer"));
        for (int i = 0; pContainer != nullptr && i < pContainer->ItemCount(); ++i) {
            names.push_back(pContainer->ItemAt(i)->Name().GetData());
        }
        return names;
    }

    HMODULE m_hModule;
};

const std::vector<std::wstring> kExpectedChildren = {L"resFirst", L"resPart", L"resPart", L"resLast"};

TEST_F(ResourceSkinTest, BuilderReadsAResourceAndIncludesByResourceId)
{
    ASSERT_NE(m_hModule, nullptr);
    CSkinBuilder builder;
    std::unique_ptr<CControlUI> pRoot(builder.Create(MAKEINTRESOURCEW(140), L"xml", nullptr, nullptr));
    ASSERT_NE(pRoot, nullptr);
    EXPECT_EQ(std::wstring(pRoot->Name().GetData()), L"resRoot");
    EXPECT_EQ(ChildNames(pRoot.get()), kExpectedChildren);
}

TEST_F(ResourceSkinTest, WindowWithSkinFromResourceBuildsFromTheDecimalSkinFile)
{
    CSkinnedTestWindow window(L"140", SkinFromResource);
    ASSERT_NE(window.CreateAt(nullptr, 50, 50), nullptr);
    ASSERT_NE(window.Manager().Root(), nullptr);
    EXPECT_EQ(ChildNames(window.Manager().Root()), kExpectedChildren);
    EXPECT_EQ(RectText(WindowRectOf(window.WindowHandle())), L"50,50,370,290");
    EXPECT_EQ(window.Manager().CaptionRect().bottom, 40);
    ASSERT_EQ(window.Manager().FontCount(), 1);
    EXPECT_EQ(std::wstring(window.Manager().DefaultFontInfo()->face.GetData()), L"Tahoma");
    EXPECT_EQ(window.initCount, 1);
}

TEST_F(ResourceSkinTest, MissingResourceIdGivesNoTree)
{
    CSkinBuilder builder;
    EXPECT_EQ(builder.Create(MAKEINTRESOURCEW(149), L"xml", nullptr, nullptr), nullptr);
    EXPECT_EQ(builder.Create(MAKEINTRESOURCEW(140), L"png", nullptr, nullptr), nullptr);
    EXPECT_EQ(builder.Create(MAKEINTRESOURCEW(140), nullptr, nullptr, nullptr), nullptr);
}

} // namespace
