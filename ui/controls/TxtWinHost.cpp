#include "controls/TxtWinHost.h"

#include "controls/RichEdit.h"
#include "core/WindowManager.h"

#include <imm.h>

namespace Tarvo {

namespace {

// The interface ids of the text object model; no import library of the toolchain carries them.
constexpr IID kIidTextServices = {0x8d33f740, 0xcf58, 0x11ce, {0xa8, 0x9d, 0x00, 0xaa, 0x00, 0x6c, 0xad, 0xc5}};
constexpr IID kIidTextHost = {0xc5bdd8d0, 0xd26e, 0x11ce, {0xa8, 0x9e, 0x00, 0xaa, 0x00, 0x6c, 0xad, 0xc5}};

LONG g_nLiveHosts = 0;

// The library stays loaded for the life of the process: text services of any control may still
// run, and it registers window classes of its own.
PCreateTextServices CreateTextServicesProc()
{
    static const PCreateTextServices pfnCreate = [] {
        const HMODULE hModule = ::LoadLibraryW(L"riched20.dll");
        return hModule != nullptr
                   ? reinterpret_cast<PCreateTextServices>(
                         reinterpret_cast<void*>(::GetProcAddress(hModule, "CreateTextServices")))
                   : nullptr;
    }();
    return pfnCreate;
}

} // namespace

CTxtWinHost::CTxtWinHost(CRichEditUI* pOwner) : m_pOwner(pOwner)
{
    ::InterlockedIncrement(&g_nLiveHosts);
    m_cf.cbSize = sizeof(m_cf);
    m_pf.cbSize = sizeof(m_pf);
    m_pf.dwMask = PFM_ALL;
    m_pf.wAlignment = PFA_LEFT;
    m_pf.cTabCount = 1;
    m_pf.rgxTabs[0] = lDefaultTab;
}

CTxtWinHost::~CTxtWinHost()
{
    ::InterlockedDecrement(&g_nLiveHosts);
}

LONG CTxtWinHost::LiveCount()
{
    return g_nLiveHosts;
}

Microsoft::WRL::ComPtr<CTxtWinHost> CTxtWinHost::Create(CRichEditUI* pOwner, const CHARFORMAT2W& cf,
                                                         WORD wAlignment)
{
    Microsoft::WRL::ComPtr<CTxtWinHost> host = UIAdoptNew(new CTxtWinHost(pOwner));
    host->m_cf = cf;
    host->m_pf.wAlignment = wAlignment;
    if (!host->CreateServices()) {
        host->Shutdown();
        return nullptr;
    }
    return host;
}

bool CTxtWinHost::CreateServices()
{
    const PCreateTextServices pfnCreate = CreateTextServicesProc();
    if (pfnCreate == nullptr) {
        return false;
    }
    Microsoft::WRL::ComPtr<IUnknown> unknown;
    if (FAILED(pfnCreate(nullptr, this, unknown.GetAddressOf())) || unknown == nullptr) {
        return false;
    }
    return SUCCEEDED(unknown->QueryInterface(kIidTextServices, reinterpret_cast<void**>(m_services.GetAddressOf())));
}

void CTxtWinHost::Shutdown()
{
    if (m_services != nullptr) {
        m_services->OnTxInPlaceDeactivate();
    }
    m_services.Reset();
    m_pOwner = nullptr;
}

void CTxtWinHost::SetCharFormat(const CHARFORMAT2W& cf)
{
    m_cf = cf;
    if (m_services != nullptr) {
        m_services->OnTxPropertyBitsChange(TXTBIT_CHARFORMATCHANGE, TXTBIT_CHARFORMATCHANGE);
    }
}

void CTxtWinHost::SetParaAlignment(WORD wAlignment)
{
    m_pf.wAlignment = wAlignment;
    if (m_services != nullptr) {
        m_services->OnTxPropertyBitsChange(TXTBIT_PARAFORMATCHANGE, TXTBIT_PARAFORMATCHANGE);
    }
}

HWND CTxtWinHost::Window() const
{
    return m_pOwner != nullptr && m_pOwner->Manager() != nullptr ? m_pOwner->Manager()->WindowHandle() : nullptr;
}

HRESULT STDMETHODCALLTYPE CTxtWinHost::QueryInterface(REFIID riid, void** ppvObject)
{
    if (ppvObject == nullptr) {
        return E_POINTER;
    }
    ITextHost* pInterface = nullptr;
    if (riid == IID_IUnknown || riid == kIidTextHost) {
        pInterface = this;
    }
    return UIHandOutInterface(pInterface, ppvObject);
}

ULONG STDMETHODCALLTYPE CTxtWinHost::AddRef()
{
    return AddReference();
}

ULONG STDMETHODCALLTYPE CTxtWinHost::Release()
{
    return ReleaseReference();
}

HDC CTxtWinHost::TxGetDC()
{
    return ::GetDC(Window());
}

INT CTxtWinHost::TxReleaseDC(HDC hdc)
{
    return ::ReleaseDC(Window(), hdc);
}

WINBOOL CTxtWinHost::TxShowScrollBar(INT, WINBOOL)
{
    if (m_pOwner != nullptr) {
        m_pOwner->OnTxScrollChanged();
    }
    return TRUE;
}

WINBOOL CTxtWinHost::TxEnableScrollBar(INT, INT)
{
    return TxShowScrollBar(0, TRUE);
}

WINBOOL CTxtWinHost::TxSetScrollRange(INT, LONG, INT, WINBOOL)
{
    return TxShowScrollBar(0, TRUE);
}

WINBOOL CTxtWinHost::TxSetScrollPos(INT, INT, WINBOOL)
{
    return TxShowScrollBar(0, TRUE);
}

void CTxtWinHost::TxInvalidateRect(LPCRECT prc, WINBOOL)
{
    if (m_pOwner != nullptr) {
        m_pOwner->OnTxInvalidate(prc);
    }
}

void CTxtWinHost::TxViewChange(WINBOOL fUpdate)
{
    if (fUpdate && m_pOwner != nullptr) {
        m_pOwner->OnTxInvalidate(nullptr);
    }
}

WINBOOL CTxtWinHost::TxCreateCaret(HBITMAP, INT xWidth, INT yHeight)
{
    m_szCaret = {xWidth > 0 ? xWidth : 1, yHeight};
    return TRUE;
}

WINBOOL CTxtWinHost::TxShowCaret(WINBOOL fShow)
{
    if (m_pOwner == nullptr || m_pOwner->Manager() == nullptr) {
        return FALSE;
    }
    m_pOwner->Manager()->ShowCaret(fShow && m_pOwner->IsFocused());
    return TRUE;
}

WINBOOL CTxtWinHost::TxSetCaretPos(INT x, INT y)
{
    if (m_pOwner == nullptr || m_pOwner->Manager() == nullptr) {
        return FALSE;
    }
    m_pOwner->Manager()->SetCaret(m_pOwner, RECT{x, y, x + m_szCaret.cx, y + m_szCaret.cy}, m_pOwner->CaretColor());
    return TRUE;
}

WINBOOL CTxtWinHost::TxSetTimer(UINT idTimer, UINT uTimeout)
{
    if (m_pOwner == nullptr || m_pOwner->Manager() == nullptr) {
        return FALSE;
    }
    m_pOwner->Manager()->StopTimer(m_pOwner, idTimer);
    return m_pOwner->Manager()->StartTimer(m_pOwner, idTimer, uTimeout) ? TRUE : FALSE;
}

void CTxtWinHost::TxKillTimer(UINT idTimer)
{
    if (m_pOwner != nullptr && m_pOwner->Manager() != nullptr) {
        m_pOwner->Manager()->StopTimer(m_pOwner, idTimer);
    }
}

// The control paints through the manager's back buffer: what scrolls is painted again.
void CTxtWinHost::TxScrollWindowEx(INT, INT, LPCRECT, LPCRECT, HRGN, LPRECT, UINT)
{
    TxInvalidateRect(nullptr, FALSE);
}

void CTxtWinHost::TxSetCapture(WINBOOL fCapture)
{
    if (fCapture) {
        ::SetCapture(Window());
    } else if (::GetCapture() == Window()) {
        ::ReleaseCapture();
    }
}

void CTxtWinHost::TxSetFocus()
{
    if (m_pOwner != nullptr) {
        m_pOwner->RequestFocus();
    }
}

void CTxtWinHost::TxSetCursor(HCURSOR hcur, WINBOOL)
{
    ::SetCursor(hcur);
}

WINBOOL CTxtWinHost::TxScreenToClient(LPPOINT lppt)
{
    return ::ScreenToClient(Window(), lppt);
}

WINBOOL CTxtWinHost::TxClientToScreen(LPPOINT lppt)
{
    return ::ClientToScreen(Window(), lppt);
}

HRESULT CTxtWinHost::TxActivate(LONG* plOldState)
{
    if (plOldState != nullptr) {
        *plOldState = 0;
    }
    return S_OK;
}

HRESULT CTxtWinHost::TxDeactivate(LONG)
{
    return S_OK;
}

HRESULT CTxtWinHost::TxGetClientRect(LPRECT prc)
{
    if (prc == nullptr) {
        return E_INVALIDARG;
    }
    *prc = m_pOwner != nullptr ? m_pOwner->TextRect() : RECT{0, 0, 0, 0};
    return S_OK;
}

HRESULT CTxtWinHost::TxGetViewInset(LPRECT prc)
{
    if (prc == nullptr) {
        return E_INVALIDARG;
    }
    *prc = RECT{0, 0, 0, 0}; // the client rectangle already leaves out the padding
    return S_OK;
}

HRESULT CTxtWinHost::TxGetCharFormat(const CHARFORMATW** ppCF)
{
    if (ppCF == nullptr) {
        return E_INVALIDARG;
    }
    *ppCF = reinterpret_cast<const CHARFORMATW*>(&m_cf);
    return S_OK;
}

HRESULT CTxtWinHost::TxGetParaFormat(const PARAFORMAT** ppPF)
{
    if (ppPF == nullptr) {
        return E_INVALIDARG;
    }
    *ppPF = &m_pf;
    return S_OK;
}

COLORREF CTxtWinHost::TxGetSysColor(int nIndex)
{
    return ::GetSysColor(nIndex);
}

HRESULT CTxtWinHost::TxGetBackStyle(TXTBACKSTYLE* pstyle)
{
    if (pstyle == nullptr) {
        return E_INVALIDARG;
    }
    *pstyle = TXTBACK_TRANSPARENT; // the control paints its own background
    return S_OK;
}

HRESULT CTxtWinHost::TxGetMaxLength(DWORD* plength)
{
    if (plength == nullptr) {
        return E_INVALIDARG;
    }
    *plength = m_pOwner != nullptr ? m_pOwner->TextLimit() : 0;
    return S_OK;
}

HRESULT CTxtWinHost::TxGetScrollBars(DWORD* pdwScrollBar)
{
    if (pdwScrollBar == nullptr) {
        return E_INVALIDARG;
    }
    *pdwScrollBar = m_pOwner != nullptr ? m_pOwner->ScrollBarBits() : 0;
    return S_OK;
}

HRESULT CTxtWinHost::TxGetPasswordChar(TCHAR* pch)
{
    if (pch == nullptr) {
        return E_INVALIDARG;
    }
    *pch = L'*';
    return S_OK;
}

HRESULT CTxtWinHost::TxGetAcceleratorPos(LONG* pcp)
{
    if (pcp == nullptr) {
        return E_INVALIDARG;
    }
    *pcp = -1;
    return S_OK;
}

HRESULT CTxtWinHost::TxGetExtent(LPSIZEL)
{
    return E_NOTIMPL;
}

HRESULT CTxtWinHost::OnTxCharFormatChange(const CHARFORMATW*)
{
    return S_OK;
}

HRESULT CTxtWinHost::OnTxParaFormatChange(const PARAFORMAT*)
{
    return S_OK;
}

HRESULT CTxtWinHost::TxGetPropertyBits(DWORD dwMask, DWORD* pdwBits)
{
    if (pdwBits == nullptr) {
        return E_INVALIDARG;
    }
    *pdwBits = (m_pOwner != nullptr ? m_pOwner->TextPropertyBits() : 0) & dwMask;
    return S_OK;
}

HRESULT CTxtWinHost::TxNotify(DWORD iNotify, void*)
{
    if (iNotify == EN_CHANGE && m_pOwner != nullptr) {
        m_pOwner->OnTxTextChanged();
    }
    return S_OK;
}

HIMC CTxtWinHost::TxImmGetContext()
{
    return ::ImmGetContext(Window());
}

void CTxtWinHost::TxImmReleaseContext(HIMC himc)
{
    ::ImmReleaseContext(Window(), himc);
}

HRESULT CTxtWinHost::TxGetSelectionBarWidth(LONG* lSelBarWidth)
{
    if (lSelBarWidth == nullptr) {
        return E_INVALIDARG;
    }
    *lSelBarWidth = 0;
    return S_OK;
}

} // namespace Tarvo
