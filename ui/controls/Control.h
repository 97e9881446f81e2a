#pragma once

#include <windows.h>

#include "core/ControlEvent.h"
#include "core/Delegate.h"
#include "core/UIString.h"

namespace Tarvo {

class CWindowManagerUI;

struct RelativePlacement {
    bool enabled = false;
    SIZE parentSize = {0, 0};
    int moveXPercent = 0;
    int moveYPercent = 0;
    int zoomXPercent = 0;
    int zoomYPercent = 0;
};

// Base of every windowless control. The virtual operations keep their slot order (see the
// numbers): subclasses append theirs after PaintPost.
class CControlUI {
public:
    CControlUI();
    virtual ~CControlUI(); // 0

    virtual CUIString Name() const;                                                                  // 1
    virtual void SetName(const wchar_t* pstrName);                                                   // 2
    virtual const wchar_t* TypeName() const;                                                         // 3
    virtual void* LookupInterface(const wchar_t* pstrName);                                          // 4
    virtual UINT InputFlags();                                                                       // 5
    virtual bool Invoke();                                                                           // 6
    virtual CWindowManagerUI* Manager() const;                                                       // 7
    virtual void AttachTo(CWindowManagerUI* pManager, CControlUI* pParent, bool bInitialize = true); // 8
    virtual CControlUI* Parent() const;                                                              // 9
    virtual CUIString Text() const;                                                                  // 10
    virtual void SetText(const wchar_t* pstrText);                                                   // 11
    virtual RECT Position() const;                                                                   // 12
    virtual void SetPosition(RECT rc);                                                               // 13
    virtual int Width() const;                                                                       // 14
    virtual int Height() const;                                                                      // 15
    virtual int Left() const;                                                                        // 16
    virtual int Top() const;                                                                         // 17
    virtual RECT Padding() const;                                                                    // 18
    virtual void SetPadding(RECT rcPadding);                                                         // 19
    virtual SIZE FixedOffset() const;                                                                // 20
    virtual void SetFixedOffset(int cx, int cy);                                                     // 21
    virtual int DeclaredWidth() const;                                                               // 22
    virtual void SetDeclaredWidth(int cx);                                                           // 23
    virtual int DeclaredHeight() const;                                                              // 24
    virtual void SetDeclaredHeight(int cy);                                                          // 25
    virtual int MinWidth() const;                                                                    // 26
    virtual void SetMinWidth(int cx);                                                                // 27
    virtual int MaxWidth() const;                                                                    // 28
    virtual void SetMaxWidth(int cx);                                                                // 29
    virtual int MinHeight() const;                                                                   // 30
    virtual void SetMinHeight(int cy);                                                               // 31
    virtual int MaxHeight() const;                                                                   // 32
    virtual void SetMaxHeight(int cy);                                                               // 33
    virtual void SetRelativePosition(int moveX, int moveY, int zoomX, int zoomY);                    // 34
    virtual void SetRelativeParentSize(int cx, int cy);                                              // 35
    virtual RelativePlacement RelativePosition() const;                                              // 36
    virtual bool IsRelativePosition() const;                                                         // 37
    virtual CUIString ToolTip() const;                                                               // 38
    virtual void SetToolTip(const wchar_t* pstrText);                                                // 39
    virtual void SetToolTipWidth(int nWidth);                                                        // 40
    virtual int ToolTipWidth() const;                                                                // 41
    virtual WCHAR Shortcut() const;                                                                  // 42
    virtual void SetShortcut(WCHAR ch);                                                              // 43
    virtual bool IsContextMenuEnabled() const;                                                       // 44
    virtual void SetContextMenuEnabled(bool bEnabled);                                               // 45
    virtual CUIString UserData() const;                                                              // 46
    virtual void SetUserData(const wchar_t* pstrText);                                               // 47
    virtual UINT_PTR Tag() const;                                                                    // 48
    virtual void SetTag(UINT_PTR tag);                                                               // 49
    virtual bool IsVisible() const;                                                                  // 50
    virtual void SetVisible(bool bVisible = true);                                                   // 51
    virtual void SetAncestorVisible(bool bVisible);                                                  // 52
    virtual bool IsEnabled() const;                                                                  // 53
    virtual void SetEnabled(bool bEnabled = true);                                                   // 54
    virtual bool IsMouseEnabled() const;                                                             // 55
    virtual void SetMouseEnabled(bool bEnabled = true);                                              // 56
    virtual bool IsKeyboardEnabled() const;                                                          // 57
    virtual void SetKeyboardEnabled(bool bEnabled = true);                                           // 58
    virtual bool IsFocused() const;                                                                  // 59
    virtual void RequestFocus();                                                                     // 60
    virtual bool IsFloating() const;                                                                 // 61
    virtual void SetFloating(bool bFloating = true);                                                 // 62
    virtual CControlUI* SearchTree(FindControlProc proc, void* pData, UINT uFlags);                  // 63
    virtual void Initialize();                                                                       // 64
    virtual void InitializeHook();                                                                   // 65
    virtual void DispatchEvent(ControlEvent& event);                                                 // 66
    virtual void HandleEvent(ControlEvent& event);                                                   // 67
    virtual void ApplyAttribute(const wchar_t* pstrName, const wchar_t* pstrValue);                  // 68
    virtual SIZE MeasureSize(SIZE szAvailable);                                                      // 69
    virtual void Paint(HDC hDC, const RECT& rcPaint);                                                // 70
    virtual void PaintBackgroundColor(HDC hDC);                                                      // 71
    virtual void PaintBackgroundImage(HDC hDC);                                                      // 72
    virtual void PaintStateImages(HDC hDC);                                                          // 73
    virtual void PaintTextContent(HDC hDC);                                                          // 74
    virtual void PaintBorderLines(HDC hDC);                                                          // 75
    virtual void PaintPost(HDC hDC, const RECT& rcPaint);                                            // 76

