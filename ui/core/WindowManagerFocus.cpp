#include "core/WindowManager.h"

#include "controls/Control.h"

namespace Tarvo {

namespace {

struct TabSearchState {
    CControlUI* pStart;
    CControlUI* pLastTabStop;
    bool bForward;
    bool bNextIsIt;
};

CControlUI* TabVisitor(CControlUI* pControl, void* pData)
{
    auto* pState = static_cast<TabSearchState*>(pData);
    if (pControl == pState->pStart) {
        if (!pState->bForward) {
            return pState->pLastTabStop;
        }
        pState->bNextIsIt = true;
        return nullptr;
    }
    if ((pControl->InputFlags() & InputTabStop) == 0) {
        return nullptr;
    }
    pState->pLastTabStop = pControl;
    return pState->bNextIsIt || pState->pStart == nullptr ? pControl : nullptr;
}

} // namespace

void CWindowManagerUI::SetFocusControl(CControlUI* pControl)
{
    if (m_hWnd != nullptr && ::GetFocus() != m_hWnd && pControl != m_pFocus) {
        ::SetFocus(m_hWnd);
    }
    if (pControl == m_pFocus) {
        return;
    }
    DropFocus(pControl);
    if (pControl == nullptr) {
        return;
    }
    if (pControl->Manager() == this && pControl->IsVisible() && pControl->IsEnabled()) {
        m_pFocus = pControl;
        SendEvent(pControl, EventSetFocus);
        // The event may have removed the control.
        if (m_pFocus == pControl) {
            SendNotification(pControl, L"setfocus");
        }
    }
}

void CWindowManagerUI::DropFocus(CControlUI* pNewFocus)
{
    CControlUI* pOld = m_pFocus;
    if (pOld == nullptr) {
        return;
    }
    SendEvent(pOld, EventKillFocus, 0, 0, 0, 0, pNewFocus);
    if (m_pFocus == pOld) {
        SendNotification(pOld, L"killfocus");
    }
    m_pFocus = nullptr;
}

void CWindowManagerUI::FocusNearestTabStop(CControlUI* pControl)
{
    ::SetFocus(m_hWnd);
    if (pControl == nullptr) {
        return;
    }
    DropFocus(pControl);
    m_pFocus = TabSearch(pControl, false, nullptr);
    m_bFocusNeeded = true;
    if (m_pRoot != nullptr && m_pRoot->IsVisible()) {
        m_pRoot->MarkForLayout();
    }
}

CControlUI* CWindowManagerUI::TabSearch(CControlUI* pStart, bool bForward, CControlUI** ppLastSeen) const
{
    if (m_pRoot == nullptr) {
        return nullptr;
    }
    TabSearchState state = {pStart, nullptr, bForward, false};
    CControlUI* pFound = m_pRoot->SearchTree(TabVisitor, &state, FindVisible | FindEnabled | FindMeFirst);
    if (ppLastSeen != nullptr) {
        *ppLastSeen = state.pLastTabStop;
    }
    return pFound;
}

bool CWindowManagerUI::MoveFocus(bool bForward)
{
    if (m_bLayoutNeeded && bForward) {
        m_bFocusNeeded = true;
        if (m_hWnd != nullptr) {
            ::InvalidateRect(m_hWnd, nullptr, FALSE);
        }
        return true;
    }
    CControlUI* pLastSeen = nullptr;
    CControlUI* pNext = TabSearch(m_pFocus, bForward, &pLastSeen);
    if (pNext == nullptr) {
        pNext = bForward ? TabSearch(nullptr, true, nullptr) : pLastSeen;
    }
    SetFocusControl(pNext);
    m_bFocusNeeded = false;
    return true;
}

int CWindowManagerUI::FindTimer(const CControlUI* pControl, UINT localId) const
{
    for (int i = 0; i < m_timers.GetSize(); ++i) {
        const auto* pTimer = static_cast<const UITimerInfo*>(m_timers.GetAt(i));
        if (pTimer->sender == pControl && pTimer->window == m_hWnd && pTimer->localId == localId) {
            return i;
        }
    }
    return -1;
}

UINT CWindowManagerUI::NextSystemTimerId()
{
    // Ids wrap below 240; one still held by a record would hand the system timer of another
    // control over to the new one, so held ids are skipped.
    for (UINT nTry = 0; nTry < ControlTimerIdLimit; ++nTry) {
        m_uNextTimerId = (m_uNextTimerId + 1) % ControlTimerIdLimit;
        bool bHeld = false;
        for (int i = 0; i < m_timers.GetSize() && !bHeld; ++i) {
            const auto* pTimer = static_cast<const UITimerInfo*>(m_timers.GetAt(i));
            bHeld = pTimer->window == m_hWnd && pTimer->systemId == m_uNextTimerId;
        }
        if (!bHeld) {
            return m_uNextTimerId;
        }
    }
    return ControlTimerIdLimit;
}

bool CWindowManagerUI::StartTimer(CControlUI* pControl, UINT localId, UINT elapseMs)
{
    if (pControl == nullptr || m_hWnd == nullptr) {
        return false;
    }
    const int nIndex = FindTimer(pControl, localId);
    if (nIndex >= 0) {
        auto* pTimer = static_cast<UITimerInfo*>(m_timers.GetAt(nIndex));
        if (!pTimer->stopped || ::SetTimer(m_hWnd, pTimer->systemId, elapseMs, nullptr) == 0) {
            return false;
        }
        pTimer->stopped = false;
        pTimer->elapseMs = elapseMs;
        return true;
    }
    const UINT systemId = NextSystemTimerId();
    if (systemId >= ControlTimerIdLimit || ::SetTimer(m_hWnd, systemId, elapseMs, nullptr) == 0) {
        return false;
    }
    auto* pTimer = new UITimerInfo{pControl, localId, m_hWnd, systemId, false, elapseMs};
    if (!m_timers.Add(pTimer)) {
        ::KillTimer(m_hWnd, systemId);
        delete pTimer;
        return false;
    }
    return true;
}

bool CWindowManagerUI::StopTimer(CControlUI* pControl, UINT localId)
{
    for (int i = 0; i < m_timers.GetSize(); ++i) {
        auto* pTimer = static_cast<UITimerInfo*>(m_timers.GetAt(i));
        if (pTimer->sender == pControl && pTimer->window == m_hWnd && pTimer->localId == localId && !pTimer->stopped) {
            if (::IsWindow(m_hWnd)) {
                ::KillTimer(m_hWnd, pTimer->systemId);
            }
            pTimer->stopped = true;
            return true;
        }
    }
    return false;
}

UINT CWindowManagerUI::TimerSystemId(CControlUI* pControl, UINT localId) const
{
    const int nIndex = FindTimer(pControl, localId);
    return nIndex >= 0 ? static_cast<const UITimerInfo*>(m_timers.GetAt(nIndex))->systemId : 0;
}

UINT CWindowManagerUI::TimerElapse(CControlUI* pControl, UINT localId) const
{
    const int nIndex = FindTimer(pControl, localId);
    if (nIndex < 0) {
        return 0;
    }
    const auto* pTimer = static_cast<const UITimerInfo*>(m_timers.GetAt(nIndex));
    return pTimer->stopped ? 0 : pTimer->elapseMs;
}

void CWindowManagerUI::RemoveTimersOf(const CControlUI* pControl)
{
    for (int i = m_timers.GetSize() - 1; i >= 0; --i) {
        auto* pTimer = static_cast<UITimerInfo*>(m_timers.GetAt(i));
        if (pTimer->sender != pControl || pTimer->window != m_hWnd) {
            continue;
        }
        if (!pTimer->stopped && ::IsWindow(m_hWnd)) {
            ::KillTimer(m_hWnd, pTimer->systemId);
        }
        m_timers.Remove(i);
        delete pTimer;
    }
}

void CWindowManagerUI::KillAllTimers()
{
    for (int i = 0; i < m_timers.GetSize(); ++i) {
        auto* pTimer = static_cast<UITimerInfo*>(m_timers.GetAt(i));
        if (!pTimer->stopped && pTimer->window == m_hWnd && ::IsWindow(m_hWnd)) {
            ::KillTimer(m_hWnd, pTimer->systemId);
        }
        delete pTimer;
    }
    m_timers.Empty();
}

} // namespace Tarvo
