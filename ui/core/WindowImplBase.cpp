#include "core/WindowImplBase.h"

#include "controls/Control.h"
#include "core/ResourceSettings.h"
#include "core/StartupMarks.h"

#include <windowsx.h>

#include <cwchar>
#include <cwctype>

namespace Tarvo {

namespace {

// Process-wide state of modal boxes and their attention jitter.
HWND g_hCurrentModal = nullptr;
HWND g_hPreviousModal = nullptr;
int g_nAttentionCounter = 0;
HWND g_hAttentionWindow = nullptr;

constexpr int AttentionSteps = 8;

bool IsLive(HWND hWnd)
{
    return hWnd != nullptr && ::IsWindow(hWnd);
}

void MoveWindowBy(HWND hWnd, int dx, int dy)
{
    RECT rc = {};
    ::GetWindowRect(hWnd, &rc);
    ::SetWindowPos(hWnd, nullptr, rc.left + dx, rc.top + dy, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CALLBACK AttentionTimerProc(HWND hWnd, UINT /*uMsg*/, UINT_PTR idEvent, DWORD /*dwTime*/)
{
    if (idEvent != ModalAttentionTimerId || !::IsWindow(hWnd)) {
        return;
    }
    g_hAttentionWindow = hWnd;
    ++g_nAttentionCounter;
    const int nStep = (g_nAttentionCounter % 2 != 0) ? -1 : 1;
    MoveWindowBy(hWnd, nStep, nStep);
    if (g_nAttentionCounter == AttentionSteps) {
        g_nAttentionCounter = 0;
        ::ShowWindow(hWnd, SW_SHOW);
        ::KillTimer(hWnd, ModalAttentionTimerId);
    }
}

// Controls that take clicks themselves; anything else inside the caption drags the window.
bool TakesClicks(const wchar_t* pstrType)
{
    static const wchar_t* const kClickable[] = {L"ButtonUI",   L"OptionUI",   L"TextUI", L"SliderUI",
                                                L"RichEditUI", L"CheckBoxUI", L"EditUI", L"ScrollBarUI"};
    for (const wchar_t* pstrName : kClickable) {
        if (::lstrcmpiW(pstrType, pstrName) == 0) {
            return true;
        }
    }
    return false;
}

LRESULT ResizeBorderAt(POINT pt, const RECT& rcClient, const RECT& rcBox)
{
    const bool bLeft = pt.x < rcClient.left + rcBox.left;
    const bool bRight = pt.x > rcClient.right - rcBox.right;
    if (pt.y < rcClient.top + rcBox.top) {
        return bLeft ? HTTOPLEFT : (bRight ? HTTOPRIGHT : HTTOP);
    }
    if (pt.y > rcClient.bottom - rcBox.bottom) {
        return bLeft ? HTBOTTOMLEFT : (bRight ? HTBOTTOMRIGHT : HTBOTTOM);
    }
    if (bLeft) {
        return HTLEFT;
    }
    return bRight ? HTRIGHT : HTNOWHERE;
}

// Decimal text as a resource id; other text names the resource.
LPCWSTR ResourceIdOf(const CUIString& text)
{
    const wchar_t* pstr = text;
    if (*pstr == L'\0' || !std::iswdigit(*pstr)) {
        return pstr;
    }
    return MAKEINTRESOURCEW(static_cast<WORD>(std::wcstol(pstr, nullptr, 10)));
}

// The "default" of a handler: not handled, result 0.
LRESULT NotHandled(bool& bHandled)
{
    bHandled = false;
    return 0;
}

} // namespace

WindowImplBase::~WindowImplBase() = default;

UINT WindowImplBase::WindowClassStyle() const
{
    return CS_DBLCLKS;
}

void WindowImplBase::OnFinalWindowMessage(HWND /*hWnd*/)
{
    m_pm.RemovePreFilter(this);
    m_pm.RemoveListener(this);
    m_pm.ForgetControl(m_pm.Root());
}

void WindowImplBase::InitWindow() {}

void WindowImplBase::OnClickNotification(UINotification& notification)
{
    if (notification.sender == nullptr) {
        return;
    }
    const CUIString name = notification.sender->Name();
    if (name == L"closebtn") {
        if (::IsWindow(WindowHandle())) {
            ::PostMessageW(WindowHandle(), WM_CLOSE, 1, 0);
        }
    } else if (name == L"minbtn") {
        ::SendMessageW(WindowHandle(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
    } else if (name == L"maxbtn") {
        ::SendMessageW(WindowHandle(), WM_SYSCOMMAND, SC_MAXIMIZE, 0);
    } else if (name == L"restorebtn") {
        ::SendMessageW(WindowHandle(), WM_SYSCOMMAND, SC_RESTORE, 0);
    }
}

bool WindowImplBase::WantsDefaultKey(WPARAM wKey)
{
    return wKey == VK_ESCAPE;
}

UISkinSourceKind WindowImplBase::SkinSourceKind() const
{
    return SkinFromFile;
}

CUIString WindowImplBase::SkinZipName()
{
    return CUIString();
}

CUIString WindowImplBase::SkinResourceId()
{
    return CUIString();
}

const NotifyMap* WindowImplBase::ClassNotifyMap()
{
    static const NotifyMapEntry entries[] = {
        MakeNotifyEntry<WindowImplBase>(L"click", L"", &WindowImplBase::OnClickNotification),
        NotifyMapEnd(),
    };
    static const struct NotifyMap map = {&CNotifyPump::ClassNotifyMap, entries};
    return &map;
}

const NotifyMap* WindowImplBase::NotifyMap() const
{
    return ClassNotifyMap();
}

void WindowImplBase::OnNotification(UINotification& notification)
{
    if (DispatchToVirtualWindow(notification)) {
        return;
    }
    DispatchNotification(notification);
}

LRESULT WindowImplBase::FilterMessage(UINT uMsg, WPARAM wParam, LPARAM /*lParam*/, bool& /*bHandled*/)
{
    if (uMsg == WM_KEYDOWN && (wParam == VK_RETURN || wParam == VK_ESCAPE)) {
        return WantsDefaultKey(wParam) ? 1 : 0;
    }
    return 0;
}

CControlUI* WindowImplBase::CreateCustomControl(const wchar_t* /*pstrClass*/)
{
    return nullptr;
}

// Message routing.

WindowImplBase::Handler WindowImplBase::HandlerFor(UINT uMsg)
{
    static const struct {
        UINT message;
        Handler handler;
    } kRoutes[] = {
        {WM_CREATE, &WindowImplBase::OnCreate},
        {WM_DESTROY, &WindowImplBase::OnDestroy},
        {WM_SIZE, &WindowImplBase::OnSize},
        {WM_SETFOCUS, &WindowImplBase::OnSetFocus},
        {WM_KILLFOCUS, &WindowImplBase::OnKillFocus},
        {WM_CLOSE, &WindowImplBase::OnClose},
        {WM_ERASEBKGND, &WindowImplBase::OnEraseBackground},
        {WM_GETMINMAXINFO, &WindowImplBase::OnGetMinMaxInfo},
        {WM_NCCALCSIZE, &WindowImplBase::OnNcCalcSize},
        {WM_NCHITTEST, &WindowImplBase::OnNcHitTest},
        {WM_NCPAINT, &WindowImplBase::OnNcPaint},
        {WM_NCACTIVATE, &WindowImplBase::OnNcActivate},
        {WM_KEYDOWN, &WindowImplBase::OnKeyDown},
        {WM_CHAR, &WindowImplBase::OnChar},
        {WM_SYSCOMMAND, &WindowImplBase::OnSysCommand},
        {WM_MOUSEMOVE, &WindowImplBase::OnMouseMove},
        {WM_LBUTTONDOWN, &WindowImplBase::OnLButtonDown},
        {WM_LBUTTONUP, &WindowImplBase::OnLButtonUp},
        {WM_MOUSEWHEEL, &WindowImplBase::OnMouseWheel},
        {WM_MOUSEHOVER, &WindowImplBase::OnMouseHover},
        {WM_MOUSELEAVE, &WindowImplBase::OnMouseLeave},
    };
    for (const auto& route : kRoutes) {
        if (route.message == uMsg) {
            return route.handler;
        }
    }
    return nullptr;
}

LRESULT WindowImplBase::ProcessWindowMessage(UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    LRESULT lRes = 0;
    if (HandleModalMessage(uMsg, lParam, lRes)) {
        return lRes;
    }
    if (uMsg == WM_SETCURSOR && HIWORD(lParam) == WM_LBUTTONDOWN) {
        AskModalForAttention();
    }
    bool bHandled = true;
    if (const Handler handler = HandlerFor(uMsg)) {
        lRes = (this->*handler)(uMsg, wParam, lParam, bHandled);
        if (bHandled) {
            return lRes;
        }
    }
    bHandled = false;
    lRes = OnCustomMessage(uMsg, wParam, lParam, bHandled);
    if (bHandled) {
        return lRes;
    }
    if (m_pm.HandleWindowMessage(uMsg, wParam, lParam, lRes)) {
        return lRes;
    }
    return CallPreviousProc(uMsg, wParam, lParam);
}

bool WindowImplBase::HandleModalMessage(UINT uMsg, LPARAM lParam, LRESULT& lRes)
{
    if (uMsg == WM_UI_MODAL_OPENED) {
        if (IsLive(g_hCurrentModal)) {
            g_hPreviousModal = g_hCurrentModal;
        }
        g_hCurrentModal = reinterpret_cast<HWND>(lParam);
    } else if (uMsg == WM_UI_MODAL_ATTENTION) {
        ::KillTimer(g_hCurrentModal, ModalAttentionTimerId);
        ::KillTimer(g_hPreviousModal, ModalAttentionTimerId);
        // A sequence cut short at an odd step left its window one pixel up and left.
        if (g_nAttentionCounter % 2 != 0 && IsLive(g_hAttentionWindow)) {
            MoveWindowBy(g_hAttentionWindow, 1, 1);
        }
        g_nAttentionCounter = 0;
        ::SetTimer(WindowHandle(), ModalAttentionTimerId, ModalAttentionPeriodMs, &AttentionTimerProc);
    } else {
        return false;
    }
    lRes = 0;
    return true;
}

void WindowImplBase::AskModalForAttention() const
{
    const auto ownedLive = [this](HWND hModal) {
        return IsLive(hModal) && ::GetWindow(hModal, GW_OWNER) == WindowHandle();
    };
    if (ownedLive(g_hCurrentModal)) {
        ::SendMessageW(g_hCurrentModal, WM_UI_MODAL_ATTENTION, 0, 0);
    } else if (ownedLive(g_hPreviousModal)) {
        ::SendMessageW(IsLive(g_hCurrentModal) ? g_hCurrentModal : g_hPreviousModal, WM_UI_MODAL_ATTENTION, 0, 0);
    }
}

// Handlers.

LRESULT WindowImplBase::OnClose(UINT, WPARAM, LPARAM, bool& bHandled)
{
    return NotHandled(bHandled);
}

LRESULT WindowImplBase::OnDestroy(UINT, WPARAM, LPARAM, bool& bHandled)
{
    return NotHandled(bHandled);
}

LRESULT WindowImplBase::OnEraseBackground(UINT, WPARAM, LPARAM, bool& bHandled)
{
    bHandled = false;
    return 1;
}

LRESULT WindowImplBase::OnNcActivate(UINT, WPARAM wParam, LPARAM, bool& bHandled)
{
    if (::IsIconic(WindowHandle())) {
        bHandled = false;
    }
    return wParam == 0 ? TRUE : FALSE;
}

LRESULT WindowImplBase::OnNcCalcSize(UINT, WPARAM, LPARAM lParam, bool& /*bHandled*/)
{
    if (!::IsZoomed(WindowHandle())) {
        return 0;
    }
    MONITORINFO info = {};
    info.cbSize = sizeof(info);
    ::GetMonitorInfoW(::MonitorFromWindow(WindowHandle(), MONITOR_DEFAULTTONEAREST), &info);
    // The work area itself rather than its size at 0,0: a monitor right of or below the primary
    // one, or a task bar at the top or left, puts the work area elsewhere.
    *reinterpret_cast<RECT*>(lParam) = info.rcWork;
    return WVR_REDRAW;
}

LRESULT WindowImplBase::OnNcPaint(UINT, WPARAM, LPARAM, bool& /*bHandled*/)
{
    return 0;
}

LRESULT WindowImplBase::OnNcHitTest(UINT, WPARAM, LPARAM lParam, bool& /*bHandled*/)
{
    POINT pt = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    ::ScreenToClient(WindowHandle(), &pt);
    RECT rcClient = {};
    ::GetClientRect(WindowHandle(), &rcClient);
    if (!::IsZoomed(WindowHandle())) {
        const LRESULT border = ResizeBorderAt(pt, rcClient, m_pm.SizeBox());
        if (border != HTNOWHERE) {
            return border;
        }
    }
    const RECT rcCaption = m_pm.CaptionRect();
    if (pt.x >= rcClient.left + rcCaption.left && pt.x < rcClient.right - rcCaption.right && pt.y >= rcCaption.top &&
        pt.y < rcCaption.bottom) {
        const CControlUI* pControl = m_pm.ControlAt(pt);
        if (pControl != nullptr && !TakesClicks(pControl->TypeName())) {
            return HTCAPTION;
        }
    }
    return HTCLIENT;
}

LRESULT WindowImplBase::OnGetMinMaxInfo(UINT, WPARAM, LPARAM lParam, bool& bHandled)
{
    MONITORINFO info = {};
    info.cbSize = sizeof(info);
    ::GetMonitorInfoW(::MonitorFromWindow(WindowHandle(), MONITOR_DEFAULTTONEAREST), &info);
    auto* pInfo = reinterpret_cast<MINMAXINFO*>(lParam);
    pInfo->ptMaxPosition = {info.rcWork.left - info.rcMonitor.left, info.rcWork.top - info.rcMonitor.top};
    pInfo->ptMaxTrackSize = {info.rcWork.right - info.rcWork.left, info.rcWork.bottom - info.rcWork.top};
    pInfo->ptMinTrackSize = {m_pm.MinTrackSize().cx, m_pm.MinTrackSize().cy};
    bHandled = false;
    return 0;
}

LRESULT WindowImplBase::OnSize(UINT, WPARAM, LPARAM, bool& bHandled)
{
    bHandled = false;
    if (::IsIconic(WindowHandle())) {
        return 0;
    }
    RECT rc = {};
    ::GetWindowRect(WindowHandle(), &rc);
    ::OffsetRect(&rc, -rc.left, -rc.top);
    const SIZE szRound = m_pm.RoundCorner();
    const HRGN hRgn = (szRound.cx == 0 && szRound.cy == 0)
                          ? ::CreateRectRgn(0, 0, rc.right + 1, rc.bottom + 1)
                          : ::CreateRoundRectRgn(0, 0, rc.right + 1, rc.bottom + 1, szRound.cx, szRound.cy);
    // The window owns the region once it is set.
    if (hRgn != nullptr && ::SetWindowRgn(WindowHandle(), hRgn, TRUE) == 0) {
        ::DeleteObject(hRgn);
    }
    return 0;
}

LRESULT WindowImplBase::OnSysCommand(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& /*bHandled*/)
{
    if (wParam == SC_CLOSE) {
        ::SendMessageW(WindowHandle(), WM_CLOSE, 0, 0);
        return 0;
    }
    // Handled here, the command never reaches the paint manager, which must still see a restore.
    m_pm.NoteSystemCommand(wParam);
    return CallPreviousProc(uMsg, wParam, lParam);
}

LRESULT WindowImplBase::OnCreate(UINT, WPARAM, LPARAM, bool& /*bHandled*/)
{
    const HWND hWnd = WindowHandle();
    const LONG_PTR style = ::GetWindowLongPtrW(hWnd, GWL_STYLE);
    ::SetWindowLongPtrW(hWnd, GWL_STYLE, (style & ~WS_CAPTION) | WS_CLIPSIBLINGS | WS_CLIPCHILDREN);
    RECT rcClient = {};
    ::GetClientRect(hWnd, &rcClient);
    // The client rectangle starts at 0,0; moving there would throw away the position given to Create.
    ::SetWindowPos(hWnd, nullptr, 0, 0, rcClient.right - rcClient.left, rcClient.bottom - rcClient.top,
                   SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    m_pm.Init(hWnd);
    m_pm.AddPreFilter(this);
    if (!LoadSkinResources()) {
        return 0;
    }
    CSkinBuilder builder;
    const CUIString strFile = SkinFile();
    CControlUI* pRoot = SkinSourceKind() == SkinFromResource
                            ? builder.Create(ResourceIdOf(strFile), L"xml", this, &m_pm)
                            : builder.Create(strFile, nullptr, this, &m_pm);
    CStartupMarksUI::Mark(L"skin built");
    if (pRoot == nullptr) {
        ReportSkinFailure();
    }
    m_pm.AttachRoot(pRoot);
    m_pm.AddListener(this);
    InitWindow();
    return 0;
}

bool WindowImplBase::LoadSkinResources()
{
    if (CResourceSettingsUI::ResourcePath().IsEmpty()) {
        wchar_t szModule[MAX_PATH] = {};
        ::GetModuleFileNameW(CWindowManagerUI::Instance(), szModule, MAX_PATH);
        if (wchar_t* pstrSlash = std::wcsrchr(szModule, L'\\')) {
            pstrSlash[1] = L'\0';
        }
        CUIString strPath(szModule);
        strPath += SkinFolder();
        CResourceSettingsUI::SetResourcePath(strPath);
    }
    switch (SkinSourceKind()) {
    case SkinFromZipFile:
        CResourceSettingsUI::SetResourceZip(SkinZipName(), true);
        return true;
    case SkinFromZipResource:
        return UseZipResource();
    default:
        return true;
    }
}

// An absent or empty resource leaves the window without skin, quietly; a resource that is there but
// is no readable archive can never give a skin, so it fails like a skin that does not build.
bool WindowImplBase::UseZipResource()
{
    switch (CResourceSettingsUI::SetResourceZipFromResource(ResourceIdOf(SkinResourceId()))) {
    case ZipResourceOpened:
        CStartupMarksUI::Mark(L"skin zip opened");
        return true;
    case ZipResourceUnreadable:
        ReportSkinFailure();
        return false;
    default:
        return false;
    }
}

void WindowImplBase::ReportSkinFailure()
{
    ::MessageBoxW(nullptr, L"加载资源失败！", SkinFile(), MB_ICONERROR);
    ::ExitProcess(1);
}

LRESULT WindowImplBase::OnMouseWheel(UINT, WPARAM, LPARAM, bool& bHandled)
{
    return NotHandled(bHandled);
}

LRESULT WindowImplBase::OnMouseHover(UINT, WPARAM, LPARAM, bool& bHandled)
{
    return NotHandled(bHandled);
}

LRESULT WindowImplBase::OnMouseLeave(UINT, WPARAM, LPARAM, bool& bHandled)
{
    return NotHandled(bHandled);
}

LRESULT WindowImplBase::OnChar(UINT, WPARAM, LPARAM, bool& bHandled)
{
    return NotHandled(bHandled);
}

LRESULT WindowImplBase::OnKeyDown(UINT, WPARAM, LPARAM, bool& bHandled)
{
    return NotHandled(bHandled);
}

LRESULT WindowImplBase::OnKillFocus(UINT, WPARAM, LPARAM, bool& bHandled)
{
    return NotHandled(bHandled);
}

LRESULT WindowImplBase::OnSetFocus(UINT, WPARAM, LPARAM, bool& bHandled)
{
    return NotHandled(bHandled);
}

LRESULT WindowImplBase::OnLButtonDown(UINT, WPARAM, LPARAM, bool& bHandled)
{
    return NotHandled(bHandled);
}

LRESULT WindowImplBase::OnLButtonUp(UINT, WPARAM, LPARAM, bool& bHandled)
{
    return NotHandled(bHandled);
}

LRESULT WindowImplBase::OnMouseMove(UINT, WPARAM, LPARAM, bool& bHandled)
{
    return NotHandled(bHandled);
}

LRESULT WindowImplBase::OnCustomMessage(UINT, WPARAM, LPARAM, bool& bHandled)
{
    return NotHandled(bHandled);
}

LONG WindowImplBase::WindowStyle()
{
    return static_cast<LONG>(::GetWindowLongPtrW(WindowHandle(), GWL_STYLE) & ~WS_CAPTION);
}

} // namespace Tarvo
