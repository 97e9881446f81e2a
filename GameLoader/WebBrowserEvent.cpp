#include "WebBrowserEvent.h"

#include "LoaderMessages.h"
#include "Logger.h"

#include <shellapi.h>
#include <wininet.h>

#include <string>

namespace {

// INET_E_RESOURCE_NOT_FOUND: the server or the resource could not be reached.
constexpr LONG PortalUnreachable = static_cast<LONG>(0x800C0005);

constexpr size_t LoggedUrlLength = 200;

bool HasControlCharacter(const wchar_t* text, size_t length)
{
    for (size_t i = 0; i < length; ++i) {
        if (text[i] < 0x20 || text[i] == 0x7F)
            return true;
    }
    return false;
}

std::wstring LoggedUrl(BSTR bstrUrl)
{
    if (bstrUrl == nullptr)
        return {};
    std::wstring url(bstrUrl, SysStringLen(bstrUrl));
    if (url.size() > LoggedUrlLength)
        url.resize(LoggedUrlLength);
    for (wchar_t& c : url) {
        if (c < 0x20 || c == 0x7F)
            c = L'?';
    }
    return url;
}

} // namespace

CWebBrowserEvent::CWebBrowserEvent(HWND hMainWnd) : m_hMainWnd(hMainWnd) {}

void CWebBrowserEvent::NavigateError(IDispatch* /*pDisp*/, const VARIANT& /*url*/, const VARIANT& /*targetFrameName*/,
                                     const VARIANT& statusCode, VARIANT_BOOL* /*pCancel*/)
{
    if (statusCode.vt != VT_I4 || statusCode.lVal != PortalUnreachable)
        return;
    m_bNavigateFailed = true;
    PostMessageW(m_hMainWnd, WM_LOADER_NAVIGATE_FAILED, 0, 0);
}

void CWebBrowserEvent::DocumentComplete(IDispatch* /*pDisp*/, const VARIANT& /*url*/)
{
    if (!m_bNavigateFailed)
        PostMessageW(m_hMainWnd, WM_LOADER_PAGE_LOADED, 0, 0);
}

void CWebBrowserEvent::NewWindow3(IDispatch** /*ppDisp*/, VARIANT_BOOL* pCancel, DWORD /*dwFlags*/,
                                  BSTR /*bstrUrlContext*/, BSTR bstrUrl)
{
    *pCancel = VARIANT_TRUE;
    if (!IsWebAddress(bstrUrl)) {
        LOG_ERROR("CWebBrowserEvent::NewWindow3", L"not a web address, not opened: " << LoggedUrl(bstrUrl));
        return;
    }
    ShellExecuteW(nullptr, L"open", bstrUrl, nullptr, nullptr, SW_SHOWNORMAL);
}

bool CWebBrowserEvent::IsWebAddress(BSTR bstrUrl)
{
    if (bstrUrl == nullptr)
        return false;
    const size_t length = SysStringLen(bstrUrl);
    // An embedded NUL would hand the shell a different address than the one checked here.
    if (length == 0 || length > INTERNET_MAX_URL_LENGTH || wcslen(bstrUrl) != length ||
        HasControlCharacter(bstrUrl, length))
        return false;
    URL_COMPONENTSW parts = {};
    parts.dwStructSize = sizeof(parts);
    parts.dwSchemeLength = 1;
    parts.dwHostNameLength = 1;
    if (!InternetCrackUrlW(bstrUrl, static_cast<DWORD>(length), 0, &parts))
        return false;
    if (parts.nScheme != INTERNET_SCHEME_HTTP && parts.nScheme != INTERNET_SCHEME_HTTPS)
        return false;
    return parts.dwHostNameLength > 0;
}