    void Repaint();
    void MarkForLayout();
    void MarkParentForLayout();
    bool IsUpdateNeeded() const { return m_bUpdateNeeded; }
    CUIString VirtualWindowName() const;
    void SetVirtualWindowName(const wchar_t* pstrName);
    // Applies name="value" pairs separated by one blank; reading stops at the first malformed pair.
    void ApplyAttributeString(const wchar_t* pstrList);

    // Appearance fields as the attributes set them.
    DWORD BackgroundColor() const { return m_dwBackColor; }
    DWORD BackgroundColor2() const { return m_dwBackColor2; }
    DWORD BackgroundColor3() const { return m_dwBackColor3; }
    CUIString BackgroundImage() const { return m_strBkImage; }
    CUIString ForegroundImage() const { return m_strForeImage; }
    void SetForegroundImage(const wchar_t* pstrImage);
    DWORD BorderColor() const { return m_dwBorderColor; }
    DWORD FocusBorderColor() const { return m_dwFocusBorderColor; }
    int BorderSize() const { return m_nBorderSize; }
    RECT SideBorderSize() const { return m_rcSideBorderSize; }
    int BorderStyle() const { return m_nBorderStyle; }
    SIZE BorderRound() const { return m_szBorderRound; }

    // Handler lists: each keeps its own copy of the handler.
    CEventSource& InitHandlers() { return m_initHandlers; }
    CEventSource& DestroyHandlers() { return m_destroyHandlers; }
    CEventSource& SizeHandlers() { return m_sizeHandlers; }
    CEventSource& EventHandlers() { return m_eventHandlers; }
    CEventSource& NotifyHandlers() { return m_notifyHandlers; }

    CControlUI(const CControlUI&) = delete;
    CControlUI& operator=(const CControlUI&) = delete;

protected:
    // The item rectangle clipped by every ancestor's; empty when nothing of it shows.
    RECT ClippedByAncestors(RECT rc) const;
    void ApplySizeChange();
    void SendNotification(const wchar_t* pstrType, WPARAM wParam = 0, LPARAM lParam = 0);
    // Stores a colour and repaints when it changed.
    void StoreColor(DWORD& field, DWORD dwColor);
    void ApplyBorderSize(const wchar_t* pstrValue);

    CEventSource m_initHandlers;
    CEventSource m_destroyHandlers;
    CEventSource m_sizeHandlers;
    CEventSource m_eventHandlers;
    CEventSource m_notifyHandlers;
    CWindowManagerUI* m_pManager = nullptr;
    CControlUI* m_pParent = nullptr;
    CUIString m_strVirtualWindowName;
    CUIString m_strName;
    bool m_bUpdateNeeded = true;
    bool m_bContextMenuEnabled = false;
    RECT m_rcItem = {0, 0, 0, 0};
    RECT m_rcPadding = {0, 0, 0, 0};
    SIZE m_szFixedOffset = {0, 0};
    SIZE m_szDeclared = {0, 0};
    SIZE m_szMin = {0, 0};
    SIZE m_szMax = {9999, 9999};
    bool m_bVisible = true;
    bool m_bAncestorVisible = true;
    bool m_bEnabled = true;
    bool m_bMouseEnabled = true;
    bool m_bKeyboardEnabled = true;
    bool m_bFocused = false;
    bool m_bFloating = false;
    bool m_bPlacingNow = false;
    RelativePlacement m_relativePlacement;
    CUIString m_strText;
    CUIString m_strToolTip;
    WCHAR m_chShortcut = 0;
    CUIString m_strUserData;
    UINT_PTR m_uTag = 0;
    DWORD m_dwBackColor = 0;
    DWORD m_dwBackColor2 = 0;
    DWORD m_dwBackColor3 = 0;
    CUIString m_strBkImage;
    CUIString m_strForeImage;
    DWORD m_dwBorderColor = 0;
    DWORD m_dwFocusBorderColor = 0;
    int m_nBorderSize = 0;
    int m_nBorderStyle = 0;
    int m_nToolTipWidth = 300;
    SIZE m_szBorderRound = {0, 0};
    RECT m_rcPaint = {0, 0, 0, 0};
    RECT m_rcSideBorderSize = {0, 0, 0, 0};
};

} // namespace Tarvo
