#pragma once

#include <windows.h>
#include <commctrl.h>

#include "core/ControlEvent.h"
#include "core/GdiResources.h"
#include "core/ImageCache.h"
#include "core/MessageFilter.h"
#include "core/NotifyPump.h"
#include "core/Shadow.h"
#include "core/UINameMap.h"
#include "core/UIPtrList.h"
#include "core/UIString.h"

#include <unordered_map>

namespace Tarvo {

class CControlUI;

// The message that deletes the objects handed to DeleteLater.
constexpr UINT WM_UI_DELETE_LATER = 0x8001;
// System timer of the caret blink; control timers stay below it.
constexpr UINT_PTR CaretTimerId = 241;
constexpr UINT ControlTimerIdLimit = 240;

// One font of a manager; deleting the record deletes the font.
struct UIFontInfo {
    UIFontInfo() = default;
    UIFontInfo(const UIFontInfo&) = delete;
    UIFontInfo& operator=(const UIFontInfo&) = delete;
    ~UIFontInfo()
    {
        if (hFont != nullptr) {
            ::DeleteObject(hFont);
        }
    }

    HFONT hFont = nullptr;
    CUIString face;
    int size = 0;
    bool bold = false;
    bool underline = false;
    bool italic = false;
    TEXTMETRICW metrics = {}; // tmHeight 0 until measured
    // Advance widths of single characters in this font, measured on a plain DC (MM_TEXT,
    // GM_COMPATIBLE, no character extra) and kept while the font lives.
    std::unordered_map<wchar_t, int> charWidths;
};

struct UITimerInfo {
    CControlUI* sender = nullptr;
    UINT localId = 0;
    HWND window = nullptr;
    UINT systemId = 0;
    bool stopped = false;
    UINT elapseMs = 0;
};

// Makes one native window host a tree of windowless controls: events, painting, focus,
// timers, tooltips, notifications and the tables shared by the tree.
class CWindowManagerUI {
public:
    CWindowManagerUI();
    ~CWindowManagerUI();
    CWindowManagerUI(const CWindowManagerUI&) = delete;
    CWindowManagerUI& operator=(const CWindowManagerUI&) = delete;

    void Init(HWND hWnd);
    HWND WindowHandle() const { return m_hWnd; }
    HDC PaintDC() const { return m_hPaintDC; }

    // The process-wide resource settings (CResourceSettingsUI) under the manager's name.
    static void SetInstance(HINSTANCE hInstance);
    static HINSTANCE Instance();
    static void SetResourceInstance(HINSTANCE hInstance);
    static HINSTANCE ResourceModule();
    static void SetResourcePath(const wchar_t* pstrPath);
    static const CUIString& ResourcePath();
    static void SetResourceZip(const wchar_t* pstrName, bool bCached = false);
    static bool SetResourceZipMemory(const void* pBytes, DWORD dwSize);
    static const CUIString& ResourceZip();

    // Images of this window, decoded once each.
    const UIImageInfo* AddImage(const wchar_t* pstrName, const wchar_t* pstrType = nullptr, DWORD dwMask = 0);
    const UIImageInfo* FindImage(const wchar_t* pstrName) const;
    const UIImageInfo* FindOrAddImage(const wchar_t* pstrName, const wchar_t* pstrType = nullptr, DWORD dwMask = 0);

    bool AttachRoot(CControlUI* pRoot);
    CControlUI* Root() const { return m_pRoot; }

