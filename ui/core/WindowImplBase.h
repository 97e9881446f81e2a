#pragma once

#include "core/MessageFilter.h"
#include "core/NotifyPump.h"
#include "core/SkinBuilder.h"
#include "core/UIString.h"
#include "core/WindowManager.h"
#include "core/WindowWnd.h"

namespace Tarvo {

enum UISkinSourceKind : int {
    SkinFromFile = 1,
    SkinFromZipFile = 2,
    SkinFromResource = 3,
    SkinFromZipResource = 4,
};

// Timer of the attention jitter of a modal box.
constexpr UINT_PTR ModalAttentionTimerId = 10;
constexpr UINT ModalAttentionPeriodMs = 80;

// A borderless skinned window: owns its paint manager, builds its skin on WM_CREATE, routes each
// message to an overridable handler and then to the paint manager, hit-tests caption and resize
// borders, rounds its corners and handles the standard system buttons.
class WindowImplBase : public CWindowWnd,
                       public CNotifyPump,
                       public INotifyUI,
                       public IMessageFilterUI,
                       public IDialogBuilderCallback {
public:
    WindowImplBase() = default;

    UINT WindowClassStyle() const override;                                         // 2
    LRESULT ProcessWindowMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) override; // 3
    void OnFinalWindowMessage(HWND hWnd) override;                                  // 4
    virtual ~WindowImplBase();                                                      // 5
    virtual void InitWindow();                                                      // 6
    virtual void OnClickNotification(UINotification& notification);                 // 7
    virtual CUIString SkinFolder() = 0;                                             // 8
    virtual CUIString SkinFile() = 0;                                               // 9
    virtual bool WantsDefaultKey(WPARAM wKey);                                      // 10
    virtual UISkinSourceKind SkinSourceKind() const;                                // 11
    virtual CUIString SkinZipName();                                                // 12
    virtual CUIString SkinResourceId();                                             // 13: decimal "ZIPRES" id

    virtual LRESULT OnClose(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled);           // 14
    virtual LRESULT OnDestroy(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled);         // 15
    virtual LRESULT OnEraseBackground(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled); // 16
    virtual LRESULT OnNcActivate(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled);      // 17
    virtual LRESULT OnNcCalcSize(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled);      // 18
    virtual LRESULT OnNcPaint(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled);         // 19
    virtual LRESULT OnNcHitTest(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled);       // 20
    virtual LRESULT OnGetMinMaxInfo(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled);   // 21
    virtual LRESULT OnMouseWheel(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled);      // 22
    virtual LRESULT OnMouseHover(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled);      // 23
    virtual LRESULT OnMouseLeave(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled);      // 24
    virtual LRESULT OnSize(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled);            // 25
    virtual LRESULT OnChar(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled);            // 26
    virtual LRESULT OnSysCommand(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled);      // 27
    virtual LRESULT OnCreate(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled);          // 28
    virtual LRESULT OnKeyDown(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled);         // 29
    virtual LRESULT OnKillFocus(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled);       // 30
    virtual LRESULT OnSetFocus(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled);        // 31
    virtual LRESULT OnLButtonDown(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled);     // 32
    virtual LRESULT OnLButtonUp(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled);       // 33
    virtual LRESULT OnMouseMove(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled);       // 34
    virtual LRESULT OnCustomMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled);   // 35
    virtual LONG WindowStyle();                                                                 // 36

    // INotifyUI
    void OnNotification(UINotification& notification) override;
    // IMessageFilterUI
    LRESULT FilterMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled) override;
    // IDialogBuilderCallback
    CControlUI* CreateCustomControl(const wchar_t* pstrClass) override;

    const struct NotifyMap* NotifyMap() const override;
    static const struct NotifyMap* ClassNotifyMap();

    CWindowManagerUI& Manager() { return m_pm; }

protected:
    CWindowManagerUI m_pm;

private:
    using Handler = LRESULT (WindowImplBase::*)(UINT, WPARAM, LPARAM, bool&);
    static Handler HandlerFor(UINT uMsg);
    bool HandleModalMessage(UINT uMsg, LPARAM lParam, LRESULT& lRes);
    void AskModalForAttention() const;
    bool LoadSkinResources();
    bool UseZipResource();
    void ReportSkinFailure();
};

} // namespace Tarvo
