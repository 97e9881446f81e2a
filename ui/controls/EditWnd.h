#pragma once

#include "core/GdiResources.h"
#include "core/UIString.h"
#include "core/WindowWnd.h"

namespace Tarvo {

class CEditUI;

// The native edit window of an edit control (a superclass of the system's "Edit"), a child of the
// control's window lying over the control. It takes the control's font, colours, limits and text,
// reports changes and Enter, and gives the text back when it loses the focus. Closing is posted:
// the focus change or the notification that closes it is still running inside the window's own
// procedure. The object deletes itself when the window is gone.
class CEditWnd final : public CWindowWnd {
public:
    // Creates, fills, shows and focuses the window; null when it cannot be created.
    static CEditWnd* Open(CEditUI* pOwner);
    // Gives the text back to the owner, forgets it and closes (idempotent).
    void Close();
    // The owner goes away: forget it and close without giving anything back.
    void Abandon();
    void SetText(const wchar_t* pstrText);
    // Follows the owner's rectangle.
    void Place();
    CUIString WindowText() const;

    LPCWSTR WindowClassName() const override;
    LPCWSTR SuperclassName() const override;
    LRESULT ProcessWindowMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) override;
    void OnFinalWindowMessage(HWND hWnd) override;

private:
    explicit CEditWnd(CEditUI* pOwner) : m_pOwner(pOwner) {}
    ~CEditWnd() = default;
    DWORD Style() const;
    void Fill();
    LRESULT PaintColors(HDC hDC);
    void Forget();

    CEditUI* m_pOwner;
    CUIBrushHandle m_brush;
    COLORREF m_brushColor = CLR_INVALID;
    bool m_bCreated = false;
    bool m_bSettingText = false;
    bool m_bClosing = false;
};

} // namespace Tarvo