    bool HandleWindowMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lRes);
    bool PreHandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lRes);
    static bool PreDispatch(MSG* pMsg);
    static void RunMessageLoop();

    void Invalidate(const RECT& rc);
    void RequestLayout() { m_bLayoutNeeded = true; }
    // Takes note of a system command on its way to the default procedure: a restore makes the next
    // layered paint cover the whole client area. A window that handles WM_SYSCOMMAND itself calls it.
    void NoteSystemCommand(WPARAM wCommand);
    bool IsLayoutNeeded() const { return m_bLayoutNeeded; }

    void SetFocusControl(CControlUI* pControl);
    CControlUI* FocusControl() const { return m_pFocus; }
    bool MoveFocus(bool bForward = true);
    void FocusNearestTabStop(CControlUI* pControl);

    bool StartTimer(CControlUI* pControl, UINT localId, UINT elapseMs);
    bool StopTimer(CControlUI* pControl, UINT localId);
    // The system id behind a control timer, 0 when there is none.
    UINT TimerSystemId(CControlUI* pControl, UINT localId) const;
    // The interval a running control timer was last set to, 0 when it is not running.
    UINT TimerElapse(CControlUI* pControl, UINT localId) const;

    void ForgetControl(CControlUI* pControl);
    CControlUI* ControlAt(POINT pt) const;
    CControlUI* HoverControl() const { return m_pHoverControl; }
    CControlUI* ClickControl() const { return m_pClickControl; }
    POINT LastMousePoint() const { return m_ptLastMouse; }

    bool AddPreFilter(IMessageFilterUI* pFilter);
    bool RemovePreFilter(IMessageFilterUI* pFilter);
    bool AddMessageFilter(IMessageFilterUI* pFilter);
    bool RemoveMessageFilter(IMessageFilterUI* pFilter);
    bool AddPostPainter(CControlUI* pControl);
    bool RemovePostPainter(CControlUI* pControl);
    bool AddTranslator(ITranslateAccelerator* pTranslator);
    bool RemoveTranslator(ITranslateAccelerator* pTranslator);
    // The object is deleted when the window gets WM_UI_DELETE_LATER (posted by the caller).
    void DeleteLater(CControlUI* pObject);

    // Caret of a text-editing control.
    void SetCaret(CControlUI* pOwner, const RECT& rc, DWORD dwColor = 0);
    void ShowCaret(bool bShow);
    void PaintCaret(HDC hDC, const RECT& rcPaint);

    // Window settings from the skin.
    SIZE InitialSize() const { return m_szInitial; }
    void SetInitialSize(int cx, int cy);
    RECT SizeBox() const { return m_rcSizeBox; }
    void SetSizeBox(const RECT& rc) { m_rcSizeBox = rc; }
    RECT CaptionRect() const { return m_rcCaption; }
    void SetCaptionRect(const RECT& rc) { m_rcCaption = rc; }
    SIZE RoundCorner() const { return m_szRoundCorner; }
    void SetRoundCorner(int cx, int cy) { m_szRoundCorner = {cx, cy}; }
    SIZE MinTrackSize() const { return m_szMinTrack; }
    void SetMinTrackSize(int cx, int cy) { m_szMinTrack = {cx, cy}; }
    SIZE MaxTrackSize() const { return m_szMaxTrack; }
    void SetMaxTrackSize(int cx, int cy) { m_szMaxTrack = {cx, cy}; }
    BYTE Opacity() const { return m_nOpacity; }
    void SetOpacity(BYTE nOpacity) { m_nOpacity = nOpacity; }
    bool IsLayered() const { return m_bLayered; }
    void SetLayered(bool bLayered) { m_bLayered = bLayered; }
    bool UsesGdiplusText() const { return m_bUseGdiplusText; }
    void SetUseGdiplusText(bool bUse) { m_bUseGdiplusText = bUse; }

    // The back buffer, null until the first paint; its pixels only for layered windows.
    HDC OffscreenDC() const { return m_offscreenDC.Get(); }
    const DWORD* OffscreenBits() const { return m_pOffscreenBits; }

    // Notifications.
    void SendNotification(CControlUI* pSender, const wchar_t* pstrType, WPARAM wParam = 0, LPARAM lParam = 0);
    bool AddListener(INotifyUI* pListener);
    bool RemoveListener(INotifyUI* pListener);
    bool UsesVirtualWindow() const { return m_bUseVirtualWindow; }
    void SetUseVirtualWindow(bool bUse) { m_bUseVirtualWindow = bUse; }

    // Inheritance of fonts, colours and class defaults.
    CWindowManagerUI* ParentManager() const { return m_pParentManager; }
    void SetParentManager(CWindowManagerUI* pParent) { m_pParentManager = pParent; }

    CShadowUI& Shadow() { return m_shadow; }

    // Fonts.
    HFONT AddFont(const wchar_t* pstrFace, int nSize, bool bBold, bool bUnderline, bool bItalic);
    HFONT FindFont(const wchar_t* pstrFace, int nSize, bool bBold, bool bUnderline, bool bItalic) const;
    UIFontInfo* FontInfoAt(int nIndex);
    UIFontInfo* FontInfoOf(HFONT hFont);
    UIFontInfo* DefaultFontInfo();
    void SetDefaultFont(const wchar_t* pstrFace, int nSize, bool bBold, bool bUnderline, bool bItalic);
    int FontCount() const { return m_fonts.GetSize(); }

    // Default colours (0xAARRGGBB), answered by the top-most ancestor manager.
    DWORD DefaultDisabledColor() const;
    void SetDefaultDisabledColor(DWORD dwColor) { m_dwDefaultDisabledColor = dwColor; }
    DWORD DefaultFontColor() const;
    void SetDefaultFontColor(DWORD dwColor) { m_dwDefaultFontColor = dwColor; }
    DWORD DefaultLinkFontColor() const;
    void SetDefaultLinkFontColor(DWORD dwColor) { m_dwDefaultLinkFontColor = dwColor; }
    DWORD DefaultLinkHoverFontColor() const;
    void SetDefaultLinkHoverFontColor(DWORD dwColor) { m_dwDefaultLinkHoverFontColor = dwColor; }
    DWORD DefaultSelectedColor() const;
    void SetDefaultSelectedColor(DWORD dwColor) { m_dwDefaultSelectedColor = dwColor; }

    // Name index.
    CControlUI* ControlByName(const wchar_t* pstrName) const;
    // Enters every named control of the subtree (a container that gains a child calls it).
    void IndexNames(CControlUI* pSubtree);

    // Option groups.
    bool JoinOptionGroup(const wchar_t* pstrGroup, CControlUI* pOption);
    void LeaveOptionGroup(const wchar_t* pstrGroup, CControlUI* pOption);
    const CUIPtrList* OptionGroup(const wchar_t* pstrGroup) const;

    // Class defaults: attribute text per control class; the first definition stays.
    void SetClassDefaults(const wchar_t* pstrClassName, const wchar_t* pstrAttributes);
    const wchar_t* ClassDefaults(const wchar_t* pstrClassName) const;

    // Every live manager, in creation order.
    static const CUIPtrList& Managers();

