#include "controls/Container.h"
#include "controls/Control.h"
#include "controls/VerticalLayout.h"
#include "core/SkinBuilder.h"
#include "core/WindowManager.h"

#include "ScopedResourceSettings.h"
#include "TestFiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

using namespace Tarvo;
using namespace wxlmtest;

namespace {

using Log = std::vector<std::wstring>;

// Records every attribute it is given (with whether it was attached and how many children it had
// at that moment) and its own deletion.
template <class Base> class CRecordingUI : public Base {
public:
    explicit CRecordingUI(Log* pLog) : m_pLog(pLog) {}
    ~CRecordingUI() override { m_pLog->push_back(L"deleted " + std::wstring(this->Name().GetData())); }

    void ApplyAttribute(const wchar_t* pstrName, const wchar_t* pstrValue) override
    {
        std::wstring line = std::wstring(pstrName) + L"=" + pstrValue;
        line += this->Manager() != nullptr ? L" attached" : L" detached";
        if (auto* pContainer = static_cast<IContainerUI*>(this->LookupInterface(L"IContainer"))) {
            line += L" children " + std::to_wstring(pContainer->ItemCount());
        }
        m_pLog->push_back(line);
        Base::ApplyAttribute(pstrName, pstrValue);
    }

private:
    Log* m_pLog;
};

// Answers "Box" (a container) and "Leaf" (not one), and remembers every name it was offered.
class CRecordingCallback : public IDialogBuilderCallback {
public:
    CControlUI* CreateCustomControl(const wchar_t* pstrClass) override
    {
        offered.push_back(pstrClass);
        if (std::wstring(pstrClass) == L"Box") {
            return new CRecordingUI<CContainerUI>(&log);
        }
        if (std::wstring(pstrClass) == L"Leaf") {
            return new CRecordingUI<CControlUI>(&log);
        }
        return nullptr;
    }

    Log log;
    std::vector<std::wstring> offered;
};

class CHostWindow {
public:
    CHostWindow()
    {
        WNDCLASSW wc = {};
        wc.lpfnWndProc = ::DefWindowProcW;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.lpszClassName = L"SkinBuilderTestHost";
        ::RegisterClassW(&wc);
        m_hWnd = ::CreateWindowExW(0, wc.lpszClassName, L"", WS_POPUP, 10, 10, 100, 80, nullptr, nullptr, wc.hInstance,
                                   nullptr);
    }
    ~CHostWindow() { ::DestroyWindow(m_hWnd); }
    HWND Handle() const { return m_hWnd; }

private:
    HWND m_hWnd = nullptr;
};

// The documents below quote attributes with ' for legibility; the parser takes ".
std::wstring Q(std::wstring xml)
{
    std::replace(xml.begin(), xml.end(), L'\'', L'"');
    return xml;
}

SIZE WindowSize(HWND hWnd)
{
    RECT rc = {};
    ::GetWindowRect(hWnd, &rc);
    return {rc.right - rc.left, rc.bottom - rc.top};
}

IContainerUI* AsContainer(CControlUI* pControl)
{
    return pControl != nullptr ? static_cast<IContainerUI*>(pControl->LookupInterface(L"IContainer")) : nullptr;
}

std::vector<std::wstring> ChildNames(CControlUI* pControl)
{
    std::vector<std::wstring> names;
    if (IContainerUI* pContainer = AsContainer(pControl)) {
        for (int i = 0; i < pContainer->ItemCount(); ++i) {
            names.push_back(pContainer->ItemAt(i)->Name().GetData());
        }
    }
    return names;
}

class SkinBuilderTest : public testing::Test {
protected:
    // Builds the text detached (no manager); the tree is owned by the fixture.
    CControlUI* BuildDetached(const wchar_t* pstrXml)
    {
        m_pTree.reset(m_builder.Create(Q(pstrXml).c_str(), nullptr, &m_callback, nullptr));
        return m_pTree.get();
    }
    // Builds into the manager of a real window and hands the tree to it.
    CControlUI* BuildInWindow(const wchar_t* pstrXml)
    {
        m_manager.Init(m_host.Handle());
        CControlUI* pRoot = m_builder.Create(Q(pstrXml).c_str(), nullptr, &m_callback, &m_manager);
        m_manager.AttachRoot(pRoot);
        return pRoot;
    }

