#include "controls/EditWnd.h"

#include "controls/Edit.h"
#include "core/UITypes.h"
#include "core/WindowManager.h"

#include <vector>

namespace Tarvo {

namespace {

// The paint manager reflects these parent notifications to the child window that sent them.
constexpr UINT ReflectedOffset = 0x2000;
constexpr UINT ReflectedCommand = ReflectedOffset + WM_COMMAND;
constexpr UINT ReflectedColorEdit = ReflectedOffset + WM_CTLCOLOREDIT;
constexpr UINT ReflectedColorStatic = ReflectedOffset + WM_CTLCOLORSTATIC;

} // namespace

LPCWSTR CEditWnd::WindowClassName() const
{
    return L"EditWnd";
}

LPCWSTR CEditWnd::SuperclassName() const
{
    return L"Edit";
}

DWORD CEditWnd::Style() const
{
    DWORD dwStyle = WS_CHILD | ES_AUTOHSCROLL;
    if (m_pOwner->IsReadOnly()) {
        dwStyle |= ES_READONLY;
    }
    if (m_pOwner->IsNumberOnly()) {
        dwStyle |= ES_NUMBER;
    }
    if (m_pOwner->IsPasswordMode()) {
        dwStyle |= ES_PASSWORD;
    }
    const UINT uAlign = m_pOwner->TextStyle();
    if ((uAlign & DT_CENTER) != 0) {
        dwStyle |= ES_CENTER;
    } else if ((uAlign & DT_RIGHT) != 0) {
        dwStyle |= ES_RIGHT;
    }
    return dwStyle;
}

CEditWnd* CEditWnd::Open(CEditUI* pOwner)
{
    auto* pWnd = new CEditWnd(pOwner);
    const RECT rc = pOwner->EditRect();
    if (pWnd->Create(pOwner->Manager()->WindowHandle(), L"", pWnd->Style(), 0, rc.left, rc.top, rc.right - rc.left,
                     rc.bottom - rc.top) == nullptr) {
        delete pWnd;
        return nullptr;
    }
    pWnd->m_bCreated = true;
    pWnd->Fill();
    ::ShowWindow(pWnd->WindowHandle(), SW_SHOWNOACTIVATE);
    ::SetFocus(pWnd->WindowHandle());
    return pWnd;
}

void CEditWnd::Fill()
{
    const HWND hWnd = WindowHandle();
    ::SendMessageW(hWnd, WM_SETFONT, reinterpret_cast<WPARAM>(m_pOwner->Font()), FALSE);
    // EM_LIMITTEXT 0 gives the largest limit the system has.
    ::SendMessageW(hWnd, EM_LIMITTEXT, static_cast<WPARAM>(m_pOwner->MaxChar()), 0);
    if (m_pOwner->IsPasswordMode()) {
        ::SendMessageW(hWnd, EM_SETPASSWORDCHAR, m_pOwner->PasswordChar(), 0);
    }
    SetText(m_pOwner->Text());
    const LRESULT nLength = ::SendMessageW(hWnd, WM_GETTEXTLENGTH, 0, 0);
    ::SendMessageW(hWnd, EM_SETSEL, static_cast<WPARAM>(nLength), nLength);
}

void CEditWnd::SetText(const wchar_t* pstrText)
{
    if (WindowHandle() == nullptr) {
        return;
    }
    // Text put in by the program is no edit of the user's: no "textchanged" for it.
    m_bSettingText = true;
    ::SetWindowTextW(WindowHandle(), pstrText);
    m_bSettingText = false;
}

void CEditWnd::Place()
{
    if (WindowHandle() == nullptr || m_pOwner == nullptr) {
        return;
    }
    const RECT rc = m_pOwner->EditRect();
    ::SetWindowPos(WindowHandle(), nullptr, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
}

CUIString CEditWnd::WindowText() const
{
    const int nLength = ::GetWindowTextLengthW(WindowHandle());
    if (nLength <= 0) {
        return CUIString();
    }
    std::vector<wchar_t> buffer(static_cast<size_t>(nLength) + 1, L'\0');
    const int nCopied = ::GetWindowTextW(WindowHandle(), buffer.data(), nLength + 1);
    return CUIString(buffer.data(), nCopied > 0 ? nCopied : 0);
}

void CEditWnd::Forget()
{
    m_pOwner = nullptr;
    if (WindowHandle() != nullptr) {
        ::ShowWindow(WindowHandle(), SW_HIDE);
        ::PostMessageW(WindowHandle(), WM_CLOSE, 0, 0);
    }
}

void CEditWnd::Close()
{
    if (m_bClosing) {
        return;
    }
    m_bClosing = true;
    if (m_pOwner != nullptr) {
        m_pOwner->OnWindowClosing(this, WindowText());
    }
    Forget();
}

void CEditWnd::Abandon()
{
    m_bClosing = true;
    Forget();
}

LRESULT CEditWnd::PaintColors(HDC hDC)
{
    if (m_pOwner == nullptr) {
        return reinterpret_cast<LRESULT>(::GetSysColorBrush(COLOR_WINDOW));
    }
    const COLORREF bk = UIColorToColorRef(m_pOwner->NativeBkColor());
    ::SetTextColor(hDC, UIColorToColorRef(m_pOwner->NativeTextColor()));
    ::SetBkColor(hDC, bk);
    if (!m_brush.IsValid() || m_brushColor != bk) {
        m_brush.Reset(::CreateSolidBrush(bk));
        m_brushColor = bk;
    }
    return reinterpret_cast<LRESULT>(m_brush.Get());
}

LRESULT CEditWnd::ProcessWindowMessage(UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    switch (uMsg) {
    case ReflectedCommand:
        if (HIWORD(wParam) == EN_CHANGE && !m_bSettingText && m_pOwner != nullptr) {
            m_pOwner->OnWindowTextChanged(WindowText());
        }
        return 0;
    case ReflectedColorEdit:
    case ReflectedColorStatic:
        return PaintColors(reinterpret_cast<HDC>(wParam));
    case WM_KEYDOWN:
        if (wParam == VK_RETURN && m_pOwner != nullptr) {
            m_pOwner->OnWindowReturn();
            return 0;
        }
        break;
    case WM_CHAR:
        // A single-line edit beeps at these; Enter is reported above, Tab moves the focus.
        if (wParam == L'\r' || wParam == L'\t') {
            return 0;
        }
        break;
    case WM_KILLFOCUS:
    case WM_DESTROY: // the parent went first: the text still goes back
        Close();
        break;
    case WM_CLOSE:
        ::DestroyWindow(WindowHandle());
        return 0;
    default:
        break;
    }
    return CallPreviousProc(uMsg, wParam, lParam);
}

void CEditWnd::OnFinalWindowMessage(HWND)
{
    if (m_bCreated) {
        delete this;
    }
}

} // namespace Tarvo
