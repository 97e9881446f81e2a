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

LOGFONTW DefaultGuiLogFont()
{
    LOGFONTW lf = {};
    ::GetObjectW(::GetStockObject(DEFAULT_GUI_FONT), sizeof lf, &lf);
    lf.lfCharSet = DEFAULT_CHARSET;
    return lf;
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

void CWindowManagerUI::InitDefaultFont()
{
    const LOGFONTW lf = DefaultGuiLogFont();
    m_defaultFont.hFont = ::CreateFontIndirectW(&lf);
    m_defaultFont.face = lf.lfFaceName;
    m_defaultFont.size = -lf.lfHeight;
    m_defaultFont.bold = lf.lfWeight >= FW_BOLD;
    m_defaultFont.underline = lf.lfUnderline != 0;
    m_defaultFont.italic = lf.lfItalic != 0;
}

HFONT CWindowManagerUI::CreateFontFrom(const wchar_t* pstrFace, int nSize, bool bBold, bool bUnderline, bool bItalic,
                                       bool bClearType) const
{
    LOGFONTW lf = DefaultGuiLogFont();
    if (pstrFace != nullptr) {
        wcsncpy(lf.lfFaceName, pstrFace, LF_FACESIZE - 1);
        lf.lfFaceName[LF_FACESIZE - 1] = L'\0';
    }
    lf.lfHeight = -nSize;
    if (bBold) {
        lf.lfWeight += FW_BOLD;
    }
    lf.lfUnderline = bUnderline ? TRUE : FALSE;
    lf.lfItalic = bItalic ? TRUE : FALSE;
    if (bClearType) {
        lf.lfQuality = CLEARTYPE_QUALITY;
    }
    return ::CreateFontIndirectW(&lf);
}

void CWindowManagerUI::ComputeMetrics(UIFontInfo& info) const
{
    if (info.metrics.tmHeight != 0 || m_hPaintDC == nullptr || info.hFont == nullptr) {
        return;
    }
    CUISelectObject select(m_hPaintDC, info.hFont);
    ::GetTextMetricsW(m_hPaintDC, &info.metrics);
}

HFONT CWindowManagerUI::AddFont(const wchar_t* pstrFace, int nSize, bool bBold, bool bUnderline, bool bItalic)
{
    const HFONT hFont = CreateFontFrom(pstrFace, nSize, bBold, bUnderline, bItalic, true);
    if (hFont == nullptr) {
        return nullptr;
    }
    auto* pInfo = new UIFontInfo;
    pInfo->hFont = hFont;
    pInfo->face = pstrFace != nullptr ? pstrFace : L"";
    pInfo->size = nSize;
    pInfo->bold = bBold;
    pInfo->underline = bUnderline;
    pInfo->italic = bItalic;
    ComputeMetrics(*pInfo);
    if (!m_fonts.Add(pInfo)) {
        delete pInfo;
        return nullptr;
    }
    return hFont;
}

HFONT CWindowManagerUI::FindFont(const wchar_t* pstrFace, int nSize, bool bBold, bool bUnderline, bool bItalic) const
{
    const wchar_t* pstrWanted = pstrFace != nullptr ? pstrFace : L"";
    for (const CWindowManagerUI* pManager = this; pManager != nullptr; pManager = pManager->m_pParentManager) {
        for (int i = 0; i < pManager->m_fonts.GetSize(); ++i) {
            const auto* pInfo = static_cast<const UIFontInfo*>(pManager->m_fonts.GetAt(i));
            if (pInfo->face == pstrWanted && pInfo->size == nSize && pInfo->bold == bBold &&
                pInfo->underline == bUnderline && pInfo->italic == bItalic) {
                return pInfo->hFont;
            }
        }
    }
    return nullptr;
}

UIFontInfo* CWindowManagerUI::FontInfoAt(int nIndex)
{
    if (nIndex < 0 || nIndex >= m_fonts.GetSize()) {
        return TopManager()->DefaultFontInfo();
    }
    auto* pInfo = static_cast<UIFontInfo*>(m_fonts.GetAt(nIndex));
    ComputeMetrics(*pInfo);
    return pInfo;
}

UIFontInfo* CWindowManagerUI::FontInfoOf(HFONT hFont)
{
    for (CWindowManagerUI* pManager = this; pManager != nullptr; pManager = pManager->m_pParentManager) {
        for (int i = 0; i < pManager->m_fonts.GetSize(); ++i) {
            auto* pInfo = static_cast<UIFontInfo*>(pManager->m_fonts.GetAt(i));
            if (hFont != nullptr && pInfo->hFont == hFont) {
                ComputeMetrics(*pInfo);
                return pInfo;
            }
        }
    }
    return TopManager()->DefaultFontInfo();
}

UIFontInfo* CWindowManagerUI::DefaultFontInfo()
{
    ComputeMetrics(m_defaultFont);
    return &m_defaultFont;
}

void CWindowManagerUI::SetDefaultFont(const wchar_t* pstrFace, int nSize, bool bBold, bool bUnderline, bool bItalic)
{
    const HFONT hFont = CreateFontFrom(pstrFace, nSize, bBold, bUnderline, bItalic, false);
    if (hFont == nullptr) {
        return; // the old default stays usable
    }
    ::DeleteObject(m_defaultFont.hFont);
    m_defaultFont.hFont = hFont;
    m_defaultFont.face = pstrFace != nullptr ? pstrFace : L"";
    m_defaultFont.size = nSize;
    m_defaultFont.bold = bBold;
    m_defaultFont.underline = bUnderline;
    m_defaultFont.italic = bItalic;
    m_defaultFont.metrics = {};
    ComputeMetrics(m_defaultFont);
}

void CWindowManagerUI::DestroyFonts()
{
    ::DeleteObject(m_defaultFont.hFont);
    m_defaultFont.hFont = nullptr;
    for (int i = 0; i < m_fonts.GetSize(); ++i) {
        delete static_cast<UIFontInfo*>(m_fonts.GetAt(i));
    }
    m_fonts.Empty();
}

const CWindowManagerUI* CWindowManagerUI::TopManager() const
{
    const CWindowManagerUI* pManager = this;
    while (pManager->m_pParentManager != nullptr) {
        pManager = pManager->m_pParentManager;
    }
    return pManager;
}

CWindowManagerUI* CWindowManagerUI::TopManager()
{
    return const_cast<CWindowManagerUI*>(static_cast<const CWindowManagerUI*>(this)->TopManager());
}

DWORD CWindowManagerUI::DefaultDisabledColor() const
{
    return TopManager()->m_dwDefaultDisabledColor;
}

DWORD CWindowManagerUI::DefaultFontColor() const
{
    return TopManager()->m_dwDefaultFontColor;
}

DWORD CWindowManagerUI::DefaultLinkFontColor() const
{
    return TopManager()->m_dwDefaultLinkFontColor;
}

DWORD CWindowManagerUI::DefaultLinkHoverFontColor() const
{
    return TopManager()->m_dwDefaultLinkHoverFontColor;
}

DWORD CWindowManagerUI::DefaultSelectedColor() const
{
    return TopManager()->m_dwDefaultSelectedColor;
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
