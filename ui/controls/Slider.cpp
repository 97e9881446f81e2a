#include "controls/Slider.h"

#include "controls/AttributeValue.h"
#include "core/SkinRender.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cwchar>
#include <iterator>

namespace Tarvo {

namespace {

using SliderSetter = void (*)(CSliderUI& slider, const wchar_t* pstrValue);

struct SliderAttribute {
    const wchar_t* name;
    SliderSetter setter;
};

const SliderAttribute kSliderAttributes[] = {
    {L"thumbimage", [](CSliderUI& s, const wchar_t* v) { s.SetThumbImage(v); }},
    {L"thumbhotimage", [](CSliderUI& s, const wchar_t* v) { s.SetThumbHotImage(v); }},
    {L"thumbpushedimage", [](CSliderUI& s, const wchar_t* v) { s.SetThumbPushedImage(v); }},
    {L"thumbsize", [](CSliderUI& s, const wchar_t* v) { s.SetThumbSize(ParseAttributeSize(v)); }},
    {L"step", [](CSliderUI& s, const wchar_t* v) { s.SetStep(ParseAttributeInt(v)); }},
    {L"sendmove", [](CSliderUI& s, const wchar_t* v) { s.SetSendMove(ParseAttributeBool(v)); }},
};

// part × numerator / denominator in 64 bits, rounded to the nearest; denominator > 0.
int64_t Scale(int64_t nPart, int64_t nNumerator, int64_t nDenominator)
{
    return (nPart * nNumerator + nDenominator / 2) / nDenominator;
}

bool Contains(const RECT& rc, POINT pt)
{
    return ::PtInRect(&rc, pt) != FALSE;
}

} // namespace

CSliderUI::CSliderUI() = default;

CSliderUI::~CSliderUI() = default;

const wchar_t* CSliderUI::TypeName() const
{
    return L"SliderUI";
}

void* CSliderUI::LookupInterface(const wchar_t* pstrName)
{
    if (pstrName != nullptr && std::wcscmp(pstrName, L"Slider") == 0) {
        return this;
    }
    return CProgressUI::LookupInterface(pstrName);
}

UINT CSliderUI::InputFlags()
{
    return IsEnabled() && IsKeyboardEnabled() ? static_cast<UINT>(InputTabStop) : 0U;
}

void CSliderUI::SetEnabled(bool bEnabled)
{
    if (!bEnabled) {
        m_bHot = false;
        m_bCaptured = false;
    }
    CProgressUI::SetEnabled(bEnabled);
}

void CSliderUI::ApplyAttribute(const wchar_t* pstrName, const wchar_t* pstrValue)
{
    if (pstrName == nullptr) {
        return;
    }
    const wchar_t* v = pstrValue != nullptr ? pstrValue : L"";
    for (const SliderAttribute& entry : kSliderAttributes) {
        if (std::wcscmp(entry.name, pstrName) == 0) {
            entry.setter(*this, v);
            return;
        }
    }
    CProgressUI::ApplyAttribute(pstrName, pstrValue);
}

void CSliderUI::SetStep(int nStep)
{
    m_nStep = std::max(nStep, 1);
}

void CSliderUI::SetThumbSize(SIZE szThumb)
{
    m_szThumb = {std::max<LONG>(szThumb.cx, 0), std::max<LONG>(szThumb.cy, 0)};
    Repaint();
}

void CSliderUI::SetThumbImage(const wchar_t* pstrImage)
{
    m_strThumbImage = pstrImage;
    Repaint();
}

void CSliderUI::SetThumbHotImage(const wchar_t* pstrImage)
{
    m_strThumbHotImage = pstrImage;
    Repaint();
}

void CSliderUI::SetThumbPushedImage(const wchar_t* pstrImage)
{
    m_strThumbPushedImage = pstrImage;
    Repaint();
}

RECT CSliderUI::ThumbRect()
{
    RepairRange();
    const int64_t nSpan = static_cast<int64_t>(MaxValue()) - MinValue();
    const int64_t nDone = static_cast<int64_t>(Value()) - MinValue();
    const LONG cx = m_szThumb.cx;
    const LONG cy = m_szThumb.cy;
    if (IsHorizontal()) {
        const int64_t nTrack = std::max<int64_t>(static_cast<int64_t>(m_rcItem.right) - m_rcItem.left - cx, 0);
        const LONG left = m_rcItem.left + static_cast<LONG>(nTrack * nDone / nSpan);
        const LONG top = m_rcItem.top + (m_rcItem.bottom - m_rcItem.top - cy) / 2;
        return RECT{left, top, left + cx, top + cy};
    }
    const int64_t nTrack = std::max<int64_t>(static_cast<int64_t>(m_rcItem.bottom) - m_rcItem.top - cy, 0);
    const LONG top = m_rcItem.bottom - cy - static_cast<LONG>(nTrack * nDone / nSpan);
    const LONG left = m_rcItem.left + (m_rcItem.right - m_rcItem.left - cx) / 2;
    return RECT{left, top, left + cx, top + cy};
}

int CSliderUI::Snap(long long nValue) const
{
    if (nValue >= MaxValue()) {
        return MaxValue();
    }
    if (nValue <= MinValue()) {
        return MinValue();
    }
    const int64_t nSteps = Scale(nValue - MinValue(), 1, m_nStep);
    return static_cast<int>(std::min<int64_t>(MinValue() + nSteps * m_nStep, MaxValue()));
}

int CSliderUI::Offset(int nBy) const
{
    return Snap(static_cast<long long>(Value()) + nBy);
}

int CSliderUI::ValueAtPoint(POINT pt)
{
    RepairRange();
    int64_t nTrack = 0;
    int64_t nPos = 0;
    if (IsHorizontal()) {
        nTrack = static_cast<int64_t>(m_rcItem.right) - m_rcItem.left - m_szThumb.cx;
        nPos = static_cast<int64_t>(pt.x) - m_rcItem.left - m_szThumb.cx / 2;
    } else {
        nTrack = static_cast<int64_t>(m_rcItem.bottom) - m_rcItem.top - m_szThumb.cy;
        nPos = static_cast<int64_t>(m_rcItem.bottom) - pt.y - m_szThumb.cy / 2;
    }
    if (nTrack <= 0) {
        return Value();
    }
    nPos = std::clamp<int64_t>(nPos, 0, nTrack);
    const int64_t nSpan = static_cast<int64_t>(MaxValue()) - MinValue();
    return Snap(MinValue() + Scale(nPos, nSpan, nTrack));
}

bool CSliderUI::ChangeValue(int nValue)
{
    if (nValue == Value()) {
        return false;
    }
    SetValue(nValue);
    return Value() == nValue;
}

bool CSliderUI::OnButtonDown(POINT pt)
{
    if (!IsEnabled() || !Contains(m_rcItem, pt)) {
        return false;
    }
    if (Contains(ThumbRect(), pt)) {
        m_bCaptured = true;
        m_nValueAtPress = Value();
        Repaint();
        return true;
    }
    // A click beside the thumb moves it one step towards the click.
    const RECT rcThumb = ThumbRect();
    const bool bUp = IsHorizontal() ? pt.x >= rcThumb.right : pt.y < rcThumb.top;
    if (ChangeValue(Offset(bUp ? m_nStep : -m_nStep))) {
        SendNotification(L"valuechanged");
    }
    return true;
}

void CSliderUI::OnMouseMove(POINT pt)
{
    if (ChangeValue(ValueAtPoint(pt)) && m_bSendMove) {
        SendNotification(L"movevaluechanged");
    }
}

void CSliderUI::OnButtonUp(POINT pt)
{
    ChangeValue(ValueAtPoint(pt));
    m_bCaptured = false;
    Repaint();
    if (Value() != m_nValueAtPress) {
        SendNotification(L"valuechanged");
    }
}

bool CSliderUI::OnKeyDown(WPARAM vk)
{
    RepairRange();
    const int64_t nPage = std::max<int64_t>((static_cast<int64_t>(MaxValue()) - MinValue()) / 10, m_nStep);
    const int nPageSteps = static_cast<int>(std::min<int64_t>(nPage, INT_MAX));
    int nValue = Value();
    switch (vk) {
    case VK_RIGHT:
    case VK_UP:
        nValue = Offset(m_nStep);
        break;
    case VK_LEFT:
    case VK_DOWN:
        nValue = Offset(-m_nStep);
        break;
    case VK_PRIOR:
        nValue = Offset(nPageSteps);
        break;
    case VK_NEXT:
        nValue = Offset(-nPageSteps);
        break;
    case VK_HOME:
        nValue = MinValue();
        break;
    case VK_END:
        nValue = MaxValue();
        break;
    default:
        return false;
    }
    if (ChangeValue(nValue)) {
        SendNotification(L"valuechanged");
    }
    return true;
}

void CSliderUI::HandleEvent(ControlEvent& event)
{
    if (!IsMouseEnabled() && IsMouseEvent(event.type)) {
        if (m_pParent != nullptr) {
            m_pParent->HandleEvent(event);
        } else {
            CProgressUI::HandleEvent(event);
        }
        return;
    }
    switch (event.type) {
    case EventButtonDown:
    case EventDoubleClick:
        OnButtonDown(event.mousePoint);
        return;
    case EventMouseMove:
        if (m_bCaptured) {
            OnMouseMove(event.mousePoint);
        }
        return;
    case EventButtonUp:
        if (m_bCaptured) {
            OnButtonUp(event.mousePoint);
        }
        return;
    case EventKeyDown:
        if (IsEnabled() && IsKeyboardEnabled() && OnKeyDown(event.wParam)) {
            return;
        }
        break;
    case EventKillFocus:
        // The pointer is no longer ours: the drag ends where the thumb is.
        if (m_bCaptured) {
            m_bCaptured = false;
            Repaint();
            if (Value() != m_nValueAtPress) {
                SendNotification(L"valuechanged");
            }
        }
        break;
    case EventMouseEnter:
    case EventMouseLeave:
        if (IsEnabled()) {
            m_bHot = event.type == EventMouseEnter;
            Repaint();
        }
        break;
    default:
        break;
    }
    CProgressUI::HandleEvent(event);
}

const CUIString& CSliderUI::ThumbImageForState() const
{
    if (m_bCaptured && !m_strThumbPushedImage.IsEmpty()) {
        return m_strThumbPushedImage;
    }
    if (m_bHot && !m_strThumbHotImage.IsEmpty()) {
        return m_strThumbHotImage;
    }
    return m_strThumbImage;
}

void CSliderUI::PaintStateImages(HDC hDC)
{
    CProgressUI::PaintStateImages(hDC);
    const CUIString& image = ThumbImageForState();
    if (image.IsEmpty()) {
        return;
    }
    const RECT rc = ThumbRect();
    wchar_t szModifier[64] = {};
    std::swprintf(szModifier, std::size(szModifier), L"dest='%ld,%ld,%ld,%ld'", rc.left - m_rcItem.left,
                  rc.top - m_rcItem.top, rc.right - m_rcItem.left, rc.bottom - m_rcItem.top);
    CSkinRender::PaintImageSpec(hDC, m_pManager, m_rcItem, m_rcPaint, image, szModifier);
}

} // namespace Tarvo