    ScopedResourceSettings m_settings;
    CRecordingCallback m_callback;
    CSkinBuilder m_builder;
    CHostWindow m_host;
    CWindowManagerUI m_manager;
    std::unique_ptr<CControlUI> m_pTree;
};

TEST_F(SkinBuilderTest, RootIsTheFirstTopLevelControlAndChildrenNestInDocumentOrder)
{
    CControlUI* pRoot =
        BuildDetached(L"<Window><VerticalLayout name='root'><Control name='a'/><HorizontalLayout name='b'>"
                      L"<Control name='b1'/></HorizontalLayout><Control name='c'/></VerticalLayout></Window>");
    ASSERT_NE(pRoot, nullptr);
    EXPECT_STREQ(pRoot->TypeName(), L"VerticalLayoutUI");
    EXPECT_EQ(ChildNames(pRoot), (std::vector<std::wstring>{L"a", L"b", L"c"}));
    EXPECT_EQ(ChildNames(AsContainer(pRoot)->ItemAt(1)), std::vector<std::wstring>{L"b1"});
    EXPECT_TRUE(m_callback.offered.empty());
}

TEST_F(SkinBuilderTest, ElementTableCreatesEachClassItKnows)
{
    const struct {
        const wchar_t* element;
        const wchar_t* typeName;
    } cases[] = {
        {L"Control", L"ControlUI"},
        {L"Container", L"ContainerUI"},
        {L"VerticalLayout", L"VerticalLayoutUI"},
        {L"HorizontalLayout", L"HorizontalLayoutUI"},
        {L"TabLayout", L"TabLayoutUI"},
        {L"TileLayout", L"TileLayoutUI"},
        {L"ChildLayout", L"ChildLayoutUI"},
        {L"ScrollBar", L"ScrollBarUI"},
    };
    for (const auto& c : cases) {
        CSkinBuilder builder;
        const std::wstring xml = L"<Window><" + std::wstring(c.element) + L"/></Window>";
        std::unique_ptr<CControlUI> pControl(builder.Create(Q(xml).c_str(), nullptr, nullptr, nullptr));
        ASSERT_NE(pControl, nullptr) << c.element;
        EXPECT_STREQ(pControl->TypeName(), c.typeName);
    }
}

TEST_F(SkinBuilderTest, ElementNamesAreCaseSensitiveAndUnknownOnesGoToTheCallback)
{
    CControlUI* pRoot = BuildDetached(L"<Window><Box name='box'><control name='lower'/><Leaf name='leaf'/>"
                                      L"</Box></Window>");
    ASSERT_NE(pRoot, nullptr);
    EXPECT_EQ(m_callback.offered, (std::vector<std::wstring>{L"Box", L"control", L"Leaf"}));
    EXPECT_EQ(ChildNames(pRoot), std::vector<std::wstring>{L"leaf"});
}

TEST_F(SkinBuilderTest, UnknownElementIsSkippedWithItsWholeSubtree)
{
    CControlUI* pRoot =
        BuildDetached(L"<Window><VerticalLayout><Control name='before'/><IeBrowser name='ie'><Control name='inside'/>"
                      L"<VerticalLayout><Control name='deeper'/></VerticalLayout></IeBrowser><Control name='after'/>"
                      L"</VerticalLayout></Window>");
    EXPECT_EQ(ChildNames(pRoot), (std::vector<std::wstring>{L"before", L"after"}));
    EXPECT_EQ(m_callback.offered, std::vector<std::wstring>{L"IeBrowser"});
}

TEST_F(SkinBuilderTest, ChildrenFirstThenAttachedDefaultsAttributesInDocumentOrderThenDetached)
{
    CControlUI* pRoot =
        BuildInWindow(L"<Window><Default name='Box' value='userdata=&quot;d1&quot; tooltip=&quot;d2&quot;'/>"
                      L"<Box name='outer' text='one' text='two'><Leaf name='x'/><Leaf name='y'/></Box></Window>");
    ASSERT_NE(pRoot, nullptr);
    const Log expected = {
        L"name=x attached",
        L"name=y attached",
        L"userdata=d1 attached children 2",
        L"tooltip=d2 attached children 2",
        L"name=outer attached children 2",
        L"text=one attached children 2",
        L"text=two attached children 2",
    };
    EXPECT_EQ(m_callback.log, expected);
    EXPECT_EQ(std::wstring(pRoot->Text().GetData()), L"two");
    EXPECT_EQ(std::wstring(pRoot->UserData().GetData()), L"d1");
}

TEST_F(SkinBuilderTest, DetachedAgainUntilTheWindowTakesTheRoot)
{
    m_manager.Init(m_host.Handle());
    std::unique_ptr<CControlUI> pRoot(m_builder.Create(
        Q(L"<Window><Box name='b'><Leaf name='l'/></Box></Window>").c_str(), nullptr, &m_callback, &m_manager));
    ASSERT_NE(pRoot, nullptr);
    EXPECT_EQ(pRoot->Manager(), nullptr);
    EXPECT_EQ(AsContainer(pRoot.get())->ItemAt(0)->Manager(), nullptr);
    EXPECT_EQ(m_manager.ControlByName(L"l"), nullptr);
}

TEST_F(SkinBuilderTest, FirstDefaultForAClassWins)
{
    CControlUI* pRoot = BuildInWindow(L"<Window><Default name='Button' value='text=&quot;first&quot;'/>"
                                      L"<Default name='Button' value='text=&quot;second&quot;'/>"
                                      L"<Default name='Control' value='userdata=&quot;fromDefault&quot;'/>"
                                      L"<Control name='c' /></Window>");
    EXPECT_STREQ(m_manager.ClassDefaults(L"Button"), L"text=\"first\"");
    ASSERT_NE(pRoot, nullptr);
    EXPECT_EQ(std::wstring(pRoot->UserData().GetData()), L"fromDefault");
}

TEST_F(SkinBuilderTest, FontWithDefaultButNoNameChangesNothing)
{
    m_manager.Init(m_host.Handle());
    const std::wstring faceBefore = m_manager.DefaultFontInfo()->face.GetData();
    const int sizeBefore = m_manager.DefaultFontInfo()->size;
    m_builder.Create(Q(L"<Window><Font size='30' bold='true' default='true'/></Window>").c_str(), nullptr, nullptr,
                     &m_manager);
    EXPECT_EQ(m_manager.FontCount(), 0);
    EXPECT_EQ(std::wstring(m_manager.DefaultFontInfo()->face.GetData()), faceBefore);
    EXPECT_EQ(m_manager.DefaultFontInfo()->size, sizeBefore);
}

TEST_F(SkinBuilderTest, NamedDefaultFontIsFontNAndTheDefault)
{
    m_manager.Init(m_host.Handle());
    m_builder.Create(Q(L"<Window><Font name='Arial' size='11'/><Font name='Tahoma' size='9' size='14' bold='true' "
                       L"default='true'/></Window>")
                         .c_str(),
                     nullptr, nullptr, &m_manager);
    ASSERT_EQ(m_manager.FontCount(), 2);
    EXPECT_EQ(std::wstring(m_manager.FontInfoAt(1)->face.GetData()), L"Tahoma");
    EXPECT_EQ(m_manager.FontInfoAt(1)->size, 14);
    EXPECT_TRUE(m_manager.FontInfoAt(1)->bold);
    EXPECT_EQ(m_manager.FontInfoAt(0)->size, 11);
    EXPECT_EQ(std::wstring(m_manager.DefaultFontInfo()->face.GetData()), L"Tahoma");
    EXPECT_EQ(m_manager.DefaultFontInfo()->size, 14);
}

TEST_F(SkinBuilderTest, ControlInsideANonContainerStopsItsList)
{
    CControlUI* pRoot = BuildDetached(L"<Window><Box name='box'><Leaf name='button'><Leaf name='label'/>"
                                      L"<Leaf name='later'/></Leaf><Leaf name='sibling'/></Box></Window>");
    ASSERT_NE(pRoot, nullptr);
    EXPECT_EQ(ChildNames(pRoot), (std::vector<std::wstring>{L"button", L"sibling"}));
    // The label was created and deleted before its attributes; "later" was never created.
    EXPECT_EQ(std::count(m_callback.offered.begin(), m_callback.offered.end(), L"Leaf"), 3);
    EXPECT_NE(std::find(m_callback.log.begin(), m_callback.log.end(), L"deleted "), m_callback.log.end());
}

TEST_F(SkinBuilderTest, WithoutAParentTheFirstTopLevelControlIsReturned)
{
    CControlUI* pFirst = BuildDetached(L"<Window><Leaf name='one'/></Window>");
    ASSERT_NE(pFirst, nullptr);
    EXPECT_EQ(std::wstring(pFirst->Name().GetData()), L"one");
}

TEST_F(SkinBuilderTest, WithoutAParentLaterTopLevelControlsAreBuiltAndNotLeaked)
{
    CControlUI* pFirst = BuildDetached(L"<Window><Leaf name='one'/><Leaf name='two' text='t'/><Leaf name='three'/>"
                                       L"</Window>");
    ASSERT_NE(pFirst, nullptr);
    const Log expected = {L"name=one detached", L"name=two detached",   L"text=t detached",
                          L"deleted two",       L"name=three detached", L"deleted three"};
    EXPECT_EQ(m_callback.log, expected);
}

TEST_F(SkinBuilderTest, EmptyOrBrokenDocumentGivesNull)
{
    for (const wchar_t* pstrXml : {L"<", L"<Window>", L"<Window><Control></Window>", L"<Window/>"}) {
        CSkinBuilder builder;
        EXPECT_EQ(builder.Create(pstrXml, nullptr, nullptr, nullptr), nullptr) << pstrXml;
    }
    CSkinBuilder builder;
    EXPECT_EQ(builder.Create(MAKEINTRESOURCEW(4711), L"xml", nullptr, nullptr), nullptr);
    EXPECT_EQ(builder.Create(L"no-such-skin.xml", nullptr, nullptr, nullptr), nullptr);
}

// Window attributes.

TEST_F(SkinBuilderTest, WindowAttributesConfigureTheManager)
{
    BuildInWindow(L"<Window size='300,200' sizebox='6,5,4,3' caption='0,0,0,40' roundcorner='4,5' mininfo='120,90' "
                  L"maxinfo='600,500' bktrans='true' defaultfontcolor='#FF102030' disabledfontcolor='FF405060' "
                  L"linkfontcolor='#FF000001' linkhoverfontcolor='#FF000002' selectedcolor='#FF000003' "
                  L"gdiplustext='true' unknownthing='1'><Control/></Window>");
    EXPECT_EQ(m_manager.InitialSize().cx, 300);
    EXPECT_EQ(m_manager.InitialSize().cy, 200);
    const SIZE szWindow = WindowSize(m_host.Handle());
    EXPECT_EQ(szWindow.cx, 300);
    EXPECT_EQ(szWindow.cy, 200);
    const RECT rcBox = m_manager.SizeBox();
    EXPECT_EQ((std::vector<LONG>{rcBox.left, rcBox.top, rcBox.right, rcBox.bottom}), (std::vector<LONG>{6, 5, 4, 3}));
    EXPECT_EQ(m_manager.CaptionRect().bottom, 40);
    EXPECT_EQ(m_manager.RoundCorner().cx, 4);
    EXPECT_EQ(m_manager.RoundCorner().cy, 5);
    EXPECT_EQ(m_manager.MinTrackSize().cx, 120);
    EXPECT_EQ(m_manager.MaxTrackSize().cy, 500);
    EXPECT_TRUE(m_manager.IsLayered());
    EXPECT_TRUE(m_manager.UsesGdiplusText());
    EXPECT_EQ(m_manager.DefaultFontColor(), 0xFF102030u);
    EXPECT_EQ(m_manager.DefaultDisabledColor(), 0xFF405060u);
    EXPECT_EQ(m_manager.DefaultLinkFontColor(), 0xFF000001u);
    EXPECT_EQ(m_manager.DefaultLinkHoverFontColor(), 0xFF000002u);
    EXPECT_EQ(m_manager.DefaultSelectedColor(), 0xFF000003u);
}

TEST_F(SkinBuilderTest, BooleansAreTrueOnlyForExactTrue)
{
    BuildInWindow(L"<Window bktrans='TRUE' gdiplustext='1'><Control/></Window>");
    EXPECT_FALSE(m_manager.IsLayered());
    EXPECT_FALSE(m_manager.UsesGdiplusText());
}

TEST_F(SkinBuilderTest, WindowAttributesNeedARootNamedWindow)
{
    BuildInWindow(L"<Dialog size='300,200' sizebox='6,6,6,6'><Control name='c'/></Dialog>");
    EXPECT_EQ(m_manager.InitialSize().cx, 0);
    EXPECT_EQ(m_manager.SizeBox().left, 0);
    EXPECT_NE(m_manager.ControlByName(L"c"), nullptr);
}

TEST_F(SkinBuilderTest, AlphaWithinRangeMakesTheWindowLayeredAndOutOfRangeRemovesIt)
{
    BuildInWindow(L"<Window alpha='128'><Control/></Window>");
    EXPECT_EQ(m_manager.Opacity(), 128);
    EXPECT_NE(::GetWindowLongPtrW(m_host.Handle(), GWL_EXSTYLE) & WS_EX_LAYERED, 0);
    BYTE alpha = 0;
    DWORD flags = 0;
    ASSERT_TRUE(::GetLayeredWindowAttributes(m_host.Handle(), nullptr, &alpha, &flags));
    EXPECT_EQ(alpha, 128);

    CSkinBuilder second;
    second.Create(Q(L"<Window alpha='300'/>").c_str(), nullptr, nullptr, &m_manager);
    EXPECT_EQ(m_manager.Opacity(), 255);
    EXPECT_EQ(::GetWindowLongPtrW(m_host.Handle(), GWL_EXSTYLE) & WS_EX_LAYERED, 0);
}

TEST_F(SkinBuilderTest, SizeLeavesAWindowThatHasARootAlone)
{
    BuildInWindow(L"<Window size='300,200'><Control/></Window>");
    CSkinBuilder rebuilt;
    std::unique_ptr<CControlUI> pSecond(
        rebuilt.Create(Q(L"<Window size='500,400'><Control/></Window>").c_str(), nullptr, nullptr, &m_manager));
    EXPECT_EQ(m_manager.InitialSize().cx, 500);
    const SIZE szWindow = WindowSize(m_host.Handle());
    EXPECT_EQ(szWindow.cx, 300);
    EXPECT_EQ(szWindow.cy, 200);
}

TEST_F(SkinBuilderTest, ShadowAttributesConfigureTheWindowsShadow)
{
    BuildInWindow(L"<Window showshadow='true' shadowimage='shadow.png' shadowcorner='9,9,9,9'><Control/></Window>");
    EXPECT_TRUE(m_manager.Shadow().IsShowShadow());
    EXPECT_TRUE(m_manager.Shadow().IsImageMode());
}

TEST_F(SkinBuilderTest, DeclarationsNeedAManagerAndTheRootLevel)
{
    m_manager.Init(m_host.Handle());
    std::unique_ptr<CControlUI> pRoot(
        m_builder.Create(Q(L"<Window><VerticalLayout><Font name='Arial'/><Default name='X' "
                           L"value='a=&quot;b&quot;'/></VerticalLayout></Window>")
                             .c_str(),
                         nullptr, nullptr, &m_manager));
    EXPECT_EQ(m_manager.FontCount(), 0);
    EXPECT_EQ(m_manager.ClassDefaults(L"X"), nullptr);
    ASSERT_NE(pRoot, nullptr);
    EXPECT_EQ(AsContainer(pRoot.get())->ItemCount(), 0);
}

// Includes, from files below the resource path.

class SkinBuilderIncludeTest : public SkinBuilderTest {
protected:
    void SetUp() override { CResourceSettingsUI::SetResourcePath(m_dir.Path().c_str()); }
    void Write(const wchar_t* pstrName, const char* pstrXml)
    {
        std::string xml(pstrXml);
        std::replace(xml.begin(), xml.end(), '\'', '"');
        ASSERT_TRUE(WriteFileBytes(m_dir / pstrName, xml));
    }
    int CountNamed(CControlUI* pRoot, const wchar_t* pstrName)
    {
        const auto names = ChildNames(pRoot);
        return static_cast<int>(std::count(names.begin(), names.end(), pstrName));
    }

