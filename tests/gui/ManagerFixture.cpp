#include "ManagerFixture.h"

#include "TestFiles.h"

#include <algorithm>

namespace guitest {

std::vector<std::wstring> EventLog::Sequence(std::vector<int> types) const
{
    std::vector<std::wstring> result;
    for (const EventRecord& record : events) {
        if (types.empty() || std::find(types.begin(), types.end(), record.type) != types.end()) {
            result.push_back(record.control + L":" + std::to_wstring(record.type));
        }
    }
    return result;
}

void EventLog::Clear()
{
    events.clear();
    invoked.clear();
    painted.clear();
}

CTestControlUI::CTestControlUI(EventLog* pLog, const wchar_t* pstrName, RECT rcFixed, COLORREF color)
    : m_pLog(pLog), m_rcFixed(rcFixed), m_color(color)
{
    SetName(pstrName);
}

CTestControlUI::~CTestControlUI()
{
    m_pLog->destroyed.push_back(Name().GetData());
}

bool CTestControlUI::Invoke()
{
    m_pLog->invoked.push_back(Name().GetData());
    return CControlUI::Invoke();
}

void CTestControlUI::OnNextEvent(int type, std::function<void()> action)
{
    m_nActionType = type;
    m_action = std::move(action);
}

void CTestControlUI::HandleEvent(ControlEvent& event)
{
    if (m_action && event.type == m_nActionType) {
        auto action = std::move(m_action);
        m_action = nullptr;
        action();
    }
    m_pLog->events.push_back({Name().GetData(), event.type, event.wParam, event.lParam, event.keyState, event.sender});
    // Only the focus bookkeeping of the base: bubbling would record each event twice.
    if (event.type == EventSetFocus || event.type == EventKillFocus || event.type == EventTimer) {
        CControlUI::HandleEvent(event);
    }
}

void CTestControlUI::PaintBackgroundColor(HDC hDC)
{
    m_pLog->painted.emplace_back(Name().GetData(), m_rcPaint);
    if (m_color == CLR_INVALID) {
        return;
    }
    CUIBrushHandle brush(::CreateSolidBrush(m_color));
    ::FillRect(hDC, &m_rcPaint, brush.Get());
}

void CTestControlUI::PaintPost(HDC, const RECT& rcPaint)
{
    m_pLog->painted.emplace_back(L"post:" + std::wstring(Name().GetData()), rcPaint);
}

CTestContainerUI::~CTestContainerUI()
{
    for (CControlUI* pChild : m_children) {
        delete pChild;
    }
}

void CTestContainerUI::AddExisting(CControlUI* pChild)
{
    m_children.push_back(pChild);
    if (m_pManager != nullptr) {
        pChild->AttachTo(m_pManager, this, true);
        m_pManager->IndexNames(pChild);
        MarkForLayout();
    }
}

void CTestContainerUI::RemoveChild(CControlUI* pChild)
{
    m_children.erase(std::remove(m_children.begin(), m_children.end(), pChild), m_children.end());
    delete pChild;
}

void CTestContainerUI::AttachTo(CWindowManagerUI* pManager, CControlUI* pParent, bool bInitialize)
{
    for (CControlUI* pChild : m_children) {
        pChild->AttachTo(pManager, this, bInitialize);
    }
    CTestControlUI::AttachTo(pManager, pParent, bInitialize);
}

void CTestContainerUI::SetPosition(RECT rc)
{
    CTestControlUI::SetPosition(rc);
    for (CControlUI* pChild : m_children) {
        auto* pTest = dynamic_cast<CTestControlUI*>(pChild);
        pChild->SetPosition(pTest != nullptr ? pTest->FixedRect() : pChild->Position());
    }
}

CControlUI* CTestContainerUI::SearchTree(FindControlProc proc, void* pData, UINT uFlags)
{
    if ((uFlags & FindVisible) != 0 && !IsVisible()) {
        return nullptr;
    }
    if ((uFlags & FindEnabled) != 0 && !IsEnabled()) {
        return nullptr;
    }
    if ((uFlags & FindHitTest) != 0 && (pData == nullptr || !::PtInRect(&m_rcItem, *static_cast<POINT*>(pData)))) {
        return nullptr;
    }
    if ((uFlags & FindMeFirst) != 0) {
        if (CControlUI* pFound = CControlUI::SearchTree(proc, pData, uFlags)) {
            return pFound;
        }
    }
    const bool bTopFirst = (uFlags & FindTopFirst) != 0;
    const int nCount = static_cast<int>(m_children.size());
    for (int i = 0; i < nCount; ++i) {
        CControlUI* pChild = m_children[bTopFirst ? nCount - 1 - i : i];
        if (CControlUI* pFound = pChild->SearchTree(proc, pData, uFlags)) {
            return pFound;
        }
    }
    return (uFlags & FindMeFirst) != 0 ? nullptr : CControlUI::SearchTree(proc, pData, uFlags);
}

void CTestContainerUI::Paint(HDC hDC, const RECT& rcPaint)
{
    CTestControlUI::Paint(hDC, rcPaint);
    for (CControlUI* pChild : m_children) {
        if (pChild->IsVisible()) {
            pChild->Paint(hDC, rcPaint);
        }
    }
}

namespace {

constexpr wchar_t HostClassName[] = L"TarvoGuiTestHost";

void RegisterHostClass(WNDPROC proc)
{
    static bool s_bRegistered = false;
    if (s_bRegistered) {
        return;
    }
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof wc;
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = proc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = HostClassName;
    s_bRegistered = ::RegisterClassExW(&wc) != 0;
}

} // namespace

TestHostWindow::TestHostWindow(int cx, int cy, bool bLayered) : m_pManager(std::make_unique<CWindowManagerUI>())
{
    RegisterHostClass(WndProc);
    m_pManager->SetLayered(bLayered);
    m_hWnd = ::CreateWindowExW(0, HostClassName, L"Tarvo GUI test", WS_POPUP | WS_VISIBLE, 40, 40, cx, cy, nullptr,
                               nullptr, ::GetModuleHandleW(nullptr), this);
}

TestHostWindow::~TestHostWindow()
{
    if (m_hWnd != nullptr) {
        ::DestroyWindow(m_hWnd);
    }
    m_pManager.reset();
}

LRESULT CALLBACK TestHostWindow::WndProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    if (uMsg == WM_NCCREATE) {
        auto* pCreate = reinterpret_cast<CREATESTRUCTW*>(lParam);
        ::SetWindowLongPtrW(hWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(pCreate->lpCreateParams));
    }
    auto* pSelf = reinterpret_cast<TestHostWindow*>(::GetWindowLongPtrW(hWnd, GWLP_USERDATA));
    if (pSelf == nullptr || !pSelf->m_pManager) {
        return ::DefWindowProcW(hWnd, uMsg, wParam, lParam);
    }
    if (uMsg == WM_CREATE) {
        pSelf->m_pManager->Init(hWnd);
    }
    if (uMsg == WM_NCDESTROY) {
        ::SetWindowLongPtrW(hWnd, GWLP_USERDATA, 0);
        pSelf->m_hWnd = nullptr;
        return ::DefWindowProcW(hWnd, uMsg, wParam, lParam);
    }
    LRESULT lRes = 0;
    if (pSelf->m_pManager->HandleWindowMessage(uMsg, wParam, lParam, lRes)) {
        return lRes;
    }
    pSelf->m_unhandled.push_back(uMsg);
    return ::DefWindowProcW(hWnd, uMsg, wParam, lParam);
}

