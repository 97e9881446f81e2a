#pragma once

#include "controls/AttributeValue.h"
#include "controls/ListInterfaces.h"
#include "controls/ListItemRow.h"

#include <cwchar>

namespace Tarvo {

// The list-row face of a control class: what the plain rows (on CControlUI) and the container
// rows (on CContainerUI) share, written once for both bases.
template <class Base, bool bContainer> class CListRowOf : public Base, public IListItemUI {
public:
    void* LookupInterface(const wchar_t* pstrName) override
    {
        if (pstrName != nullptr && std::wcscmp(pstrName, L"ListItem") == 0) {
            return static_cast<IListItemUI*>(this);
        }
        return Base::LookupInterface(pstrName);
    }

    bool Invoke() override
    {
        if (!Base::Invoke() || m_row.Owner() == nullptr) {
            return false;
        }
        return m_row.Owner()->SelectItem(m_row.Index(), true);
    }

    void HandleEvent(ControlEvent& event) override
    {
        if (!m_row.HandleEvent(*this, event, bContainer)) {
            Base::HandleEvent(event);
        }
    }

    void ApplyAttribute(const wchar_t* pstrName, const wchar_t* pstrValue) override
    {
        if (pstrName != nullptr && std::wcscmp(pstrName, L"selected") == 0) {
            m_row.ApplySelected(ParseAttributeBool(pstrValue != nullptr ? pstrValue : L""));
            return;
        }
        Base::ApplyAttribute(pstrName, pstrValue);
    }

    SIZE MeasureSize(SIZE szAvailable) override
    {
        SIZE sz = Base::MeasureSize(szAvailable);
        if (sz.cy == 0) {
            // A row without height would stretch over the whole list.
            sz.cy = DefaultRowHeight(this->Manager(), m_row.Look());
        }
        return sz;
    }

    void PaintBackgroundColor(HDC hDC) override
    {
        m_row.PaintBackground(hDC, *this, this->m_rcPaint);
        Base::PaintBackgroundColor(hDC);
    }

    // IListItemUI
    int Index() const override { return m_row.Index(); }
    void SetIndex(int nIndex) override { m_row.SetIndex(nIndex); }
    IListOwnerUI* Owner() const override { return m_row.Owner(); }
    void SetOwner(IListOwnerUI* pOwner) override { m_row.SetOwner(pOwner); }
    bool IsSelected() const override { return m_row.IsSelected(); }
    void SetSelectedLook(bool bSelected) override
    {
        if (m_row.IsSelected() != bSelected) {
            m_row.SetSelected(bSelected);
            this->Repaint();
        }
    }
    bool IsHot() const override { return m_row.IsHot(); }

protected:
    CListItemRow m_row;
};

} // namespace Tarvo
