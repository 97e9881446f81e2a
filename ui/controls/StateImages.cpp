#include "controls/StateImages.h"

#include "core/SkinRender.h"

#include <cwchar>

namespace Tarvo {

bool StateImages::Apply(const wchar_t* pstrName, const wchar_t* pstrValue)
{
    const struct {
        const wchar_t* name;
        CUIString* field;
    } fields[] = {
        {L"normalimage", &normal}, {L"hotimage", &hot},           {L"pushedimage", &pushed},
        {L"focusedimage", &focused}, {L"disabledimage", &disabled},
    };
    for (const auto& field : fields) {
        if (pstrName != nullptr && std::wcscmp(field.name, pstrName) == 0) {
            *field.field = pstrValue != nullptr ? pstrValue : L"";
            return true;
        }
    }
    return false;
}

const CUIString& StateImages::For(bool bEnabled, bool bPushed, bool bHot, bool bFocused) const
{
    if (!bEnabled && !disabled.IsEmpty()) {
        return disabled;
    }
    if (bEnabled && bPushed && !pushed.IsEmpty()) {
        return pushed;
    }
    if (bEnabled && bHot && !hot.IsEmpty()) {
        return hot;
    }
    if (bEnabled && bFocused && !focused.IsEmpty()) {
        return focused;
    }
    return normal;
}

void StateImages::Paint(HDC hDC, CWindowManagerUI* pManager, const RECT& rcItem, const RECT& rcPaint, bool bEnabled,
                        bool bPushed, bool bHot, bool bFocused) const
{
    const CUIString& image = For(bEnabled, bPushed, bHot, bFocused);
    if (!image.IsEmpty() && pManager != nullptr) {
        CSkinRender::PaintImageSpec(hDC, pManager, rcItem, rcPaint, image);
    }
}

} // namespace Tarvo
