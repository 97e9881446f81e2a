#include <gtest/gtest.h>

#include "ManagerFixture.h"

using namespace guitest;

namespace {

// Handlers record what reached them; the maps differ only in the order of their entries.
class CRecordingPump : public CNotifyPump {
public:
    std::vector<std::wstring> calls;
    void OnNamedClick(UINotification& n) { calls.push_back(L"named:" + std::wstring(n.sender->Name().GetData())); }
    void OnAnyClick(UINotification& n) { calls.push_back(L"any:" + std::wstring(n.sender->Name().GetData())); }
    LRESULT OnTimerParams(WPARAM wParam, LPARAM lParam)
    {
        calls.push_back(L"params:" + std::to_wstring(wParam) + L"," + std::to_wstring(lParam));
        return 0;
    }
};

class CNamedFirstPump : public CRecordingPump {
public:
    static const struct NotifyMap* ClassNotifyMap()
    {
        static const NotifyMapEntry entries[] = {
            MakeNotifyEntry<CNamedFirstPump>(L"click", L"btnClose", &CNamedFirstPump::OnNamedClick),
            MakeNotifyEntry<CNamedFirstPump>(L"click", L"", &CNamedFirstPump::OnAnyClick),
            MakeNotifyEntry<CNamedFirstPump>(L"timer", L"", &CNamedFirstPump::OnTimerParams), NotifyMapEnd()};
        static const struct NotifyMap map = {&CNotifyPump::ClassNotifyMap, entries};
        return &map;
    }
    const struct NotifyMap* NotifyMap() const override { return ClassNotifyMap(); }
};

class CAnyFirstPump : public CRecordingPump {
public:
    static const struct NotifyMap* ClassNotifyMap()
    {
        static const NotifyMapEntry entries[] = {
            MakeNotifyEntry<CAnyFirstPump>(L"click", L"", &CAnyFirstPump::OnAnyClick),
            MakeNotifyEntry<CAnyFirstPump>(L"click", L"btnClose", &CAnyFirstPump::OnNamedClick), NotifyMapEnd()};
        static const struct NotifyMap map = {&CNotifyPump::ClassNotifyMap, entries};
        return &map;
    }
    const struct NotifyMap* NotifyMap() const override { return ClassNotifyMap(); }
};

// A derived window whose own map only knows "selectchanged": clicks fall back to the base map.
class CDerivedPump : public CNamedFirstPump {
public:
    void OnSelect(UINotification&) { calls.push_back(L"select"); }
    static const struct NotifyMap* ClassNotifyMap()
    {
        static const NotifyMapEntry entries[] = {
            MakeNotifyEntry<CDerivedPump>(L"selectchanged", L"", &CDerivedPump::OnSelect), NotifyMapEnd()};
        static const struct NotifyMap map = {&CNamedFirstPump::ClassNotifyMap, entries};
        return &map;
    }
    const struct NotifyMap* NotifyMap() const override { return ClassNotifyMap(); }
};

struct RecordingListener : INotifyUI {
    std::vector<std::wstring> seen;
    std::vector<std::wstring> virtualWindows;
    void OnNotification(UINotification& n) override
    {
        seen.push_back(std::wstring(n.type.GetData()) + L":" + n.sender->Name().GetData());
        virtualWindows.push_back(n.virtualWindow.GetData());
    }
};

struct HandlerOwner {
    std::vector<std::wstring>* pCalls;
    bool bAnswer;
    const wchar_t* pstrName;
    bool Handle(void* pParam)
    {
        auto* pNotification = static_cast<UINotification*>(pParam);
        pCalls->push_back(std::wstring(pstrName) + L":" + pNotification->type.GetData());
        return bAnswer;
    }
};

class NotificationTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        root = host.AttachNewRoot(&log);
        close = root->AddChild(L"btnClose", RECT{10, 10, 30, 30});
        other = root->AddChild(L"btnOther", RECT{40, 10, 60, 30});
    }

    UINotification Click(CControlUI* pSender)
    {
        UINotification n;
        n.type = L"click";
        n.sender = pSender;
        return n;
    }

    EventLog log;
    TestHostWindow host;
    CTestContainerUI* root = nullptr;
    CTestControlUI* close = nullptr;
    CTestControlUI* other = nullptr;
};

} // namespace

