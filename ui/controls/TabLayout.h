#pragma once

#include "controls/Container.h"

namespace Tarvo {

// Shows one child (page) at a time; selecting a page sends "tabselect" (new, old index).
class CTabLayoutUI : public CContainerUI {
public:
    CTabLayoutUI();

    const wchar_t* TypeName() const override;
    void* LookupInterface(const wchar_t* pstrName) override;
    void SetPosition(RECT rc) override;
    void ApplyAttribute(const wchar_t* pstrName, const wchar_t* pstrValue) override;
    bool AddItem(CControlUI* pControl) override;
    bool InsertItem(CControlUI* pControl, int nIndex) override;
    bool RemoveItem(CControlUI* pControl) override;
    void RemoveAllItems() override;

    virtual bool SelectItemControl(CControlUI* pControl); // 110
    virtual bool SelectItem(int nIndex);                  // 111

    int CurrentIndex() const { return m_iCurrentIndex; }

private:
    void PlaceCurrentPage(const RECT& rcClient, CControlUI* pPage);

    int m_iCurrentIndex = -1;
};

} // namespace Tarvo