private:
    // Message table steps.
    bool OnSize();
    void OnClose();
    void OnTimer(WPARAM wParam);
    void OnMouseMove(LPARAM lParam);
    void OnMouseLeave();
    bool OnMouseHover(LPARAM lParam);
    void OnButtonDown(int type, WPARAM wParam, LPARAM lParam);
    void OnButtonUp(WPARAM wParam, LPARAM lParam);
    void OnDoubleClick(WPARAM wParam, LPARAM lParam);
    void OnContextMenu(LPARAM lParam);
    void OnMouseWheel(WPARAM wParam, LPARAM lParam);
    bool OnSetCursor(WPARAM wParam, LPARAM lParam);
    void OnGetMinMaxInfo(LPARAM lParam);
    void OnKillFocus(WPARAM wParam);
    bool ReflectToChild(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lRes);
    void DeletePendingObjects();
    void SendEvent(CControlUI* pControl, int type, WPARAM wParam = 0, LPARAM lParam = 0, WORD keyState = 0,
                   WCHAR keyChar = 0, CControlUI* pSender = nullptr);
    void StartMouseTracking();
    bool FilterMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lRes);
    bool TranslateAccelerator(MSG* pMsg);
    CControlUI* FindShortcutTarget(WCHAR ch) const;

    // Tooltip.
    void ShowToolTip(CControlUI* pControl);
    void HideToolTip();

    // Painting.
    void OnPaint();
    void LayOutPending();
    void PaintLayered(const RECT& rcUpdate);
    void PaintOrdinary(HDC hWindowDC, const RECT& rcUpdate);
    bool EnsureBackBuffer(bool bDibSection);
    void DropBackBuffer();
    void PaintTree(HDC hDC, const RECT& rcPaint);
    void HideCaretNow();

    // Focus.
    void DropFocus(CControlUI* pNewFocus);
    CControlUI* TabSearch(CControlUI* pStart, bool bForward, CControlUI** ppLastSeen) const;

    // Timers.
    int FindTimer(const CControlUI* pControl, UINT localId) const;
    UINT NextSystemTimerId();
    void RemoveTimersOf(const CControlUI* pControl);
    void KillAllTimers();

    // Tables.
    void ComputeMetrics(UIFontInfo& info) const;
    const CWindowManagerUI* TopManager() const;
    CWindowManagerUI* TopManager();
    HFONT CreateFontFrom(const wchar_t* pstrFace, int nSize, bool bBold, bool bUnderline, bool bItalic,
                         bool bClearType) const;
    void InitDefaultFont();
    void DestroyFonts();
    void DestroyTables();
    void ForgetOptionOfGroups(CControlUI* pOption);

    HWND m_hWnd = nullptr;
    HDC m_hPaintDC = nullptr;
    CUIMemoryDC m_offscreenDC;
    CUIBitmapHandle m_offscreenBitmap;
    HGDIOBJ m_hOffscreenOldBitmap = nullptr;
    DWORD* m_pOffscreenBits = nullptr;
    SIZE m_szOffscreen = {0, 0};
    RECT m_rcLayeredUpdate = {0, 0, 0, 0};
    bool m_bRestorePending = false;
    BYTE m_nOpacity = 255;
    HWND m_hToolTipWnd = nullptr;
    TOOLINFOW m_toolInfo = {};
    CUIString m_strToolTipText; // the tool record points into it
    RECT m_rcCaret = {0, 0, 0, 0};
    bool m_bCaretVisible = false;
    bool m_bCaretActive = false;
    CControlUI* m_pCaretOwner = nullptr;
    DWORD m_dwCaretColor = 0;
    bool m_bUseGdiplusText = false;
    ULONG_PTR m_gdiplusToken = 0;
    CControlUI* m_pRoot = nullptr;
    CControlUI* m_pFocus = nullptr;
    CControlUI* m_pHoverControl = nullptr;
    CControlUI* m_pClickControl = nullptr;
    CControlUI* m_pKeyControl = nullptr;
    POINT m_ptLastMouse = {0, 0};
    SIZE m_szMinTrack = {0, 0};
    SIZE m_szMaxTrack = {0, 0};
    SIZE m_szInitial = {0, 0};
    RECT m_rcSizeBox = {0, 0, 0, 0};
    SIZE m_szRoundCorner = {0, 0};
    RECT m_rcCaption = {0, 0, 0, 0};
    UINT m_uNextTimerId = 4096;
    bool m_bFirstLayout = true;
    bool m_bLayoutNeeded = false;
    bool m_bFocusNeeded = false;
    bool m_bOffscreenPaint = true;
    bool m_bLayered = false;
    bool m_bMouseTracking = false;
    bool m_bMouseCaptured = false;
    bool m_bUseVirtualWindow = false;
    CUIPtrList m_listeners;
    CUIPtrList m_timers;
    CUIPtrList m_preFilters;
    CUIPtrList m_messageFilters;
    CUIPtrList m_postPainters;
    CUIPtrList m_deleteLater;
    CUIPtrList m_translators;
    CWindowManagerUI* m_pParentManager = nullptr;

    UIFontInfo m_defaultFont; // its font is owned like the others
    CUIPtrList m_fonts;
    DWORD m_dwDefaultDisabledColor = 0xFFA7A6AA;
    DWORD m_dwDefaultFontColor = 0xFF000001;
    DWORD m_dwDefaultLinkFontColor = 0xFF0000FF;
    DWORD m_dwDefaultLinkHoverFontColor = 0xFFD3215F;
    DWORD m_dwDefaultSelectedColor = 0xFFBAE4FF;
    CUINameMap m_nameIndex;
    CUINameMap m_optionGroups;
    CUINameMap m_classDefaults;
    CImageCacheUI m_images;
    CShadowUI m_shadow; // after the images: it draws from them until it goes
};

} // namespace Tarvo
