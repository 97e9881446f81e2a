#pragma once

#include "controls/VerticalLayout.h"
#include "core/WindowManager.h"
#include "core/WindowWnd.h"

namespace Tarvo {

class CComboUI;

// The drop box of a combo: a popup window below (or above) the combo holding the combo's items
// in a vertical layout with a scroll bar. A click outside (the window loses the focus), Escape,
// Enter or a choice closes it; closing is posted, because the choice arrives while the window's
// own manager is busy with the click. The object deletes itself when the window is gone.
class CComboWnd final : public CWindowWnd {
public:
    explicit CComboWnd(CComboUI* pOwner);

    // Creates and shows the window; false (and the object deleted) when it cannot be created.
    static CComboWnd* Open(CComboUI* pOwner);
    void Close();
    // Gives the items back and destroys the window at once (the combo itself goes away).
    void CloseNow();

    LPCWSTR WindowClassName() const override;
    UINT WindowClassStyle() const override;
    LRESULT ProcessWindowMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) override;
    void OnFinalWindowMessage(HWND hWnd) override;

    CVerticalLayoutUI* Layout() const { return m_pLayout; }
    CWindowManagerUI& Manager() { return m_pm; }
    // Where the window goes for an owner placed at rcOwner (screen) with the given work area.
    static RECT DropRect(const RECT& rcOwner, SIZE szDropBox, int nContentHeight, const RECT& rcWork);

private:
    ~CComboWnd() = default;
    void BuildContent();
    int ContentHeight();
    void GiveItemsBack();
    bool HandleKey(WPARAM vk);

    CComboUI* m_pOwner;
    CWindowManagerUI m_pm;
    CVerticalLayoutUI* m_pLayout = nullptr;
    bool m_bGivenBack = false;
};

} // namespace Tarvo