TEST_F(NotificationTest, NamedEntryBeatsTheAnyControlEntryWhateverTheirOrder)
{
    CNamedFirstPump namedFirst;
    CAnyFirstPump anyFirst;
    for (CRecordingPump* pPump : {static_cast<CRecordingPump*>(&namedFirst), static_cast<CRecordingPump*>(&anyFirst)}) {
        UINotification toClose = Click(close);
        UINotification toOther = Click(other);
        EXPECT_TRUE(pPump->DispatchNotification(toClose));
        EXPECT_TRUE(pPump->DispatchNotification(toOther));
        EXPECT_EQ(pPump->calls, (std::vector<std::wstring>{L"named:btnClose", L"any:btnOther"}));
    }
}

TEST_F(NotificationTest, TypesAreCaseSensitiveAndUnknownTypesAreNotHandled)
{
    CNamedFirstPump pump;
    UINotification upper = Click(close);
    upper.type = L"Click";
    UINotification unknown = Click(close);
    unknown.type = L"itemselect";
    EXPECT_FALSE(pump.DispatchNotification(upper));
    EXPECT_FALSE(pump.DispatchNotification(unknown));
    EXPECT_TRUE(pump.calls.empty());

    CNotifyPump bare;
    UINotification click = Click(close);
    EXPECT_FALSE(bare.DispatchNotification(click));
}

TEST_F(NotificationTest, ParamsHandlerGetsWParamAndLParamAndBaseMapsAreSearched)
{
    CDerivedPump pump;
    UINotification timer = Click(other);
    timer.type = L"timer";
    timer.wParam = 7;
    timer.lParam = -3;
    UINotification select = Click(other);
    select.type = L"selectchanged";
    UINotification click = Click(close);
    EXPECT_TRUE(pump.DispatchNotification(timer));
    EXPECT_TRUE(pump.DispatchNotification(select));
    EXPECT_TRUE(pump.DispatchNotification(click));
    EXPECT_EQ(pump.calls, (std::vector<std::wstring>{L"params:7,-3", L"select", L"named:btnClose"}));
}

TEST_F(NotificationTest, VirtualWindowPumpIsFoundIgnoringCase)
{
    CNamedFirstPump window;
    CAnyFirstPump page;
    ASSERT_TRUE(window.AddVirtualWindow(L"Page1", &page));
    EXPECT_FALSE(window.AddVirtualWindow(L"Page1", &page));
    UINotification n = Click(close);
    n.virtualWindow = L"PAGE1";
    EXPECT_TRUE(window.DispatchToVirtualWindow(n));
    EXPECT_EQ(page.calls, std::vector<std::wstring>{L"named:btnClose"});
    n.virtualWindow = L"";
    EXPECT_FALSE(window.DispatchToVirtualWindow(n));
    EXPECT_TRUE(window.RemoveVirtualWindow(L"Page1"));
}

TEST_F(NotificationTest, HandlerAnsweringFalseStopsHandlersButNotListeners)
{
    std::vector<std::wstring> calls;
    HandlerOwner refuse = {&calls, false, L"refuse"};
    HandlerOwner never = {&calls, true, L"never"};
    close->NotifyHandlers().Add(MakeDelegate(&refuse, &HandlerOwner::Handle));
    close->NotifyHandlers().Add(MakeDelegate(&never, &HandlerOwner::Handle));
    RecordingListener first;
    RecordingListener second;
    host.Manager().AddListener(&first);
    host.Manager().AddListener(&second);

    host.Manager().SendNotification(close, L"click", 1, 2);

    EXPECT_EQ(calls, std::vector<std::wstring>{L"refuse:click"});
    EXPECT_EQ(first.seen, std::vector<std::wstring>{L"click:btnClose"});
    EXPECT_EQ(second.seen, std::vector<std::wstring>{L"click:btnClose"});

    EXPECT_TRUE(close->NotifyHandlers().Remove(MakeDelegate(&refuse, &HandlerOwner::Handle)));
    EXPECT_FALSE(close->NotifyHandlers().Remove(MakeDelegate(&refuse, &HandlerOwner::Handle)));
    host.Manager().SendNotification(close, L"click");
    EXPECT_EQ(calls, (std::vector<std::wstring>{L"refuse:click", L"never:click"}));
}

