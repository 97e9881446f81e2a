#pragma once

#include "core/WindowWnd.h"

namespace Tarvo {

class CDateTimeUI;

// The native date picker ("SysDateTimePick32", superclassed as "DateTimeWnd") laid over a date
// control while it is edited. Losing the focus to a window outside it (its drop-down calendar is
// inside), Return or a close copies the date back; Escape closes without copying. Closing is
// posted: the focus change that ends it is still in progress. The object deletes itself when
// its window is gone.
class CDateTimeWnd final : public CWindowWnd {
public:
    // Creates the picker over the owner's rectangle with the owner's date and gives it the
    // focus; null when the window cannot be created.
    static CDateTimeWnd* Open(CDateTimeUI* pOwner);

    LPCWSTR WindowClassName() const override;
    LPCWSTR SuperclassName() const override;
    LRESULT ProcessWindowMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) override;
    void OnFinalWindowMessage(HWND hWnd) override;

    // Asks the window to close (it copies the date back first).
    void Close();
    // The owner goes away: the window is destroyed at once, nothing is copied back.
    void Abandon();
    void Place(const RECT& rc);

private:
    explicit CDateTimeWnd(CDateTimeUI* pOwner) : m_pOwner(pOwner) {}
    ~CDateTimeWnd() = default;
    void CopyBack();
    bool OwnsWindow(HWND hWnd) const;

    CDateTimeUI* m_pOwner;
    bool m_bCancelled = false;
    bool m_bClosing = false;
};

} // namespace Tarvo
