#pragma once

#include "core/UIString.h"

#include <windows.h>

namespace Tarvo {

class CWindowManagerUI;
class CDibSectionUI;

// A soft drop shadow around a borderless host window: a layered, click-through popup owned by
// the host and kept in step with it by subclassing the host's window procedure. Drawn from a
// nine-grid image (image mode) or computed from the host's outline.
class CShadowUI {
public:
    CShadowUI() = default;
    ~CShadowUI();
    CShadowUI(const CShadowUI&) = delete;
    CShadowUI& operator=(const CShadowUI&) = delete;

    // Registers the window class "TarvoShadowWnd" once per process.
    static bool Initialize(HINSTANCE hInstance);

    // Nothing (false) unless showShadow is set; otherwise creates the shadow for the manager's
    // window and subclasses it.
    bool Create(CWindowManagerUI* pManager);
    // Redraws and repositions the shadow of the host.
    void Update(HWND hHost);

    // Setters reject values outside their ranges and keep the previous value.
    bool SetSize(int nSize);                // -20..20
    bool SetSharpness(unsigned nSharpness); // 0..20
    bool SetDarkness(unsigned nDarkness);   // 0..255
    bool SetPosition(int x, int y);         // -20..20 each
    void SetColor(DWORD dwColor) { m_dwColor = dwColor & 0xFFFFFF; }
    void SetCorner(const RECT& rcCorner) { m_rcCorner = rcCorner; }
    void SetImage(const wchar_t* pstrImage);
    void SetShowShadow(bool bShow) { m_bShowShadow = bShow; }
    bool IsShowShadow() const { return m_bShowShadow; }

    HWND ShadowWindow() const { return m_hWnd; }
    bool IsImageMode() const { return m_bImageMode; }

private:
    enum : BYTE { StatusEnabled = 0x01, StatusVisible = 0x02, StatusHostVisible = 0x04 };

    static LRESULT CALLBACK HostProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);
    void OnHostMessage(HWND hHost, UINT uMsg, WPARAM wParam, LPARAM lParam);
    void OnHostSize(HWND hHost, WPARAM wParam, LPARAM lParam);
    void OnHostPainted(HWND hHost);
    void OnHostShow(HWND hHost, bool bShown);
    void ShowShadowWindow(bool bShow);
    bool PaintShadow(const CDibSectionUI& buffer, HWND hHost, const RECT& rcHost);
    POINT ShadowOrigin(const RECT& rcHost) const;
    void RefreshIfVisible();
    void Detach();

    CWindowManagerUI* m_pManager = nullptr;
    HWND m_hWnd = nullptr;
    HWND m_hHost = nullptr;
    WNDPROC m_pHostProc = nullptr;
    BYTE m_status = 0;
    bool m_bImageMode = false;
    bool m_bShowShadow = false;
    BYTE m_nDarkness = 150;
    BYTE m_nSharpness = 5;
    signed char m_nSize = 0;
    signed char m_nOffsetX = 0;
    signed char m_nOffsetY = 0;
    WORD m_lastWidth = 0;
    WORD m_lastHeight = 0;
    bool m_bUpdatePending = false;
    DWORD m_dwColor = 0;
    CUIString m_sImage;
    RECT m_rcCorner = {0, 0, 0, 0};
};

} // namespace Tarvo
