#include "NavigationPlayer.h"

#include "ModuleWindowClass.h"

namespace wxlmportal {

namespace {
constexpr const wchar_t* kClassName = L"WxlmPortalPlayer";
constexpr UINT kPlayMessage = WM_APP + 1;
} // namespace

CNavigationPlayer::~CNavigationPlayer()
{
    m_steps.clear();
    if (m_hwnd != nullptr) {
        ::DestroyWindow(m_hwnd);
    }
}

void CNavigationPlayer::Add(std::function<void()> step)
{
    if (m_hwnd == nullptr && EnsureWindowClass(kClassName, &CNavigationPlayer::Proc)) {
        m_hwnd = ::CreateWindowExW(0, kClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, ModuleInstance(), this);
    }
    m_steps.push_back(std::move(step));
    if (m_hwnd != nullptr) {
        ::PostMessageW(m_hwnd, kPlayMessage, 0, 0);
    }
}

// The step is taken off the queue before it runs: it may start a new navigation or clear the queue.
void CNavigationPlayer::PlayOne()
{
    if (m_steps.empty()) {
        return;
    }
    const std::function<void()> step = std::move(m_steps.front());
    m_steps.pop_front();
    step();
}

LRESULT CALLBACK CNavigationPlayer::Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    CNavigationPlayer* self = WindowOwner<CNavigationPlayer>(hwnd, message, lParam);
    if (message == kPlayMessage && self != nullptr) {
        self->PlayOne();
        return 0;
    }
    return ::DefWindowProcW(hwnd, message, wParam, lParam);
}

} // namespace wxlmportal
