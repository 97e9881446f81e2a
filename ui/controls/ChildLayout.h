#pragma once

#include "controls/Container.h"

namespace Tarvo {

// A container whose content comes from a separate skin file ("xmlfile").
class CChildLayoutUI : public CContainerUI {
public:
    CChildLayoutUI();

    const wchar_t* TypeName() const override;
    void* LookupInterface(const wchar_t* pstrName) override;
    void ApplyAttribute(const wchar_t* pstrName, const wchar_t* pstrValue) override;
    void Initialize() override;

    CUIString SkinFile() const { return m_strSkinFile; }
    void SetSkinFile(const wchar_t* pstrFile) { m_strSkinFile = pstrFile; }

private:
    CUIString m_strSkinFile;
};

} // namespace Tarvo