    TempDir m_dir;
};

TEST_F(SkinBuilderIncludeTest, CountCopiesOfTheIncludedDocumentGoIntoTheCurrentParent)
{
    Write(L"part.xml", "<Window><Control name='part'/></Window>");
    const struct {
        const wchar_t* count;
        int copies;
    } cases[] = {{L"", 1}, {L" count='3'", 3}, {L" count='0'", 0}, {L" count='-2'", 0}};
    for (const auto& c : cases) {
        CSkinBuilder builder;
        const std::wstring xml = L"<Window><VerticalLayout><Control name='first'/><Include source='part.xml'" +
                                 std::wstring(c.count) + L"/><Control name='last'/></VerticalLayout></Window>";
        std::unique_ptr<CControlUI> pRoot(builder.Create(Q(xml).c_str(), nullptr, nullptr, nullptr));
        ASSERT_NE(pRoot, nullptr);
        EXPECT_EQ(CountNamed(pRoot.get(), L"part"), c.copies) << c.count;
        const auto names = ChildNames(pRoot.get());
        EXPECT_EQ(names.front(), L"first");
        EXPECT_EQ(names.back(), L"last");
    }
}

TEST_F(SkinBuilderIncludeTest, MissingOrBrokenIncludeBuildsNothingAndTheRestGoesOn)
{
    Write(L"broken.xml", "<Window><Control name='x'></Window>");
    CControlUI* pRoot = BuildDetached(L"<Window><VerticalLayout><Include source='missing.xml'/>"
                                      L"<Include source='broken.xml'/><Include/><Control name='after'/>"
                                      L"</VerticalLayout></Window>");
    EXPECT_EQ(ChildNames(pRoot), std::vector<std::wstring>{L"after"});
}

TEST_F(SkinBuilderIncludeTest, IncludeWithoutAParentBuildsAndDeletesItsControls)
{
    Write(L"leaf.xml", "<Window><Leaf name='included'/></Window>");
    CControlUI* pFirst = BuildDetached(L"<Window><Leaf name='first'/><Include source='leaf.xml' count='2'/></Window>");
    ASSERT_NE(pFirst, nullptr);
    EXPECT_EQ(std::wstring(pFirst->Name().GetData()), L"first");
    EXPECT_EQ(std::count(m_callback.log.begin(), m_callback.log.end(), L"deleted included"), 2);
}

TEST_F(SkinBuilderIncludeTest, IncludedDocumentsUseTheSameCallback)
{
    Write(L"leaf.xml", "<Window><Leaf name='fromInclude'/></Window>");
    CControlUI* pRoot = BuildDetached(L"<Window><Box><Include source='leaf.xml' count='2'/></Box></Window>");
    EXPECT_EQ(CountNamed(pRoot, L"fromInclude"), 2);
}

TEST_F(SkinBuilderIncludeTest, ADocumentIncludingItselfStopsAtTheDepthLimit)
{
    Write(L"self.xml", "<Window><Control name='copy'/><Include source='self.xml'/></Window>");
    CControlUI* pRoot = BuildDetached(L"<Window><VerticalLayout><Include source='self.xml'/></VerticalLayout>"
                                      L"</Window>");
    EXPECT_EQ(CountNamed(pRoot, L"copy"), CSkinBuilder::MaxIncludeDepth);
}

TEST_F(SkinBuilderIncludeTest, IncludesMultiplyingThemselvesStopAtTheExpansionLimit)
{
    Write(L"bomb.xml", "<Window><Control name='copy'/><Include source='bomb.xml' count='50'/></Window>");
    CControlUI* pRoot = BuildDetached(L"<Window><VerticalLayout><Include source='bomb.xml'/></VerticalLayout>"
                                      L"</Window>");
    EXPECT_EQ(CountNamed(pRoot, L"copy"), CSkinBuilder::MaxIncludeExpansions);
}

TEST_F(SkinBuilderIncludeTest, ChildLayoutBuildsItsFileWhenTheWindowTakesTheTree)
{
    Write(L"child.xml", "<Window size='999,999'><HorizontalLayout name='fromChild'><Control name='inner'/>"
                        "</HorizontalLayout></Window>");
    CControlUI* pRoot = BuildInWindow(L"<Window size='200,100'><VerticalLayout><ChildLayout name='child' "
                                      L"xmlfile='child.xml'/><ChildLayout name='broken' xmlfile='missing.xml'/>"
                                      L"</VerticalLayout></Window>");
    ASSERT_NE(pRoot, nullptr);
    CControlUI* pChild = m_manager.ControlByName(L"child");
    ASSERT_NE(pChild, nullptr);
    EXPECT_EQ(ChildNames(pChild), std::vector<std::wstring>{L"fromChild"});
    EXPECT_NE(m_manager.ControlByName(L"inner"), nullptr);
    EXPECT_EQ(AsContainer(m_manager.ControlByName(L"broken"))->ItemCount(), 0);
    EXPECT_EQ(WindowSize(m_host.Handle()).cx, 200); // the child's "size" finds a root in place
}

TEST_F(SkinBuilderTest, DeeplyNestedElementsStopAtTheDepthLimit)
{
    std::wstring xml = L"<Window>";
    const int nDepth = CSkinBuilder::MaxControlDepth + 50;
    for (int i = 0; i < nDepth; ++i) {
        xml += L"<VerticalLayout>";
    }
    for (int i = 0; i < nDepth; ++i) {
        xml += L"</VerticalLayout>";
    }
    xml += L"</Window>";
    CControlUI* pControl = BuildDetached(xml.c_str());
    int nLevels = 0;
    for (; pControl != nullptr; ++nLevels) {
        IContainerUI* pContainer = AsContainer(pControl);
        pControl = pContainer->ItemCount() > 0 ? pContainer->ItemAt(0) : nullptr;
    }
    EXPECT_EQ(nLevels, CSkinBuilder::MaxControlDepth);
}

} // namespace
