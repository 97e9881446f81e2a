#pragma once

#include <windows.h>
#include <richedit.h>
#include <textserv.h>

#include <wrl/client.h>

#include "controls/ComRefCount.h"

namespace Tarvo {

class CRichEditUI;

// The text host of a rich edit control: the system's windowless text services draw, edit and
// scroll through it on the control's window, and it answers their questions from the control.
//
// Calling convention: the system's headers declare the ITextHost and ITextServices methods without
// STDMETHODCALLTYPE, so on 32-bit x86 they are thiscall (this in ECX), and riched20.dll calls the
// host that way; Wine's riched20 matches it with thiscall thunks on i386. mingw-w64's textserv.h
// declares them the same way and g++ makes member functions thiscall by default on i686, so the
// plain overrides below have the right convention (the IUnknown methods stay stdcall). On x86_64
// there is only one convention.
class CTxtWinHost final : public ITextHost, public CUIComRefCount<CTxtWinHost> {
public:
    // A host with its text services for the control; null when the system's rich edit library
    // or its text services cannot be had.
    // The formats are in place before the services first ask for them.
    static Microsoft::WRL::ComPtr<CTxtWinHost> Create(CRichEditUI* pOwner, const CHARFORMAT2W& cf, WORD wAlignment);
    // Hosts alive in the process (a released host is gone).
    static LONG LiveCount();

    ITextServices* Services() const { return m_services.Get(); }
    // The control goes away: the text services are deactivated and released, and the host answers
    // without it from now on.
    void Shutdown();
    void SetCharFormat(const CHARFORMAT2W& cf);
    void SetParaAlignment(WORD wAlignment);

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppvObject) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    // ITextHost
    HDC TxGetDC() override;
    INT TxReleaseDC(HDC hdc) override;
    WINBOOL TxShowScrollBar(INT fnBar, WINBOOL fShow) override;
    WINBOOL TxEnableScrollBar(INT fuSBFlags, INT fuArrowflags) override;
    WINBOOL TxSetScrollRange(INT fnBar, LONG nMinPos, INT nMaxPos, WINBOOL fRedraw) override;
    WINBOOL TxSetScrollPos(INT fnBar, INT nPos, WINBOOL fRedraw) override;
    void TxInvalidateRect(LPCRECT prc, WINBOOL fMode) override;
    void TxViewChange(WINBOOL fUpdate) override;
    WINBOOL TxCreateCaret(HBITMAP hbmp, INT xWidth, INT yHeight) override;
    WINBOOL TxShowCaret(WINBOOL fShow) override;
    WINBOOL TxSetCaretPos(INT x, INT y) override;
    WINBOOL TxSetTimer(UINT idTimer, UINT uTimeout) override;
    void TxKillTimer(UINT idTimer) override;
    void TxScrollWindowEx(INT dx, INT dy, LPCRECT lprcScroll, LPCRECT lprcClip, HRGN hrgnUpdate, LPRECT lprcUpdate,
                          UINT fuScroll) override;
    void TxSetCapture(WINBOOL fCapture) override;
    void TxSetFocus() override;
    void TxSetCursor(HCURSOR hcur, WINBOOL fText) override;
    WINBOOL TxScreenToClient(LPPOINT lppt) override;
    WINBOOL TxClientToScreen(LPPOINT lppt) override;
    HRESULT TxActivate(LONG* plOldState) override;
    HRESULT TxDeactivate(LONG lNewState) override;
    HRESULT TxGetClientRect(LPRECT prc) override;
    HRESULT TxGetViewInset(LPRECT prc) override;
    HRESULT TxGetCharFormat(const CHARFORMATW** ppCF) override;
    HRESULT TxGetParaFormat(const PARAFORMAT** ppPF) override;
    COLORREF TxGetSysColor(int nIndex) override;
    HRESULT TxGetBackStyle(TXTBACKSTYLE* pstyle) override;
    HRESULT TxGetMaxLength(DWORD* plength) override;
    HRESULT TxGetScrollBars(DWORD* pdwScrollBar) override;
    HRESULT TxGetPasswordChar(TCHAR* pch) override;
    HRESULT TxGetAcceleratorPos(LONG* pcp) override;
    HRESULT TxGetExtent(LPSIZEL lpExtent) override;
    HRESULT OnTxCharFormatChange(const CHARFORMATW* pcf) override;
    HRESULT OnTxParaFormatChange(const PARAFORMAT* ppf) override;
    HRESULT TxGetPropertyBits(DWORD dwMask, DWORD* pdwBits) override;
    HRESULT TxNotify(DWORD iNotify, void* pv) override;
    HIMC TxImmGetContext() override;
    void TxImmReleaseContext(HIMC himc) override;
    HRESULT TxGetSelectionBarWidth(LONG* lSelBarWidth) override;

    CTxtWinHost(const CTxtWinHost&) = delete;
    CTxtWinHost& operator=(const CTxtWinHost&) = delete;

private:
    friend class CUIComRefCount<CTxtWinHost>;
    explicit CTxtWinHost(CRichEditUI* pOwner);
    ~CTxtWinHost();
    bool CreateServices();
    HWND Window() const;

    CRichEditUI* m_pOwner;
    Microsoft::WRL::ComPtr<ITextServices> m_services;
    CHARFORMAT2W m_cf = {};
    PARAFORMAT2 m_pf = {};
    SIZE m_szCaret = {1, 0};
};

} // namespace Tarvo