void TestHostWindow::PaintNow(bool bWholeWindow)
{
    if (bWholeWindow) {
        ::InvalidateRect(m_hWnd, nullptr, FALSE);
    }
    RECT rcUpdate = {0, 0, 0, 0};
    for (int nRound = 0; nRound < 4 && ::GetUpdateRect(m_hWnd, &rcUpdate, FALSE); ++nRound) {
        ::UpdateWindow(m_hWnd);
    }
}

void TestHostWindow::PumpRange(UINT uFirst, UINT uLast)
{
    MSG msg = {};
    while (::PeekMessageW(&msg, m_hWnd, uFirst, uLast, PM_REMOVE)) {
        ::DispatchMessageW(&msg);
    }
}

CTestContainerUI* TestHostWindow::AttachNewRoot(EventLog* pLog, COLORREF color)
{
    RECT rcClient = {0, 0, 0, 0};
    ::GetClientRect(m_hWnd, &rcClient);
    auto* pRoot = new CTestContainerUI(pLog, L"root", rcClient, color);
    m_pManager->AttachRoot(pRoot);
    return pRoot;
}

MSG MakeMsg(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    MSG msg = {};
    msg.hwnd = hWnd;
    msg.message = uMsg;
    msg.wParam = wParam;
    msg.lParam = lParam;
    return msg;
}

LPARAM ClientPoint(int x, int y)
{
    return MAKELPARAM(static_cast<WORD>(static_cast<short>(x)), static_cast<WORD>(static_cast<short>(y)));
}

CursorLock::CursorLock() : m_hMutex(::CreateMutexW(nullptr, FALSE, L"TarvoGuiTestCursor"))
{
    if (m_hMutex != nullptr) {
        ::WaitForSingleObject(m_hMutex, 60000);
    }
}

CursorLock::~CursorLock()
{
    if (m_hMutex != nullptr) {
        ::ReleaseMutex(m_hMutex);
        ::CloseHandle(m_hMutex);
    }
}

bool CursorLock::MoveTo(HWND hWnd, int x, int y)
{
    POINT pt = {x, y};
    ::ClientToScreen(hWnd, &pt);
    if (!::SetCursorPos(pt.x, pt.y)) {
        return false;
    }
    return wxlmtest::WaitUntil([&] {
        POINT now = {0, 0};
        return ::GetCursorPos(&now) && now.x == pt.x && now.y == pt.y;
    });
}

void SetKeyDown(int vk, bool bDown)
{
    BYTE state[256] = {};
    ::GetKeyboardState(state);
    state[vk] = bDown ? 0x80 : 0;
    ::SetKeyboardState(state);
}

} // namespace guitest
