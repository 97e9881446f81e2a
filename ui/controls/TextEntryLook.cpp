#include "controls/TextEntryLook.h"

#include "controls/AttributeValue.h"
#include "core/ControlEvent.h"
#include "core/SkinRender.h"

#include <cwchar>

namespace Tarvo {

bool TextEntryLook::Apply(const wchar_t* pstrName, const wchar_t* pstrValue)
{
    if (images.Apply(pstrName, pstrValue)) {
        return true;
    }
    const wchar_t* v = pstrValue != nullptr ? pstrValue : L"";
    if (std::wcscmp(pstrName, L"tipvalue") == 0) {
        tipValue = v;
        return true;
    }
    if (std::wcscmp(pstrName, L"tipvaluecolor") == 0) {
        tipValueColor = ParseAttributeColor(v, true);
        return true;
    }
    return false;
}

bool TextEntryLook::TrackHot(int eventType)
{
    if (eventType != EventMouseEnter && eventType != EventMouseLeave) {
        return false;
    }
    const bool bHot = eventType == EventMouseEnter;
    const bool bChanged = bHot != hot;
    hot = bHot;
    return bChanged;
}

void TextEntryLook::PaintImages(HDC hDC, CWindowManagerUI* pManager, const RECT& rcItem, const RECT& rcPaint,
                                bool bEnabled, bool bFocused) const
{
    images.Paint(hDC, pManager, rcItem, rcPaint, bEnabled, false, hot, bFocused);
}

void TextEntryLook::PaintTip(HDC hDC, CWindowManagerUI* pManager, RECT rc, int iFont, UINT uStyle) const
{
    if (tipValue.IsEmpty() || pManager == nullptr) {
        return;
    }
    CSkinRender::PaintText(hDC, pManager, rc, tipValue, tipValueColor, iFont, uStyle | DT_SINGLELINE | DT_NOPREFIX);
}

} // namespace Tarvo
