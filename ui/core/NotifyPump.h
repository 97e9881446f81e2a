#pragma once

#include <windows.h>

#include "core/UINameMap.h"
#include "core/UIString.h"

namespace Tarvo {

class CControlUI;

struct UINotification {
    CUIString type;
    CUIString virtualWindow;
    CControlUI* sender = nullptr;
    DWORD timestamp = 0;
    POINT mousePoint = {0, 0};
    WPARAM wParam = 0;
    LPARAM lParam = 0;
};

class INotifyUI {
public:
    virtual void OnNotification(UINotification& notification) = 0;

protected:
    ~INotifyUI() = default;
};

class CNotifyPump;

enum NotifyHandlerSignature : int {
    NotifySignatureEnd = 0,
    NotifySignatureParams = 1, // LRESULT handler(WPARAM, LPARAM)
    NotifySignatureNotify = 2, // void handler(UINotification&)
};

// One handler of a NotifyMap. The member function is stored in the pump's terms; the
// signature says which of the two forms it really has.
struct NotifyMapEntry {
    using ParamsHandler = LRESULT (CNotifyPump::*)(WPARAM, LPARAM);
    using NotifyHandler = void (CNotifyPump::*)(UINotification&);

    const wchar_t* type;
    const wchar_t* controlName; // empty: any control
    int signature;
    ParamsHandler paramsHandler;
    NotifyHandler notifyHandler;
};

struct NotifyMap {
    const NotifyMap* (*baseMap)();
    const NotifyMapEntry* entries; // ends with an entry of signature 0
};

// Routes notifications to member functions of the window class through static NotifyMaps.
class CNotifyPump {
public:
    CNotifyPump() = default;
    virtual ~CNotifyPump() = default;
    CNotifyPump(const CNotifyPump&) = delete;
    CNotifyPump& operator=(const CNotifyPump&) = delete;

    // The class's table; a class with handlers overrides it to return its ClassNotifyMap().
    virtual const struct NotifyMap* NotifyMap() const;
    bool DispatchNotification(UINotification& notification);

    bool AddVirtualWindow(const wchar_t* pstrName, CNotifyPump* pPump);
    bool RemoveVirtualWindow(const wchar_t* pstrName);
    // Hands the notification to the pump registered for its virtual window (ignoring case).
    bool DispatchToVirtualWindow(UINotification& notification);

    // The pump's own table: no entries, no base.
    static const struct NotifyMap* ClassNotifyMap();

private:
    bool CallEntry(const NotifyMapEntry& entry, UINotification& notification);

    CUINameMap m_virtualWindows;
};

// Entries of a class's static table, which names its base table explicitly:
//   static const NotifyMapEntry entries[] = {
//       MakeNotifyEntry<CMyWnd>(L"click", L"btnClose", &CMyWnd::OnCloseClick), NotifyMapEnd()};
//   static const NotifyMap map = {&CBaseWnd::ClassNotifyMap, entries};
template <class T>
constexpr NotifyMapEntry MakeNotifyEntry(const wchar_t* type, const wchar_t* controlName,
                                         void (T::*handler)(UINotification&))
{
    return {type, controlName, NotifySignatureNotify, nullptr, static_cast<NotifyMapEntry::NotifyHandler>(handler)};
}

template <class T>
constexpr NotifyMapEntry MakeNotifyEntry(const wchar_t* type, const wchar_t* controlName,
                                         LRESULT (T::*handler)(WPARAM, LPARAM))
{
    return {type, controlName, NotifySignatureParams, static_cast<NotifyMapEntry::ParamsHandler>(handler), nullptr};
}

constexpr NotifyMapEntry NotifyMapEnd()
{
    return {L"", L"", NotifySignatureEnd, nullptr, nullptr};
}

} // namespace Tarvo
