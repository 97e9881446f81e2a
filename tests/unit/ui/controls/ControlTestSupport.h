#pragma once

// Fixtures for control tests without a window: a paint manager that has no window, fake
// children of a fixed measured size and a notification recorder.

#include "controls/Container.h"
#include "controls/Control.h"
#include "core/NotifyPump.h"
#include "core/WindowManager.h"

#include <windows.h>

#include <memory>
#include <ostream>
#include <string>
#include <vector>

inline bool operator==(const RECT& a, const RECT& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

inline bool operator==(const SIZE& a, const SIZE& b)
{
    return a.cx == b.cx && a.cy == b.cy;
}

inline void PrintTo(const RECT& rc, std::ostream* os)
{
    *os << "(" << rc.left << ", " << rc.top << ", " << rc.right << ", " << rc.bottom << ")";
}

inline void PrintTo(const SIZE& sz, std::ostream* os)
{
    *os << "{" << sz.cx << ", " << sz.cy << "}";
}

namespace controltest {

using namespace Tarvo;

// A control whose MeasureSize answers a fixed size (its declared size unless set), and
// remembers what it was offered.
class CFixedControlUI : public CControlUI {
public:
    CFixedControlUI() = default;
    explicit CFixedControlUI(SIZE szMeasured) : m_bMeasuredSet(true), m_szMeasured(szMeasured) {}
    SIZE MeasureSize(SIZE szAvailable) override
    {
        m_offered.push_back(szAvailable);
        return m_bMeasuredSet ? m_szMeasured : CControlUI::MeasureSize(szAvailable);
    }
    const std::vector<SIZE>& Offered() const { return m_offered; }

private:
    bool m_bMeasuredSet = false;
    SIZE m_szMeasured = {0, 0};
    std::vector<SIZE> m_offered;
};

struct NotificationRecord {
    std::wstring type;
    CControlUI* sender;
    WPARAM wParam;
    LPARAM lParam;
};

class NotificationLog : public INotifyUI {
public:
    void OnNotification(UINotification& notification) override
    {
        records.push_back({notification.type.GetData(), notification.sender, notification.wParam, notification.lParam});
    }
    std::vector<std::wstring> Types() const
    {
        std::vector<std::wstring> types;
        for (const auto& record : records) {
            types.push_back(record.type);
        }
        return types;
    }
    std::vector<NotificationRecord> records;
};

// A manager without a window holding a root of the given class; children added to the root
// (or below it) are attached at once.
template <class TRoot> class ManagedTree {
public:
    explicit ManagedTree(RECT rcRoot = RECT{0, 0, 0, 0}) : root(new TRoot)
    {
        manager.AttachRoot(root);
        manager.AddListener(&notifications);
        if (!::IsRectEmpty(&rcRoot)) {
            root->SetPosition(rcRoot);
        }
    }
    ~ManagedTree() { manager.RemoveListener(&notifications); }

    template <class T = CFixedControlUI, class... Args>
    T* Add(CContainerUI* pParent, const wchar_t* pstrAttributes = L"", Args&&... args)
    {
        auto* pChild = new T(std::forward<Args>(args)...);
        pChild->ApplyAttributeString(pstrAttributes);
        if (!pParent->AddItem(pChild)) {
            delete pChild;
            return nullptr;
        }
        return pChild;
    }
    template <class T = CFixedControlUI, class... Args> T* Add(const wchar_t* pstrAttributes = L"", Args&&... args)
    {
        return Add<T>(root, pstrAttributes, std::forward<Args>(args)...);
    }
    void Layout(RECT rc) { root->SetPosition(rc); }

    NotificationLog notifications;
    CWindowManagerUI manager;
    TRoot* root;
};

} // namespace controltest
