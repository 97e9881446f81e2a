#pragma once

#include "PortalPage.h"

namespace wxlmportal {

class IPageOwner {
public:
    virtual PageView View() const = 0;
    virtual void OnPageClick(PageHit hit) = 0;

protected:
    ~IPageOwner() = default;
};

// The in-place window the page is painted in; clicks go to the owner.
class CPageWindow {
public:
    explicit CPageWindow(IPageOwner& owner) : m_owner(owner) {}
    ~CPageWindow() { Destroy(); }
    CPageWindow(const CPageWindow&) = delete;
    CPageWindow& operator=(const CPageWindow&) = delete;

    bool Create(HWND parent, const RECT& position);
    void Destroy();
    void Move(const RECT& position);
    void Show(bool show);
    void Invalidate();
    HWND Handle() const { return m_hwnd; }

private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void OnPaint();
    void OnClick(LPARAM lParam, bool down);

    IPageOwner& m_owner;
    HWND m_hwnd = nullptr;
};

} // namespace wxlmportal
