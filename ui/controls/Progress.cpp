#include "controls/Progress.h"

#include "controls/AttributeValue.h"
#include "core/SkinRender.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cwchar>
#include <iterator>

namespace Tarvo {

namespace {

using ProgressSetter = void (*)(CProgressUI& progress, const wchar_t* pstrValue);

struct ProgressAttribute {
    const wchar_t* name;
    ProgressSetter setter;
};

const ProgressAttribute kProgressAttributes[] = {
    {L"foreimage", [](CProgressUI& p, const wchar_t* v) { p.SetForeImage(v); }},
    {L"hor", [](CProgressUI& p, const wchar_t* v) { p.SetHorizontal(ParseAttributeBool(v)); }},
    {L"min", [](CProgressUI& p, const wchar_t* v) { p.SetMinValue(ParseAttributeInt(v)); }},
    {L"max", [](CProgressUI& p, const wchar_t* v) { p.SetMaxValue(ParseAttributeInt(v)); }},
    {L"value", [](CProgressUI& p, const wchar_t* v) { p.SetValue(ParseAttributeInt(v)); }},
    {L"isstretchfore", [](CProgressUI& p, const wchar_t* v) { p.SetStretchForeImage(ParseAttributeBool(v)); }},
};

// Extent of one side of a rectangle, never negative and never past the int range.
int Extent(LONG from, LONG to)
{
    const int64_t nExtent = static_cast<int64_t>(to) - from;
    return static_cast<int>(std::clamp<int64_t>(nExtent, 0, INT_MAX));
}

// part × (to − from) / (max − min) in 64 bits, truncated toward zero: from and to lie in
// min..max, so the result lies in 0..part and the product stays below 2^63 for every 32-bit range.
int Proportion(int nPart, int nFrom, int nTo, int nMin, int nMax)
{
    const int64_t nSpan = static_cast<int64_t>(nMax) - nMin;
    return static_cast<int>(static_cast<int64_t>(nPart) * (static_cast<int64_t>(nTo) - nFrom) / nSpan);
}

} // namespace

CProgressUI::CProgressUI()
{
    SetDeclaredHeight(12);
    m_uTextStyle = DT_SINGLELINE | DT_CENTER;
}

CProgressUI::~CProgressUI() = default;

const wchar_t* CProgressUI::TypeName() const
{
    return L"ProgressUI";
}

void* CProgressUI::LookupInterface(const wchar_t* pstrName)
{
    if (pstrName != nullptr && std::wcscmp(pstrName, L"Progress") == 0) {
        return this;
    }
    return CLabelUI::LookupInterface(pstrName);
}

void CProgressUI::ApplyAttribute(const wchar_t* pstrName, const wchar_t* pstrValue)
{
    if (pstrName == nullptr) {
        return;
    }
    const wchar_t* v = pstrValue != nullptr ? pstrValue : L"";
    for (const ProgressAttribute& entry : kProgressAttributes) {
        if (std::wcscmp(entry.name, pstrName) == 0) {
            entry.setter(*this, v);
            return;
        }
    }
    CLabelUI::ApplyAttribute(pstrName, pstrValue);
}

void CProgressUI::SetValue(int nValue)
{
    if (nValue == m_nValue || nValue < m_nMin || nValue > m_nMax) {
        return;
    }
    m_nValue = nValue;
    Repaint();
}

void CProgressUI::SetMinValue(int nMin)
{
    m_nMin = nMin;
    Repaint();
}

void CProgressUI::SetMaxValue(int nMax)
{
    m_nMax = nMax;
    Repaint();
}

void CProgressUI::SetHorizontal(bool bHorizontal)
{
    if (m_bHorizontal != bHorizontal) {
        m_bHorizontal = bHorizontal;
        Repaint();
    }
}

void CProgressUI::SetStretchForeImage(bool bStretch)
{
    if (m_bStretchForeImage != bStretch) {
        m_bStretchForeImage = bStretch;
        Repaint();
    }
}

void CProgressUI::SetForeImage(const wchar_t* pstrImage)
{
    if (m_strFillImage != pstrImage) {
        m_strFillImage = pstrImage;
        Repaint();
    }
}

void CProgressUI::RepairRange()
{
    if (m_nMin >= m_nMax) {
        // The range needs one step; at the top of the int range the minimum gives it instead.
        if (m_nMin == INT_MAX) {
            m_nMin = INT_MAX - 1;
        }
        m_nMax = m_nMin + 1;
    }
    m_nValue = std::clamp(m_nValue, m_nMin, m_nMax);
}

RECT CProgressUI::FillRect()
{
    RepairRange();
    const int nWidth = Extent(m_rcItem.left, m_rcItem.right);
    const int nHeight = Extent(m_rcItem.top, m_rcItem.bottom);
    if (m_bHorizontal) {
        return RECT{0, 0, Proportion(nWidth, m_nMin, m_nValue, m_nMin, m_nMax), nHeight};
    }
    // The empty part on top is what is truncated: H minus the truncated fill would leave the
    // fill a pixel short whenever the division is not exact.
    return RECT{0, Proportion(nHeight, m_nValue, m_nMax, m_nMin, m_nMax), nWidth, nHeight};
}

void CProgressUI::PaintStateImages(HDC hDC)
{
    const RECT rc = FillRect();
    if (m_strFillImage.IsEmpty()) {
        return;
    }
    wchar_t szModifier[128] = {};
    if (m_bStretchForeImage) {
        std::swprintf(szModifier, std::size(szModifier), L"dest='%ld,%ld,%ld,%ld'", rc.left, rc.top, rc.right,
                      rc.bottom);
    } else {
        std::swprintf(szModifier, std::size(szModifier), L"dest='%ld,%ld,%ld,%ld' source='%ld,%ld,%ld,%ld'", rc.left,
                      rc.top, rc.right, rc.bottom, rc.left, rc.top, rc.right, rc.bottom);
    }
    m_strFillModifier = szModifier;
    if (!CSkinRender::PaintImageSpec(hDC, m_pManager, m_rcItem, m_rcPaint, m_strFillImage, m_strFillModifier)) {
        m_strFillImage.Empty();
    }
}

} // namespace Tarvo
