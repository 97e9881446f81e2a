#include "controls/WebBrowser.h"

#include "controls/AttributeValue.h"
#include "controls/WebBrowserDownloader.h"
#include "core/WindowManager.h"

#include <cwchar>

using Microsoft::WRL::ComPtr;

namespace Tarvo {

namespace {

// A VARIANT cleared at the end of the scope.
class CScopedVariant {
public:
    CScopedVariant() { ::VariantInit(&m_value); }
    explicit CScopedVariant(const wchar_t* pstrText) : CScopedVariant()
    {
        m_value.bstrVal = ::SysAllocString(pstrText);
        if (m_value.bstrVal != nullptr) {
            m_value.vt = VT_BSTR;
        }
    }
    ~CScopedVariant() { ::VariantClear(&m_value); }
    CScopedVariant(const CScopedVariant&) = delete;
    CScopedVariant& operator=(const CScopedVariant&) = delete;
    VARIANT* Get() { return &m_value; }

private:
    VARIANT m_value;
};

} // namespace

CWebBrowserUI::CWebBrowserUI()
{
    SetClassId(CLSID_WebBrowser);
}

CWebBrowserUI::~CWebBrowserUI()
{
    CWebBrowserUI::ReleaseHostedObject();
    if (m_pDownloader) {
        m_pDownloader->DetachOwner();
    }
    m_pWebBrowser.Reset();
    // Closed here rather than by the base, so that what the object calls while closing still
    // finds this control whole.
    CActiveXUI::ReleaseHostedObject();
}

const wchar_t* CWebBrowserUI::TypeName() const
{
    return L"WebBrowserUI";
}

void* CWebBrowserUI::LookupInterface(const wchar_t* pstrName)
{
    if (pstrName != nullptr && std::wcscmp(pstrName, L"WebBrowser") == 0) {
        return this;
    }
    return CActiveXUI::LookupInterface(pstrName);
}

void CWebBrowserUI::ApplyAttribute(const wchar_t* pstrName, const wchar_t* pstrValue)
{
    if (pstrName == nullptr) {
        return;
    }
    const wchar_t* v = pstrValue != nullptr ? pstrValue : L"";
    if (std::wcscmp(pstrName, L"homepage") == 0) {
        SetHomePage(v);
    } else if (std::wcscmp(pstrName, L"autonavi") == 0) {
        SetAutoNavigate(ParseAttributeBool(v));
    } else {
        CActiveXUI::ApplyAttribute(pstrName, pstrValue);
    }
}

bool CWebBrowserUI::CreateHostedObject()
{
    m_pWebBrowser.Reset();
    if (!CActiveXUI::CreateHostedObject()) {
        return false;
    }
    if (m_pTranslatorManager == nullptr && m_pManager != nullptr) {
        m_pTranslatorManager = m_pManager;
        m_pTranslatorManager->AddTranslator(this);
    }
    QueryHostedObject(IID_PPV_ARGS(m_pWebBrowser.GetAddressOf()));
    if (m_bAutoNavigate && !m_strHomePage.IsEmpty()) {
        NavigateTo(m_strHomePage);
    }
    ConnectEvents(true);
    return true;
}

// The object itself stays until the control goes (or a new one is created).
void CWebBrowserUI::ReleaseHostedObject()
{
    AllowRecreation();
    RemoveTranslator();
    ConnectEvents(false);
}

void CWebBrowserUI::RemoveTranslator()
{
    if (m_pTranslatorManager != nullptr) {
        m_pTranslatorManager->RemoveTranslator(this);
        m_pTranslatorManager = nullptr;
    }
}

HRESULT CWebBrowserUI::NavigateTo(const wchar_t* pstrUrl)
{
    if (pstrUrl == nullptr || *pstrUrl == L'\0' || !m_pWebBrowser) {
        return S_FALSE;
    }
    CScopedVariant url(pstrUrl);
    if (url.Get()->vt != VT_BSTR) {
        return E_OUTOFMEMORY;
    }
    CScopedVariant flags;
    CScopedVariant targetFrame;
    CScopedVariant postData;
    CScopedVariant headers;
    return m_pWebBrowser->Navigate2(url.Get(), flags.Get(), targetFrame.Get(), postData.Get(), headers.Get());
}

void CWebBrowserUI::SetEventHandler(CWebBrowserEventHandler* pHandler)
{
    if (m_pEventHandler != pHandler) {
        m_pEventHandler = pHandler;
    }
}

HRESULT CWebBrowserUI::ConnectEvents(bool bConnect)
{
    return ConnectHostedEvents(DIID_DWebBrowserEvents2, static_cast<IDispatch*>(this), m_dwEventCookie, bConnect);
}

LRESULT CWebBrowserUI::TranslateKey(MSG* pMsg)
{
    if (pMsg == nullptr || !IsUIKeyMessage(pMsg->message)) {
        return S_FALSE;
    }
    if (!m_pWebBrowser) {
        return E_NOTIMPL;
    }
    if (!HasFocusInside()) {
        return S_FALSE;
    }
    ComPtr<IOleInPlaceActiveObject> pActive;
    if (FAILED(m_pWebBrowser.As(&pActive))) {
        return S_FALSE;
    }
    return pActive->TranslateAccelerator(pMsg);
}

bool CWebBrowserUI::HasFocusInside() const
{
    const HWND hwndHost = HostWindow();
    if (hwndHost == nullptr) {
        return false;
    }
    for (HWND hWnd = ::GetFocus(); hWnd != nullptr; hWnd = ::GetParent(hWnd)) {
        if (hWnd == hwndHost) {
            return true;
        }
    }
    return false;
}

} // namespace Tarvo
