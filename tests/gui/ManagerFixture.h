#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "controls/Control.h"
#include "core/WindowManager.h"

namespace guitest {

using namespace Tarvo;

// What the test controls saw, in order, shared by every control of a fixture.
struct EventRecord {
    std::wstring control;
    int type;
    WPARAM wParam;
    LPARAM lParam;
    WORD keyState;
    CControlUI* sender;
};

struct EventLog {
    std::vector<EventRecord> events;
    std::vector<std::wstring> destroyed;
    std::vector<std::wstring> invoked;
    std::vector<std::pair<std::wstring, RECT>> painted;

    // "name:type" for every recorded event of the given types (all types when empty).
    std::vector<std::wstring> Sequence(std::vector<int> types = {}) const;
    void Clear();
};

// A control at a fixed rectangle that records what reaches it and fills itself with a colour.
class CTestControlUI : public CControlUI {
public:
    CTestControlUI(EventLog* pLog, const wchar_t* pstrName, RECT rcFixed, COLORREF color = CLR_INVALID);
    ~CTestControlUI() override;

    const wchar_t* TypeName() const override { return m_strTypeName.c_str(); }
    UINT InputFlags() override { return m_uInputFlags; }
    bool Invoke() override;
    void HandleEvent(ControlEvent& event) override;
    void PaintBackgroundColor(HDC hDC) override;
    void PaintPost(HDC hDC, const RECT& rcPaint) override;

    void SetTypeName(const wchar_t* pstrTypeName) { m_strTypeName = pstrTypeName; }
    void SetInputFlags(UINT uFlags) { m_uInputFlags = uFlags; }
    RECT FixedRect() const { return m_rcFixed; }
    // Runs once when the next event of this type arrives, before it is recorded.
    void OnNextEvent(int type, std::function<void()> action);

protected:
    EventLog* m_pLog;
    std::wstring m_strTypeName = L"TestControlUI";
    UINT m_uInputFlags = 0;
    RECT m_rcFixed;
    COLORREF m_color;
    int m_nActionType = 0;
    std::function<void()> m_action;
};

// A container placing its children at their fixed rectangles, honouring the search flags.
class CTestContainerUI : public CTestControlUI {
public:
    using CTestControlUI::CTestControlUI;
    ~CTestContainerUI() override;

    const wchar_t* TypeName() const override { return L"TestContainerUI"; }
    template <class T = CTestControlUI, class... Args> T* AddChild(Args&&... args)
    {
        auto* pChild = new T(m_pLog, std::forward<Args>(args)...);
        AddExisting(pChild);
        return pChild;
    }
    void AddExisting(CControlUI* pChild);
    // Takes the child out and deletes it.
    void RemoveChild(CControlUI* pChild);

    void AttachTo(CWindowManagerUI* pManager, CControlUI* pParent, bool bInitialize = true) override;
    void SetPosition(RECT rc) override;
    CControlUI* SearchTree(FindControlProc proc, void* pData, UINT uFlags) override;
    void Paint(HDC hDC, const RECT& rcPaint) override;

private:
    std::vector<CControlUI*> m_children;
};

// A popup window whose messages go through a paint manager.
class TestHostWindow {
public:
    explicit TestHostWindow(int cx = 320, int cy = 200, bool bLayered = false);
    ~TestHostWindow();
    TestHostWindow(const TestHostWindow&) = delete;
    TestHostWindow& operator=(const TestHostWindow&) = delete;

    HWND Hwnd() const { return m_hWnd; }
    CWindowManagerUI& Manager() { return *m_pManager; }
    // Runs the manager's layout and paint now, for the pending update area or all of it, until
    // nothing is left to paint (a layout inside a paint invalidates again).
    void PaintNow(bool bWholeWindow = false);
    // Dispatches what is queued for this window in the given message range, without waiting.
    void PumpRange(UINT uFirst, UINT uLast);
    // Builds a root container of the client size and attaches it.
    CTestContainerUI* AttachNewRoot(EventLog* pLog, COLORREF color = CLR_INVALID);
    LRESULT Send(UINT uMsg, WPARAM wParam = 0, LPARAM lParam = 0)
    {
        return ::SendMessageW(m_hWnd, uMsg, wParam, lParam);
    }
    // Messages the manager left unhandled, in order.
    const std::vector<UINT>& Unhandled() const { return m_unhandled; }

private:
    static LRESULT CALLBACK WndProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);

    std::unique_ptr<CWindowManagerUI> m_pManager;
    HWND m_hWnd = nullptr;
    std::vector<UINT> m_unhandled;
};

LPARAM ClientPoint(int x, int y);

// The mouse pointer is shared by every test process on the display: tests that move it hold this.
class CursorLock {
public:
    CursorLock();
    ~CursorLock();
    CursorLock(const CursorLock&) = delete;
    CursorLock& operator=(const CursorLock&) = delete;
    // Moves the pointer to a client point of the window and waits until it is there.
    bool MoveTo(HWND hWnd, int x, int y);

private:
    HANDLE m_hMutex;
};
MSG MakeMsg(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);
// Sets the thread's key state of one key (pressed or not) for GetKeyState.
void SetKeyDown(int vk, bool bDown);

} // namespace guitest
