#include "core/WindowManager.h"

#include <cwchar>

namespace Tarvo {

namespace {

LOGFONTW DefaultGuiLogFont()
{
    LOGFONTW lf = {};
    ::GetObjectW(::GetStockObject(DEFAULT_GUI_FONT), sizeof lf, &lf);
    lf.lfCharSet = DEFAULT_CHARSET;
    return lf;
}

} // namespace

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
    m_defaultFont.charWidths.clear();
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

} // namespace Tarvo
