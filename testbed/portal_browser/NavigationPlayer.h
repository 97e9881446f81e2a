#pragma once

#include <windows.h>

#include <deque>
#include <functional>

namespace wxlmportal {

// Plays a navigation's steps one per posted message on the creating thread, the way a real
// browser delivers its events after Navigate2 has returned.
class CNavigationPlayer {
public:
    CNavigationPlayer() = default;
    ~CNavigationPlayer();
    CNavigationPlayer(const CNavigationPlayer&) = delete;
    CNavigationPlayer& operator=(const CNavigationPlayer&) = delete;

    void Add(std::function<void()> step);
    void Clear() { m_steps.clear(); }
    bool Busy() const { return !m_steps.empty(); }

private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    void PlayOne();

    HWND m_hwnd = nullptr;
    std::deque<std::function<void()>> m_steps;
};

} // namespace wxlmportal
