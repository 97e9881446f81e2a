#include "controls/ScrollBar.h"

#include "controls/AttributeValue.h"
#include "controls/Container.h"
#include "core/SkinRender.h"
#include "core/WindowManager.h"

#include <algorithm>
#include <cwchar>

namespace Tarvo {

namespace {

const wchar_t* const PartNames[CScrollBarUI::PartCount] = {L"button1", L"button2", L"thumb", L"rail", L"bk"};
const wchar_t* const StateNames[CScrollBarUI::StateCount] = {L"normal", L"hot", L"pushed", L"disabled"};

// "button1normalimage" and its siblings: part, state, "image".
bool ParseImageAttribute(const wchar_t* pstrName, CScrollBarUI::Part& part, CScrollBarUI::PartState& state)
{
    for (int p = 0; p < CScrollBarUI::PartCount; ++p) {
        const size_t nPart = std::wcslen(PartNames[p]);
        if (std::wcsncmp(pstrName, PartNames[p], nPart) != 0) {
            continue;
        }
        for (int s = 0; s < CScrollBarUI::StateCount; ++s) {
            const size_t nState = std::wcslen(StateNames[s]);
            if (std::wcsncmp(pstrName + nPart, StateNames[s], nState) == 0 &&
                std::wcscmp(pstrName + nPart + nState, L"image") == 0) {
                part = static_cast<CScrollBarUI::Part>(p);
                state = static_cast<CScrollBarUI::PartState>(s);
                return true;
            }
        }
    }
    return false;
}

} // namespace

CScrollBarUI::CScrollBarUI()
{
    m_szDeclared = {DefaultThickness, 0};
}

CScrollBarUI::~CScrollBarUI()
{
    if (m_pManager != nullptr) {
        m_pManager->StopTimer(this, RepeatTimerId);
    }
}

const wchar_t* CScrollBarUI::TypeName() const
{
    return L"ScrollBarUI";
}

void* CScrollBarUI::LookupInterface(const wchar_t* pstrName)
{
    if (pstrName != nullptr && std::wcscmp(pstrName, L"ScrollBar") == 0) {
        return this;
    }
    return CControlUI::LookupInterface(pstrName);
}

void CScrollBarUI::SetHorizontal(bool bHorizontal)
{
    if (m_bHorizontal == bHorizontal) {
        return;
    }
    m_bHorizontal = bHorizontal;
    if (bHorizontal && m_szDeclared.cy == 0) {
        m_szDeclared = {0, DefaultThickness};
    } else if (!bHorizontal && m_szDeclared.cx == 0) {
        m_szDeclared = {DefaultThickness, 0};
    }
    if (m_pOwner != nullptr) {
        m_pOwner->MarkForLayout();
    } else {
        MarkParentForLayout();
    }
}

void CScrollBarUI::SetScrollRange(int nRange)
{
    m_nRange = std::max(nRange, 0);
    m_nScrollPos = std::min(m_nScrollPos, m_nRange);
    SetPosition(m_rcItem);
}

void CScrollBarUI::SetScrollPos(int nPos)
{
    m_nScrollPos = std::clamp(nPos, 0, m_nRange);
    SetPosition(m_rcItem);
}

void CScrollBarUI::SetLineSize(int nSize)
{
    if (nSize > 0) {
        m_nLineSize = nSize;
    }
}

bool CScrollBarUI::IsButtonShown(Part part) const
{
    return part == PartButton1 ? m_bShowButton1 : part == PartButton2 ? m_bShowButton2 : false;
}

void CScrollBarUI::SetButtonShown(Part part, bool bShow)
{
    if (part == PartButton1) {
        m_bShowButton1 = bShow;
    } else if (part == PartButton2) {
        m_bShowButton2 = bShow;
    }
    SetPosition(m_rcItem);
}

void CScrollBarUI::SetPartImage(Part part, PartState state, const wchar_t* pstrImage)
{
    if (part < PartCount && state < StateCount) {
        m_images[part][state] = pstrImage;
        Repaint();
    }
}

RECT CScrollBarUI::PartRect(Part part) const
{
    switch (part) {
    case PartButton1:
        return m_rcButton1;
    case PartButton2:
        return m_rcButton2;
    case PartThumb:
        return m_rcThumb;
    default:
        return m_rcItem;
    }
}

void CScrollBarUI::SetEnabled(bool bEnabled)
{
    if (!bEnabled) {
        OnButtonUp();
    }
    CControlUI::SetEnabled(bEnabled);
}

void CScrollBarUI::SetVisible(bool bVisible)
{
    if (m_bVisible == bVisible) {
        return;
    }
    if (!bVisible) {
        OnButtonUp();
    }
    if (m_pOwner == nullptr) {
        CControlUI::SetVisible(bVisible);
        return;
    }
    // An owned bar takes space from its owner's client area, so the owner is laid out again.
    m_bVisible = bVisible;
    m_bFocused = false;
    if (!bVisible && m_pManager != nullptr && m_pManager->FocusControl() == this) {
        m_pManager->SetFocusControl(nullptr);
    }
    m_pOwner->MarkForLayout();
}

// ---- geometry -------------------------------------------------------------------------------

int CScrollBarUI::TrackLength() const
{
    const int nLength = IsVertical() ? m_rcItem.bottom - m_rcItem.top : m_rcItem.right - m_rcItem.left;
    const int nButtons = IsVertical() ? (m_rcButton1.bottom - m_rcButton1.top) + (m_rcButton2.bottom - m_rcButton2.top)
                                      : (m_rcButton1.right - m_rcButton1.left) + (m_rcButton2.right - m_rcButton2.left);
    return std::max(nLength - nButtons, 0);
}

int CScrollBarUI::ThumbTravel() const
{
    const int nThumb = IsVertical() ? m_rcThumb.bottom - m_rcThumb.top : m_rcThumb.right - m_rcThumb.left;
    return std::max(TrackLength() - nThumb, 0);
}

void CScrollBarUI::SetPosition(RECT rc)
{
    CControlUI::SetPosition(rc);
    const RECT& r = m_rcItem;
    // Work on a vertical picture: (along, across); a horizontal bar swaps the axes at the end.
    const int nStart = IsVertical() ? r.top : r.left;
    const int nEnd = IsVertical() ? r.bottom : r.right;
    const int nThickness = IsVertical() ? r.right - r.left : r.bottom - r.top;
    const int nLength = nEnd - nStart;
    // Buttons are square but share a bar shorter than both of them.
    const int nButtonSpace = (m_bShowButton1 ? 1 : 0) + (m_bShowButton2 ? 1 : 0);
    const int nButton = nButtonSpace == 0 ? 0 : std::min(nThickness, nLength / nButtonSpace);
    const int nButton1 = m_bShowButton1 ? nButton : 0;
    const int nButton2 = m_bShowButton2 ? nButton : 0;
    const int nTrack = std::max(nLength - nButton1 - nButton2, 0);
    int nThumb = 0;
    int nThumbStart = nStart + nButton1;
    if (m_nRange > 0 && nTrack > 0) {
        nThumb =
            static_cast<int>(static_cast<long long>(nTrack) * nTrack / (nTrack + static_cast<long long>(m_nRange)));
        nThumb = std::clamp(std::max(nThumb, nThickness), 0, nTrack);
        nThumbStart += static_cast<int>(static_cast<long long>(nTrack - nThumb) * m_nScrollPos / m_nRange);
    }
    auto make = [&](int nFrom, int nTo) {
        return IsVertical() ? RECT{r.left, nFrom, r.right, nTo} : RECT{nFrom, r.top, nTo, r.bottom};
    };
    m_rcButton1 = make(nStart, nStart + nButton1);
    m_rcButton2 = make(nEnd - nButton2, nEnd);
    m_rcThumb = nThumb > 0 ? make(nThumbStart, nThumbStart + nThumb) : RECT{0, 0, 0, 0};
}

// ---- scrolling ------------------------------------------------------------------------------

void CScrollBarUI::MoveTo(int nPos)
{
    if (m_pOwner != nullptr) {
        const SIZE sz = m_pOwner->ScrollPosition();
        m_pOwner->SetScrollPosition(IsVertical() ? SIZE{sz.cx, nPos} : SIZE{nPos, sz.cy});
        return;
    }
    const int nOld = m_nScrollPos;
    SetScrollPos(nPos);
    if (m_nScrollPos != nOld) {
        Repaint();
        SendNotification(L"scroll");
    }
}

void CScrollBarUI::StepLine(int nSign)
{
    if (m_pOwner == nullptr) {
        MoveTo(m_nScrollPos + nSign * m_nLineSize);
    } else if (IsVertical()) {
        nSign < 0 ? m_pOwner->ScrollLineUp() : m_pOwner->ScrollLineDown();
    } else {
        nSign < 0 ? m_pOwner->ScrollLineLeft() : m_pOwner->ScrollLineRight();
    }
}

void CScrollBarUI::StepPage(int nSign)
{
    if (m_pOwner == nullptr) {
        MoveTo(m_nScrollPos + nSign * std::max(TrackLength(), m_nLineSize));
    } else if (IsVertical()) {
        nSign < 0 ? m_pOwner->ScrollPageUp() : m_pOwner->ScrollPageDown();
    } else {
        nSign < 0 ? m_pOwner->ScrollPageLeft() : m_pOwner->ScrollPageRight();
    }
}

// ---- events ---------------------------------------------------------------------------------

void CScrollBarUI::HandleEvent(ControlEvent& event)
{
    if (!IsMouseEnabled() && IsMouseEvent(event.type)) {
        CControlUI::HandleEvent(event);
        return;
    }
    switch (event.type) {
    case EventButtonDown:
    case EventDoubleClick:
        if (IsEnabled()) {
            OnButtonDown(event.mousePoint);
        }
        return;
    case EventButtonUp:
        OnButtonUp();
        return;
    case EventMouseMove:
        OnMouseMove(event.mousePoint);
        return;
    case EventMouseEnter:
        m_bHot = true;
        Repaint();
        return;
    case EventMouseLeave:
        m_bHot = false;
        m_hotPart = PartCount;
        Repaint();
        return;
    case EventTimer:
        if (event.wParam == RepeatTimerId) {
            RepeatPress();
            return;
        }
        break;
    case EventScrollWheel:
    case EventKeyDown:
        if (m_pOwner != nullptr) {
            m_pOwner->HandleEvent(event);
            return;
        }
        break;
    default:
        break;
    }
    CControlUI::HandleEvent(event);
}

void CScrollBarUI::OnButtonDown(const POINT& pt)
{
    m_ptLastMouse = pt;
    m_ptPress = pt;
    m_nPressScrollPos = m_nScrollPos;
    if (::PtInRect(&m_rcButton1, pt)) {
        m_press = PressButton1;
    } else if (::PtInRect(&m_rcButton2, pt)) {
        m_press = PressButton2;
    } else if (::PtInRect(&m_rcThumb, pt)) {
        m_press = PressThumb;
        Repaint();
        return;
    } else if (::PtInRect(&m_rcItem, pt)) {
        const int nThumbStart = IsVertical() ? m_rcThumb.top : m_rcThumb.left;
        m_press = MainOf(pt) < nThumbStart ? PressRailBefore : PressRailAfter;
    } else {
        return;
    }
    RepeatPress();
    if (m_pManager != nullptr && m_press != PressNone) {
        m_pManager->StartTimer(this, RepeatTimerId, RepeatIntervalMs);
    }
    Repaint();
}

void CScrollBarUI::OnButtonUp()
{
    if (m_press == PressNone) {
        return;
    }
    m_press = PressNone;
    if (m_pManager != nullptr) {
        m_pManager->StopTimer(this, RepeatTimerId);
    }
    Repaint();
}

void CScrollBarUI::OnMouseMove(const POINT& pt)
{
    m_ptLastMouse = pt;
    if (m_press == PressThumb) {
        const int nTravel = ThumbTravel();
        if (nTravel > 0) {
            const long long nDelta = MainOf(pt) - MainOf(m_ptPress);
            MoveTo(m_nPressScrollPos + static_cast<int>(nDelta * m_nRange / nTravel));
        }
        return;
    }
    Part hot = PartCount;
    for (Part part : {PartButton1, PartButton2, PartThumb}) {
        const RECT rc = PartRect(part);
        if (::PtInRect(&rc, pt)) {
            hot = part;
        }
    }
    if (hot != m_hotPart) {
        m_hotPart = hot;
        Repaint();
    }
}

bool CScrollBarUI::ThumbPassed(const POINT& pt) const
{
    const int nPoint = MainOf(pt);
    if (m_press == PressRailBefore) {
        return nPoint >= (IsVertical() ? m_rcThumb.top : m_rcThumb.left);
    }
    return nPoint < (IsVertical() ? m_rcThumb.bottom : m_rcThumb.right);
}

void CScrollBarUI::RepeatPress()
{
    switch (m_press) {
    case PressButton1:
        StepLine(-1);
        break;
    case PressButton2:
        StepLine(+1);
        break;
    case PressRailBefore:
    case PressRailAfter:
        // The rail stops paging once the thumb has reached the pressed point.
        if (!ThumbPassed(m_ptLastMouse)) {
            StepPage(m_press == PressRailBefore ? -1 : +1);
        }
        break;
    default:
        break;
    }
}

// ---- attributes and painting ----------------------------------------------------------------

void CScrollBarUI::ApplyAttribute(const wchar_t* pstrName, const wchar_t* pstrValue)
{
    if (pstrName == nullptr) {
        return;
    }
    if (pstrValue == nullptr) {
        pstrValue = L"";
    }
    Part part = PartCount;
    PartState state = StateCount;
    if (ParseImageAttribute(pstrName, part, state)) {
        SetPartImage(part, state, pstrValue);
    } else if (std::wcscmp(pstrName, L"linesize") == 0) {
        SetLineSize(ParseAttributeInt(pstrValue));
    } else if (std::wcscmp(pstrName, L"range") == 0) {
        SetScrollRange(ParseAttributeInt(pstrValue));
    } else if (std::wcscmp(pstrName, L"value") == 0) {
        SetScrollPos(ParseAttributeInt(pstrValue));
    } else if (std::wcscmp(pstrName, L"showbutton1") == 0) {
        SetButtonShown(PartButton1, ParseAttributeBool(pstrValue));
    } else if (std::wcscmp(pstrName, L"showbutton2") == 0) {
        SetButtonShown(PartButton2, ParseAttributeBool(pstrValue));
    } else {
        CControlUI::ApplyAttribute(pstrName, pstrValue);
    }
}

CScrollBarUI::PartState CScrollBarUI::StateOf(Part part) const
{
    if (!IsEnabled()) {
        return StateDisabled;
    }
    const bool bPressed = (part == PartButton1 && m_press == PressButton1) ||
                          (part == PartButton2 && m_press == PressButton2) ||
                          (part == PartThumb && m_press == PressThumb) ||
                          ((part == PartRail || part == PartBack) && m_press != PressNone);
    if (bPressed) {
        return StatePushed;
    }
    if (part == PartRail || part == PartBack) {
        return m_bHot ? StateHot : StateNormal;
    }
    return m_hotPart == part ? StateHot : StateNormal;
}

void CScrollBarUI::PaintPart(HDC hDC, Part part, const RECT& rc)
{
    if (::IsRectEmpty(&rc)) {
        return;
    }
    const PartState state = StateOf(part);
    // A missing state image falls back to the normal one.
    const CUIString& strImage = m_images[part][state].IsEmpty() ? m_images[part][StateNormal] : m_images[part][state];
    if (!strImage.IsEmpty()) {
        CSkinRender::PaintImageSpec(hDC, m_pManager, rc, m_rcPaint, strImage);
    }
}

void CScrollBarUI::PaintBackgroundImage(HDC hDC)
{
    CControlUI::PaintBackgroundImage(hDC);
    PaintPart(hDC, PartBack, m_rcItem);
}

void CScrollBarUI::PaintStateImages(HDC hDC)
{
    PaintPart(hDC, PartButton1, m_rcButton1);
    PaintPart(hDC, PartButton2, m_rcButton2);
    PaintPart(hDC, PartRail, m_rcThumb);
    PaintPart(hDC, PartThumb, m_rcThumb);
}

} // namespace Tarvo
