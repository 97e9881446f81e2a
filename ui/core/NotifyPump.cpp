#include "core/NotifyPump.h"

#include "controls/Control.h"

namespace Tarvo {

const NotifyMap* CNotifyPump::ClassNotifyMap()
{
    static const NotifyMapEntry entries[] = {NotifyMapEnd()};
    static const struct NotifyMap map = {nullptr, entries};
    return &map;
}

const NotifyMap* CNotifyPump::NotifyMap() const
{
    return ClassNotifyMap();
}

bool CNotifyPump::DispatchNotification(UINotification& notification)
{
    const CUIString strSender = notification.sender != nullptr ? notification.sender->Name() : CUIString();
    for (const struct NotifyMap* pMap = NotifyMap(); pMap != nullptr;
         pMap = pMap->baseMap != nullptr ? pMap->baseMap() : nullptr) {
        const NotifyMapEntry* pAnyControl = nullptr;
        for (const NotifyMapEntry* pEntry = pMap->entries; pEntry->signature != NotifySignatureEnd; ++pEntry) {
            if (notification.type != pEntry->type) {
                continue;
            }
            if (pEntry->controlName == nullptr || pEntry->controlName[0] == L'\0') {
                pAnyControl = pEntry;
            } else if (strSender == pEntry->controlName) {
                return CallEntry(*pEntry, notification);
            }
        }
        if (pAnyControl != nullptr) {
            return CallEntry(*pAnyControl, notification);
        }
    }
    return false;
}

bool CNotifyPump::CallEntry(const NotifyMapEntry& entry, UINotification& notification)
{
    switch (entry.signature) {
    case NotifySignatureParams:
        (this->*entry.paramsHandler)(notification.wParam, notification.lParam);
        return true;
    case NotifySignatureNotify:
        (this->*entry.notifyHandler)(notification);
        return true;
    default:
        return false;
    }
}

bool CNotifyPump::AddVirtualWindow(const wchar_t* pstrName, CNotifyPump* pPump)
{
    return pstrName != nullptr && pPump != nullptr && m_virtualWindows.Insert(pstrName, pPump);
}

bool CNotifyPump::RemoveVirtualWindow(const wchar_t* pstrName)
{
    return pstrName != nullptr && m_virtualWindows.Remove(pstrName);
}

bool CNotifyPump::DispatchToVirtualWindow(UINotification& notification)
{
    if (notification.virtualWindow.IsEmpty()) {
        return false;
    }
    for (int i = 0; i < m_virtualWindows.GetSize(); ++i) {
        const wchar_t* pstrKey = m_virtualWindows.GetAt(i);
        if (notification.virtualWindow.CompareNoCase(pstrKey) == 0) {
            auto* pPump = static_cast<CNotifyPump*>(m_virtualWindows.Find(pstrKey, false));
            return pPump != nullptr && pPump->DispatchNotification(notification);
        }
    }
    return false;
}

} // namespace Tarvo
