#include "core/WindowManager.h"

#include "controls/Control.h"

#include <vector>

namespace Tarvo {

namespace {

CControlUI* RegisterName(CControlUI* pControl, void* pData)
{
    const CUIString strName = pControl->Name();
    if (!strName.IsEmpty()) {
        static_cast<CUINameMap*>(pData)->Set(strName, pControl);
    }
    return nullptr;
}

} // namespace

void CWindowManagerUI::SendNotification(CControlUI* pSender, const wchar_t* pstrType, WPARAM wParam, LPARAM lParam)
{
    UINotification notification;
    notification.type = pstrType != nullptr ? pstrType : L"";
    notification.sender = pSender;
    notification.timestamp = ::GetTickCount();
    notification.mousePoint = m_ptLastMouse;
    notification.wParam = wParam;
    notification.lParam = lParam;
    if (m_bUseVirtualWindow && pSender != nullptr) {
        notification.virtualWindow = pSender->VirtualWindowName();
    }
    if (pSender != nullptr) {
        pSender->NotifyHandlers().Invoke(&notification);
    }
    // A listener may remove listeners; only those still registered are called.
    const CUIPtrList listeners(m_listeners);
    for (int i = 0; i < listeners.GetSize(); ++i) {
        void* pListener = listeners.GetAt(i);
        if (m_listeners.Find(pListener) >= 0) {
            static_cast<INotifyUI*>(pListener)->OnNotification(notification);
        }
    }
}

bool CWindowManagerUI::AddListener(INotifyUI* pListener)
{
    if (pListener == nullptr || m_listeners.Find(pListener) >= 0) {
        return false;
    }
    return m_listeners.Add(pListener);
}

bool CWindowManagerUI::RemoveListener(INotifyUI* pListener)
{
    const int nIndex = m_listeners.Find(pListener);
    return nIndex >= 0 && m_listeners.Remove(nIndex);
}

CControlUI* CWindowManagerUI::ControlByName(const wchar_t* pstrName) const
{
    return pstrName != nullptr ? static_cast<CControlUI*>(m_nameIndex.Find(pstrName)) : nullptr;
}

void CWindowManagerUI::IndexNames(CControlUI* pSubtree)
{
    if (pSubtree != nullptr) {
        pSubtree->SearchTree(RegisterName, &m_nameIndex, 0);
    }
}

bool CWindowManagerUI::JoinOptionGroup(const wchar_t* pstrGroup, CControlUI* pOption)
{
    if (pstrGroup == nullptr || pOption == nullptr) {
        return false;
    }
    auto* pGroup = static_cast<CUIPtrList*>(m_optionGroups.Find(pstrGroup));
    if (pGroup == nullptr) {
        pGroup = new CUIPtrList(6);
        if (!m_optionGroups.Insert(pstrGroup, pGroup)) {
            delete pGroup;
            return false;
        }
    }
    if (pGroup->Find(pOption) >= 0) {
        return false;
    }
    return pGroup->Add(pOption);
}

void CWindowManagerUI::LeaveOptionGroup(const wchar_t* pstrGroup, CControlUI* pOption)
{
    if (pstrGroup == nullptr) {
        return;
    }
    auto* pGroup = static_cast<CUIPtrList*>(m_optionGroups.Find(pstrGroup));
    if (pGroup == nullptr) {
        return;
    }
    const int nIndex = pGroup->Find(pOption);
    if (nIndex >= 0) {
        pGroup->Remove(nIndex);
    }
    if (pGroup->IsEmpty()) {
        m_optionGroups.Remove(pstrGroup);
        delete pGroup;
    }
}

void CWindowManagerUI::ForgetOptionOfGroups(CControlUI* pOption)
{
    // Lookups reorder the buckets, so the names are taken first.
    std::vector<CUIString> groups;
    for (int i = 0; i < m_optionGroups.GetSize(); ++i) {
        groups.emplace_back(m_optionGroups.GetAt(i));
    }
    for (const CUIString& strGroup : groups) {
        LeaveOptionGroup(strGroup, pOption);
    }
}

const CUIPtrList* CWindowManagerUI::OptionGroup(const wchar_t* pstrGroup) const
{
    return pstrGroup != nullptr ? static_cast<const CUIPtrList*>(m_optionGroups.Find(pstrGroup)) : nullptr;
}

void CWindowManagerUI::SetClassDefaults(const wchar_t* pstrClassName, const wchar_t* pstrAttributes)
{
    if (pstrClassName == nullptr || m_classDefaults.Find(pstrClassName) != nullptr) {
        return;
    }
    auto* pText = new CUIString(pstrAttributes != nullptr ? pstrAttributes : L"");
    if (!m_classDefaults.Insert(pstrClassName, pText)) {
        delete pText;
    }
}

const wchar_t* CWindowManagerUI::ClassDefaults(const wchar_t* pstrClassName) const
{
    if (pstrClassName == nullptr) {
        return nullptr;
    }
    for (const CWindowManagerUI* pManager = this; pManager != nullptr; pManager = pManager->m_pParentManager) {
        if (const auto* pText = static_cast<const CUIString*>(pManager->m_classDefaults.Find(pstrClassName))) {
            return pText->GetData();
        }
    }
    return nullptr;
}

void CWindowManagerUI::DestroyTables()
{
    for (int i = 0; i < m_classDefaults.GetSize(); ++i) {
        delete static_cast<CUIString*>(m_classDefaults.Find(m_classDefaults.GetAt(i), false));
    }
    m_classDefaults.RemoveAll();
    for (int i = 0; i < m_optionGroups.GetSize(); ++i) {
        delete static_cast<CUIPtrList*>(m_optionGroups.Find(m_optionGroups.GetAt(i), false));
    }
    m_optionGroups.RemoveAll();
}

} // namespace Tarvo
