#pragma once

#include "core/WindowImplBase.h"

#include <memory>
#include <string>

// The launcher's skinned message box: a title, a warning icon, one centred message line, an OK and
// a close button. Either button closes the owner too, so in this launcher a box always ends it.
class CustomMsgBox : public Tarvo::WindowImplBase {
public:
    CustomMsgBox() = default;

    LPCWSTR WindowClassName() const override;
    LRESULT ProcessWindowMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) override;
    // Destroys a window that is still there: the window procedure would reach a deleted object.
    ~CustomMsgBox() override;
    void InitWindow() override;
    void OnClickNotification(Tarvo::UINotification& notification) override;
    Tarvo::CUIString SkinFolder() override;
    Tarvo::CUIString SkinFile() override;
    Tarvo::UISkinSourceKind SkinSourceKind() const override;
    Tarvo::CUIString SkinResourceId() override;

    // The message line; a box whose skin gave no controls drops the text.
    void SetMessageText(const std::wstring& text);

protected:
    Tarvo::CControlUI* m_pBtnClose = nullptr;
    Tarvo::CControlUI* m_pBtnOk = nullptr;
    bool m_bCloseOwner = true; // OK closes the owner as well
};

// Shows a box over the owner and runs its modal loop: the wParam of the WM_CLOSE that closed the
// box (1 OK, 8 close button), 0 when the loop ended otherwise. The box object is deleted here.
int ShowCustomMsgBox(HWND hOwner, const std::wstring& text);
// The same with a box made by the caller.
int ShowCustomMsgBox(std::unique_ptr<CustomMsgBox> pBox, HWND hOwner, const std::wstring& text);
