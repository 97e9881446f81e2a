#include "core/WindowManager.h"

#include "controls/Control.h"
#include "core/ResourceSettings.h"
#include "core/StartupMarks.h"

#include <gdiplus.h>

namespace Tarvo {

namespace {

// msimg32 is process-wide; the first manager loads it and it stays. (Common controls wait for
// the first tooltip: see WindowManagerMessages.cpp.)
void InitProcessOnce()
{
    static bool s_bDone = false;
    if (s_bDone) {
        return;
    }
    s_bDone = true;
    ::LoadLibraryW(L"msimg32.dll");
}

CUIPtrList& ManagerList()
{
    static CUIPtrList s_managers;
    return s_managers;
}

bool RemoveFirst(CUIPtrList& list, const void* p)
{
    const int nIndex = list.Find(p);
    return nIndex >= 0 && list.Remove(nIndex);
}

bool AddOnce(CUIPtrList& list, void* p)
{
    return p != nullptr && list.Find(p) < 0 && list.Add(p);
}

CControlUI* ControlContainingPoint(CControlUI* pControl, void* pData)
{
    const RECT rc = pControl->Position();
    return ::PtInRect(&rc, *static_cast<const POINT*>(pData)) ? pControl : nullptr;
}

CControlUI* ForgetEveryControl(CControlUI* pControl, void* pData)
{
    static_cast<CWindowManagerUI*>(pData)->ForgetControl(pControl);
    return nullptr;
}

} // namespace

CWindowManagerUI::CWindowManagerUI()
{
    InitProcessOnce();
    Gdiplus::GdiplusStartupInput input;
    if (Gdiplus::GdiplusStartup(&m_gdiplusToken, &input, nullptr) != Gdiplus::Ok) {
        m_gdiplusToken = 0;
    }
    CStartupMarksUI::Mark(L"GDI+ ready");
    InitDefaultFont();
}

CWindowManagerUI::~CWindowManagerUI()
{
    DeletePendingObjects();
    m_nameIndex.RemoveAll();
    delete m_pRoot;
    m_pRoot = nullptr;
    if (m_gdiplusToken != 0) {
        Gdiplus::GdiplusShutdown(m_gdiplusToken);
    }
    DestroyFonts();
    m_images.RemoveAll();
    DestroyTables();
    KillAllTimers();
    if (m_hToolTipWnd != nullptr) {
        ::DestroyWindow(m_hToolTipWnd);
    }
    DropBackBuffer();
    if (m_hPaintDC != nullptr) {
        ::ReleaseDC(m_hWnd, m_hPaintDC);
    }
    RemoveFirst(ManagerList(), this);
}

void CWindowManagerUI::Init(HWND hWnd)
{
    if (m_hPaintDC != nullptr) {
        ::ReleaseDC(m_hWnd, m_hPaintDC);
    }
    m_hWnd = hWnd;
    m_hPaintDC = ::GetDC(hWnd);
    AddOnce(ManagerList(), this);
}

void CWindowManagerUI::SetInstance(HINSTANCE hInstance)
{
    CResourceSettingsUI::SetInstance(hInstance);
}

HINSTANCE CWindowManagerUI::Instance()
{
    return CResourceSettingsUI::Instance();
}

void CWindowManagerUI::SetResourceInstance(HINSTANCE hInstance)
{
    CResourceSettingsUI::SetResourceInstance(hInstance);
}

HINSTANCE CWindowManagerUI::ResourceModule()
{
    return CResourceSettingsUI::ResourceModule();
}

void CWindowManagerUI::SetResourcePath(const wchar_t* pstrPath)
{
    CResourceSettingsUI::SetResourcePath(pstrPath);
}

const CUIString& CWindowManagerUI::ResourcePath()
{
    return CResourceSettingsUI::ResourcePath();
}

void CWindowManagerUI::SetResourceZip(const wchar_t* pstrName, bool bCached)
{
    CResourceSettingsUI::SetResourceZip(pstrName, bCached);
}

bool CWindowManagerUI::SetResourceZipMemory(const void* pBytes, DWORD dwSize)
{
    return CResourceSettingsUI::SetResourceZipMemory(pBytes, dwSize);
}

const CUIString& CWindowManagerUI::ResourceZip()
{
    return CResourceSettingsUI::ResourceZip();
}

const UIImageInfo* CWindowManagerUI::AddImage(const wchar_t* pstrName, const wchar_t* pstrType, DWORD dwMask)
{
    return m_images.AddImage(pstrName, pstrType, dwMask);
}

const UIImageInfo* CWindowManagerUI::FindImage(const wchar_t* pstrName) const
{
    return m_images.FindImage(pstrName);
}

const UIImageInfo* CWindowManagerUI::FindOrAddImage(const wchar_t* pstrName, const wchar_t* pstrType, DWORD dwMask)
{
    return m_images.FindOrAddImage(pstrName, pstrType, dwMask);
}

const CUIPtrList& CWindowManagerUI::Managers()
{
    return ManagerList();
}

bool CWindowManagerUI::AttachRoot(CControlUI* pRoot)
{
    SetFocusControl(nullptr);
    m_pKeyControl = nullptr;
    m_pHoverControl = nullptr;
    m_pClickControl = nullptr;
    // Attaching the current root again must not queue it for deletion.
    if (m_pRoot != nullptr && m_pRoot != pRoot) {
        m_postPainters.Empty();
        // The old tree dies later; nothing of this manager may keep pointing into it.
        m_pRoot->SearchTree(ForgetEveryControl, this, 0);
        m_pRoot->AttachTo(nullptr, nullptr, false);
        DeleteLater(m_pRoot);
        if (m_hWnd != nullptr) {
            ::PostMessageW(m_hWnd, WM_UI_DELETE_LATER, 0, 0);
        }
    }
    m_pRoot = pRoot;
    m_bLayoutNeeded = true;
    m_bFirstLayout = true;
    m_bFocusNeeded = true;
    if (m_shadow.ShadowWindow() == nullptr) {
        m_shadow.Create(this);
    }
    if (pRoot == nullptr) {
        return false;
    }
    pRoot->AttachTo(this, pRoot->Parent(), true);
    IndexNames(pRoot);
    return true;
}

void CWindowManagerUI::SetInitialSize(int cx, int cy)
{
    m_szInitial = {cx, cy};
}

void CWindowManagerUI::DeleteLater(CControlUI* pObject)
{
    AddOnce(m_deleteLater, pObject);
}

void CWindowManagerUI::DeletePendingObjects()
{
    // Destructors may queue more objects; they wait for the next round.
    CUIPtrList pending(std::move(m_deleteLater));
    m_deleteLater.Empty();
    for (int i = 0; i < pending.GetSize(); ++i) {
        delete static_cast<CControlUI*>(pending.GetAt(i));
    }
}

void CWindowManagerUI::ForgetControl(CControlUI* pControl)
{
    if (pControl == nullptr) {
        return;
    }
    if (m_pKeyControl == pControl) {
        m_pKeyControl = nullptr;
    }
    if (m_pHoverControl == pControl) {
        m_pHoverControl = nullptr;
    }
    if (m_pClickControl == pControl) {
        // The capture only served this control; keeping it would swallow the cursor for good.
        m_pClickControl = nullptr;
        if (m_bMouseCaptured) {
            m_bMouseCaptured = false;
            ::ReleaseCapture();
        }
    }
    if (m_pFocus == pControl) {
        m_pFocus = nullptr;
    }
    if (m_pCaretOwner == pControl) {
        m_pCaretOwner = nullptr;
    }
    RemoveTimersOf(pControl);
    RemoveFirst(m_postPainters, pControl);
    const CUIString strName = pControl->Name();
    if (!strName.IsEmpty() && m_nameIndex.Find(strName) == pControl) {
        m_nameIndex.Remove(strName);
    }
    ForgetOptionOfGroups(pControl);
}

CControlUI* CWindowManagerUI::ControlAt(POINT pt) const
{
    if (m_pRoot == nullptr) {
        return nullptr;
    }
    return m_pRoot->SearchTree(ControlContainingPoint, &pt, FindVisible | FindHitTest | FindTopFirst);
}

bool CWindowManagerUI::AddPreFilter(IMessageFilterUI* pFilter)
{
    return AddOnce(m_preFilters, pFilter);
}

bool CWindowManagerUI::RemovePreFilter(IMessageFilterUI* pFilter)
{
    return RemoveFirst(m_preFilters, pFilter);
}

bool CWindowManagerUI::AddMessageFilter(IMessageFilterUI* pFilter)
{
    return AddOnce(m_messageFilters, pFilter);
}

bool CWindowManagerUI::RemoveMessageFilter(IMessageFilterUI* pFilter)
{
    return RemoveFirst(m_messageFilters, pFilter);
}

bool CWindowManagerUI::AddPostPainter(CControlUI* pControl)
{
    return AddOnce(m_postPainters, pControl);
}

bool CWindowManagerUI::RemovePostPainter(CControlUI* pControl)
{
    return RemoveFirst(m_postPainters, pControl);
}

bool CWindowManagerUI::AddTranslator(ITranslateAccelerator* pTranslator)
{
    return AddOnce(m_translators, pTranslator);
}

bool CWindowManagerUI::RemoveTranslator(ITranslateAccelerator* pTranslator)
{
    return RemoveFirst(m_translators, pTranslator);
}

bool CWindowManagerUI::TranslateAccelerator(MSG* pMsg)
{
    for (int i = 0; i < m_translators.GetSize(); ++i) {
        if (static_cast<ITranslateAccelerator*>(m_translators.GetAt(i))->TranslateKey(pMsg) == 0) {
            return true;
        }
    }
    return false;
}

bool CWindowManagerUI::PreDispatch(MSG* pMsg)
{
    const HWND hWnd = pMsg->hwnd;
    if (hWnd == nullptr) {
        return false;
    }
    LRESULT lRes = 0;
    const CUIPtrList& managers = ManagerList();
    const bool bChild = (::GetWindowLongW(hWnd, GWL_STYLE) & WS_CHILD) != 0;
    for (int i = 0; i < managers.GetSize(); ++i) {
        auto* pManager = static_cast<CWindowManagerUI*>(managers.GetAt(i));
        if (!bChild) {
            if (pManager->m_hWnd != hWnd) {
                continue;
            }
            if (pManager->TranslateAccelerator(pMsg)) {
                return true;
            }
            return pManager->PreHandleMessage(pMsg->message, pMsg->wParam, pMsg->lParam, lRes);
        }
        for (HWND hAncestor = ::GetParent(hWnd); hAncestor != nullptr; hAncestor = ::GetParent(hAncestor)) {
            if (pManager->m_hWnd == hWnd || pManager->m_hWnd == hAncestor) {
                if (pManager->TranslateAccelerator(pMsg)) {
                    return true;
                }
                pManager->PreHandleMessage(pMsg->message, pMsg->wParam, pMsg->lParam, lRes);
                break;
            }
        }
    }
    return false;
}

void CWindowManagerUI::RunMessageLoop()
{
    MSG msg = {};
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (!PreDispatch(&msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }
}

} // namespace Tarvo
