#include "SkinnedTestWindow.h"

#include "TestFiles.h"

namespace guitest {

CSkinnedTestWindow::CSkinnedTestWindow(std::wstring skin, UISkinSourceKind kind, std::wstring resourceId)
    : m_skin(std::move(skin)), m_kind(kind), m_resourceId(std::move(resourceId))
{
}

CSkinnedTestWindow::~CSkinnedTestWindow()
{
    if (::IsWindow(WindowHandle())) {
        ::DestroyWindow(WindowHandle());
    }
}

CControlUI* CSkinnedTestWindow::CreateCustomControl(const wchar_t* pstrClass)
{
    static const struct {
        const wchar_t* element;
        const wchar_t* typeName;
    } kStandIns[] = {
        {L"FakeLabel", L"LabelUI"},
        {L"FakeButton", L"ButtonUI"},
    };
    for (const auto& standIn : kStandIns) {
        if (std::wstring(pstrClass) == standIn.element) {
            return new CStandInUI(standIn.typeName);
        }
    }
    return nullptr;
}

LRESULT CSkinnedTestWindow::OnClose(UINT, WPARAM wParam, LPARAM, bool& bHandled)
{
    closes.push_back(wParam);
    bHandled = false;
    return 0;
}

HWND CSkinnedTestWindow::CreateAt(HWND hOwner, int x, int y, DWORD dwStyle)
{
    return Create(hOwner, L"skinned test window", dwStyle, 0, x, y, 0, 0);
}

POINT CSkinnedTestWindow::ScreenPoint(int x, int y) const
{
    POINT pt = {x, y};
    ::ClientToScreen(WindowHandle(), &pt);
    return pt;
}

void PumpMessages()
{
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

bool PumpUntil(const std::function<bool()>& condition)
{
    return wxlmtest::WaitUntil([&] {
        PumpMessages();
        return condition();
    });
}

RECT WindowRectOf(HWND hWnd)
{
    RECT rc = {0, 0, 0, 0};
    ::GetWindowRect(hWnd, &rc);
    return rc;
}

std::wstring RectText(const RECT& rc)
{
    return std::to_wstring(rc.left) + L"," + std::to_wstring(rc.top) + L"," + std::to_wstring(rc.right) + L"," +
           std::to_wstring(rc.bottom);
}

} // namespace guitest
