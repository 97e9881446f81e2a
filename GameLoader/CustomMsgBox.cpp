#include "CustomMsgBox.h"

#include "controls/Control.h"

using namespace Tarvo;

namespace {

constexpr DWORD kBoxStyle = 0x10CF0000; // WS_VISIBLE | WS_OVERLAPPEDWINDOW; the window base drops the caption
constexpr WPARAM kClosedByOk = 1;
constexpr WPARAM kClosedByCloseButton = 8;

void PostClose(HWND hWnd, WPARAM wParam)
{
    ::PostMessageW(hWnd, WM_CLOSE, wParam, 0);
}

} // namespace

LPCWSTR CustomMsgBox::WindowClassName() const
{
    return L"CustomMsgBoxClass";
}

LRESULT CustomMsgBox::ProcessWindowMessage(UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    // The whole box is caption: a double click there would maximise it.
    if (uMsg == WM_NCLBUTTONDBLCLK) {
        return 0;
    }
    return WindowImplBase::ProcessWindowMessage(uMsg, wParam, lParam);
}

CustomMsgBox::~CustomMsgBox()
{
    if (::IsWindow(WindowHandle())) {
        ::DestroyWindow(WindowHandle());
    }
}

void CustomMsgBox::InitWindow()
{
    m_pBtnClose = m_pm.ControlByName(L"btnClose");
    m_pBtnOk = m_pm.ControlByName(L"btnOk");
}

void CustomMsgBox::OnClickNotification(UINotification& notification)
{
    const HWND hWnd = WindowHandle();
    const bool bCloseButton = notification.sender == m_pBtnClose && m_pBtnClose != nullptr;
    const bool bOk = notification.sender == m_pBtnOk && m_pBtnOk != nullptr;
    if (!bCloseButton && !bOk) {
        return;
    }
    const HWND hOwner = ::GetWindow(hWnd, GW_OWNER);
    if (::IsWindow(hWnd)) {
        PostClose(hWnd, bOk ? kClosedByOk : kClosedByCloseButton);
    }
    if (bCloseButton || m_bCloseOwner) {
        PostClose(hOwner, 0);
    }
}

CUIString CustomMsgBox::SkinFolder()
{
    return CUIString();
}

CUIString CustomMsgBox::SkinFile()
{
    return L"CustomMsgBox.xml";
}

UISkinSourceKind CustomMsgBox::SkinSourceKind() const
{
    return SkinFromZipResource;
}

CUIString CustomMsgBox::SkinResourceId()
{
    return L"130";
}

void CustomMsgBox::SetMessageText(const std::wstring& text)
{
    // Two labels are named "labelTip"; the index keeps the later one, the centred message line,
    // and the title keeps its own text.
    if (CControlUI* pLine = m_pm.ControlByName(L"labelTip")) {
        pLine->SetText(text.c_str());
    }
}

int ShowCustomMsgBox(HWND hOwner, const std::wstring& text)
{
    return ShowCustomMsgBox(std::make_unique<CustomMsgBox>(), hOwner, text);
}

int ShowCustomMsgBox(std::unique_ptr<CustomMsgBox> pBox, HWND hOwner, const std::wstring& text)
{
    if (pBox->Create(hOwner, L"CustomMsgBox", kBoxStyle, 0, 0, 0, 0, 0) == nullptr) {
        // No box, so no loop; the owner is given back as after a box.
        ::EnableWindow(hOwner, TRUE);
        ::SetFocus(hOwner);
        return 0;
    }
    if (!text.empty()) {
        pBox->SetMessageText(text);
    }
    pBox->CenterWindow();
    return static_cast<int>(pBox->ShowModal());
}
