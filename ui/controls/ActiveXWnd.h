#pragma once

#include <windows.h>

#include "core/WindowWnd.h"

namespace Tarvo {

class CActiveXCtrl;

// The child window a windowed object lives in. It belongs to its site and deletes itself when the
// window is gone, telling the site first.
class CActiveXWnd final : public CWindowWnd {
public:
    // A new host window, a child of the given window at an empty rectangle; null on failure.
    static CActiveXWnd* Create(CActiveXCtrl* pSite, HWND hWndParent);

    LPCWSTR WindowClassName() const override;
    LRESULT ProcessWindowMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) override;
    void OnFinalWindowMessage(HWND hWnd) override;

private:
    explicit CActiveXWnd(CActiveXCtrl* pSite) : m_pSite(pSite) {}
    ~CActiveXWnd() = default;

    LRESULT OnSetFocus(UINT uMsg, WPARAM wParam, LPARAM lParam);
    LRESULT OnKillFocus(UINT uMsg, WPARAM wParam, LPARAM lParam);
    LRESULT OnMouseActivate(UINT uMsg, WPARAM wParam, LPARAM lParam);
    LRESULT OnEraseBackground(UINT uMsg, WPARAM wParam, LPARAM lParam);
    LRESULT OnPaint();

    CActiveXCtrl* m_pSite;
    // Until creation has returned, a window that goes away leaves the deleting to Create.
    bool m_bOwnsItself = false;
};

} // namespace Tarvo