TEST_F(NotificationTest, NotificationCarriesTheMousePointAndData)
{
    struct Capture : INotifyUI {
        UINotification last;
        void OnNotification(UINotification& n) override { last = n; }
    } capture;
    host.Manager().AddListener(&capture);
    host.Send(WM_MOUSEMOVE, 0, ClientPoint(21, 22));
    const DWORD before = ::GetTickCount();
    host.Manager().SendNotification(other, L"valuechanged", 5, 6);
    EXPECT_EQ(capture.last.type, CUIString(L"valuechanged"));
    EXPECT_EQ(capture.last.sender, other);
    EXPECT_EQ(capture.last.mousePoint.x, 21);
    EXPECT_EQ(capture.last.mousePoint.y, 22);
    EXPECT_EQ(capture.last.wParam, 5u);
    EXPECT_EQ(capture.last.lParam, 6);
    EXPECT_GE(capture.last.timestamp, before);
}

TEST_F(NotificationTest, VirtualWindowNameTravelsOnlyWhenSwitchedOn)
{
    RecordingListener listener;
    host.Manager().AddListener(&listener);
    auto* page = root->AddChild<CTestContainerUI>(L"page", RECT{0, 0, 100, 100});
    CControlUI* pInner = page->AddChild(L"inner", RECT{0, 0, 10, 10});
    // Naming a virtual window switches the manager into the mode; the name is inherited.
    page->SetVirtualWindowName(L"settings");
    EXPECT_TRUE(host.Manager().UsesVirtualWindow());
    host.Manager().SetUseVirtualWindow(false);
    host.Manager().SendNotification(pInner, L"click");
    host.Manager().SetUseVirtualWindow(true);
    host.Manager().SendNotification(pInner, L"click");
    host.Manager().SendNotification(close, L"click");
    EXPECT_EQ(listener.virtualWindows, (std::vector<std::wstring>{L"", L"settings", L""}));
}

TEST_F(NotificationTest, ListenerRemovedDuringANotificationIsNotCalledAgain)
{
    struct SelfRemover : INotifyUI {
        CWindowManagerUI* pManager;
        INotifyUI* pOther;
        int nCalls = 0;
        void OnNotification(UINotification&) override
        {
            ++nCalls;
            pManager->RemoveListener(pOther);
        }
    };
    RecordingListener victim;
    SelfRemover remover;
    remover.pManager = &host.Manager();
    remover.pOther = &victim;
    host.Manager().AddListener(&remover);
    host.Manager().AddListener(&victim);
    host.Manager().SendNotification(close, L"click");
    EXPECT_EQ(remover.nCalls, 1);
    EXPECT_TRUE(victim.seen.empty());
}

namespace {

// Window classes put the pump after another base and give it virtual handlers.
class COtherBase {
public:
    virtual ~COtherBase() = default;
    int m_nPadding[3] = {1, 2, 3};
};

class CWindowLikePump : public COtherBase, public CNotifyPump {
public:
    std::vector<std::wstring> calls;
    virtual void OnClick(UINotification& n) { calls.push_back(L"base:" + std::wstring(n.sender->Name().GetData())); }
    static const struct NotifyMap* ClassNotifyMap()
    {
        static const NotifyMapEntry entries[] = {
            MakeNotifyEntry<CWindowLikePump>(L"click", L"", &CWindowLikePump::OnClick), NotifyMapEnd()};
        static const struct NotifyMap map = {&CNotifyPump::ClassNotifyMap, entries};
        return &map;
    }
    const struct NotifyMap* NotifyMap() const override { return ClassNotifyMap(); }
};

class CLauncherLikePump : public CWindowLikePump {
public:
    void OnClick(UINotification& n) override
    {
        calls.push_back(L"override:" + std::wstring(n.sender->Name().GetData()));
    }
};

} // namespace

TEST_F(NotificationTest, HandlersOfASecondBaseAndVirtualHandlersAreCalledOnTheRightObject)
{
    CLauncherLikePump pump;
    UINotification click = Click(close);
    EXPECT_TRUE(pump.DispatchNotification(click));
    EXPECT_EQ(pump.calls, std::vector<std::wstring>{L"override:btnClose"});
    EXPECT_EQ(pump.m_nPadding[2], 3);
}
