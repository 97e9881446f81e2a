#include "PortalBrowser.h"

#include "Environment.h"
#include "PageScript.h"
#include "PortalBrowserApi.h"
#include "RecordFile.h"

#include <oleauto.h>
#include <olectl.h>

namespace wxlmportal {

namespace {

constexpr const wchar_t* kNewWindowLink = L"https://www.example.com/news";

// The text of a URL argument as a script or host would pass it (a string, or a reference to one).
std::wstring UrlText(const VARIANT* url)
{
    if (url == nullptr) {
        return {};
    }
    if (url->vt == (VT_BYREF | VT_VARIANT) && url->pvarVal != nullptr) {
        return UrlText(url->pvarVal);
    }
    if (url->vt == VT_BSTR) {
        return std::wstring(url->bstrVal, ::SysStringLen(url->bstrVal));
    }
    VARIANT text;
    ::VariantInit(&text);
    std::wstring result;
    if (SUCCEEDED(::VariantChangeType(&text, const_cast<VARIANT*>(url), 0, VT_BSTR))) {
        result.assign(text.bstrVal, ::SysStringLen(text.bstrVal));
    }
    ::VariantClear(&text);
    return result;
}

const wchar_t* PageClickName(PageHit hit)
{
    switch (hit) {
    case PageHit::Drag:
        return L"drag";
    case PageHit::Minimize:
        return L"min";
    case PageHit::Close:
        return L"close";
    case PageHit::Start:
        return L"start";
    case PageHit::Link:
        return L"link";
    case PageHit::None:
        break;
    }
    return L"none";
}

const wchar_t* PageClickRequest(PageHit hit)
{
    switch (hit) {
    case PageHit::Drag:
        return LR"({"funcation_name":"wnd_mousemove"})";
    case PageHit::Minimize:
        return LR"({"funcation_name":"min_wnd"})";
    case PageHit::Close:
        return LR"({"funcation_name":"close_wnd"})";
    case PageHit::Start:
        return LR"({"funcation_name":"open_game"})";
    default:
        break;
    }
    return nullptr;
}

// A navigation request as it reaches the browser: recorded, and signalled to a waiting benchmark
// (an event is seen at once; a file has to be polled).
void NoteNavigation(const std::wstring& url)
{
    CRecordFile::Append({L"navigate", url});
    SignalEnvironmentEvent(L"WXLM_PORTAL_NAVIGATION_EVENT");
}

} // namespace

CPortalBrowser::CPortalBrowser() : CCountedObject(L"browser"), m_scenario(CScenario::Load()) {}

CPortalBrowser::~CPortalBrowser() = default;

STDMETHODIMP CPortalBrowser::QueryInterface(REFIID riid, void** ppv)
{
    if (ppv == nullptr) {
        return E_POINTER;
    }
    *ppv = nullptr;
    if (riid == IID_IUnknown || riid == IID_IOleObject) {
        *ppv = static_cast<IOleObject*>(this);
    } else if (riid == IID_IDispatch || riid == IID_IWebBrowser || riid == IID_IWebBrowserApp ||
               riid == IID_IWebBrowser2) {
        *ppv = static_cast<IWebBrowser2*>(this);
    } else if (riid == IID_IOleWindow || riid == IID_IOleInPlaceObject) {
        *ppv = static_cast<IOleInPlaceObject*>(this);
    } else if (riid == IID_IOleInPlaceActiveObject) {
        *ppv = static_cast<IOleInPlaceActiveObject*>(this);
    } else if (riid == IID_IViewObject || riid == IID_IViewObject2) {
        *ppv = static_cast<IViewObject2*>(this);
    } else if (riid == IID_IPersist || riid == IID_IPersistStreamInit) {
        *ppv = static_cast<IPersistStreamInit*>(this);
    } else if (riid == IID_IObjectWithSite) {
        *ppv = static_cast<IObjectWithSite*>(this);
    } else if (riid == IID_IOleControl) {
        *ppv = static_cast<IOleControl*>(this);
    } else if (riid == IID_IConnectionPointContainer) {
        *ppv = static_cast<IConnectionPointContainer*>(this);
    } else {
        return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
}

STDMETHODIMP CPortalBrowser::Navigate(BSTR url, VARIANT*, VARIANT*, VARIANT*, VARIANT*)
{
    const std::wstring text(url, ::SysStringLen(url));
    NoteNavigation(text);
    return StartNavigation(text);
}

STDMETHODIMP CPortalBrowser::Navigate2(VARIANT* url, VARIANT*, VARIANT*, VARIANT*, VARIANT*)
{
    if (url == nullptr) {
        return E_INVALIDARG;
    }
    const std::wstring text = UrlText(url);
    NoteNavigation(text);
    return StartNavigation(text);
}

// BeforeNavigate2 comes before Navigate2 returns, as with the real object; the rest is posted.
HRESULT CPortalBrowser::StartNavigation(const std::wstring& url)
{
    const ComPtr<CPortalBrowser> keepAlive(this);
    m_player.Clear();
    const PageRule page = CScenario::Load().PageFor(url);
    if (m_events.BeforeNavigate2(Self(), url, L"top")) {
        return S_OK;
    }
    QueuePage(url, page);
    return S_OK;
}

void CPortalBrowser::QueuePage(const std::wstring& url, const PageRule& page)
{
    if (page.status) {
        m_player.Add([this, url, status = *page.status] {
            const ComPtr<CPortalBrowser> keepAlive(this);
            if (m_events.NavigateError(Self(), url, L"top", status)) {
                m_player.Clear();
            }
        });
    }
    m_player.Add([this, url, page] { LoadTopDocument(url, page); });
    for (const FrameSpec& frame : page.frames) {
        m_player.Add([this, frame] { QueueFrame(frame); });
    }
    m_player.Add([this, url] { CompleteTopDocument(url); });
    for (const ScriptStep& step : page.steps) {
        m_player.Add([this, step] { RunScriptStep(step); });
    }
}

void CPortalBrowser::LoadTopDocument(const std::wstring& url, const PageRule& page)
{
    const ComPtr<CPortalBrowser> keepAlive(this);
    m_location = url;
    m_page = page;
    m_loaded = false;
    m_errorStatus.reset();
    m_document = CPortalDocument::Create();
    m_window.Invalidate();
    m_events.NavigateComplete2(Self(), url, L"top");
    if (m_document) {
        CPageScript(m_document->UIHandler(), m_clientSite.Get()).ReadHostInfo();
    }
}

void CPortalBrowser::QueueFrame(const FrameSpec& frame)
{
    const ComPtr<CPortalBrowser> keepAlive(this);
    const ComPtr<CPlainDispatch> frameObject = CPlainDispatch::Create(L"frame");
    if (m_events.BeforeNavigate2(frameObject.Get(), frame.url, frame.url)) {
        return;
    }
    if (frame.status && m_events.NavigateError(frameObject.Get(), frame.url, frame.url, *frame.status)) {
        return;
    }
    m_events.NavigateComplete2(frameObject.Get(), frame.url, frame.url);
    m_events.DocumentComplete(frameObject.Get(), frame.url, frame.url);
}

void CPortalBrowser::CompleteTopDocument(const std::wstring& url)
{
    const ComPtr<CPortalBrowser> keepAlive(this);
    m_errorStatus = m_page.status;
    m_loaded = !m_page.status.has_value();
    m_window.Invalidate();
    m_events.DocumentComplete(Self(), url, L"top");
}

void CPortalBrowser::RunScriptStep(const ScriptStep& step)
{
    const ComPtr<CPortalBrowser> keepAlive(this);
    if (step.kind == ScriptStepKind::NewWindow) {
        OpenNewWindow(step.text);
        return;
    }
    CPageScript script(m_document ? m_document->UIHandler() : nullptr, m_clientSite.Get());
    if (step.kind == ScriptStepKind::ScriptError) {
        ComPtr<IUnknown> document;
        if (m_document) {
            m_document.As(&document);
        }
        script.ShowScriptError(document.Get());
    } else {
        script.Call(step);
    }
}

void CPortalBrowser::OpenNewWindow(const std::wstring& url)
{
    const bool cancelled = m_events.NewWindow3(url, m_location);
    CRecordFile::Append({L"newwindow", cancelled ? L"cancelled" : L"opened", L"url=" + url});
}

PageView CPortalBrowser::View() const
{
    return PageView{m_loaded, m_errorStatus, m_page.title, m_location};
}

void CPortalBrowser::OnPageClick(PageHit hit)
{
    const ComPtr<CPortalBrowser> keepAlive(this);
    CRecordFile::Append({L"click", PageClickName(hit)});
    if (hit == PageHit::Link) {
        OpenNewWindow(kNewWindowLink);
        return;
    }
    ScriptStep step;
    step.name = L"g_callCppFunc";
    step.text = PageClickRequest(hit);
    RunScriptStep(step);
}

STDMETHODIMP CPortalBrowser::Stop()
{
    CRecordFile::Append({L"method", L"IWebBrowser2::Stop"});
    m_player.Clear();
    return S_OK;
}

STDMETHODIMP CPortalBrowser::get_Application(IDispatch** application)
{
    if (application == nullptr) {
        return E_POINTER;
    }
    *application = Self();
    AddRef();
    return S_OK;
}

STDMETHODIMP CPortalBrowser::get_Document(IDispatch** document)
{
    if (document == nullptr) {
        return E_POINTER;
    }
    *document = nullptr;
    if (!m_document) {
        return S_FALSE;
    }
    return m_document.CopyTo(document);
}

STDMETHODIMP CPortalBrowser::get_LocationURL(BSTR* url)
{
    if (url == nullptr) {
        return E_POINTER;
    }
    *url = ::SysAllocStringLen(m_location.data(), static_cast<UINT>(m_location.size()));
    return S_OK;
}

STDMETHODIMP CPortalBrowser::get_LocationName(BSTR* name)
{
    if (name == nullptr) {
        return E_POINTER;
    }
    *name = ::SysAllocString(m_page.title.c_str());
    return S_OK;
}

STDMETHODIMP CPortalBrowser::get_Busy(VARIANT_BOOL* busy)
{
    if (busy == nullptr) {
        return E_POINTER;
    }
    *busy = m_player.Busy() ? VARIANT_TRUE : VARIANT_FALSE;
    return S_OK;
}

STDMETHODIMP CPortalBrowser::get_ReadyState(READYSTATE* state)
{
    if (state == nullptr) {
        return E_POINTER;
    }
    *state = m_player.Busy() ? READYSTATE_LOADING : READYSTATE_COMPLETE;
    return S_OK;
}

STDMETHODIMP CPortalBrowser::get_Visible(VARIANT_BOOL* visible)
{
    if (visible == nullptr) {
        return E_POINTER;
    }
    *visible = m_visible;
    return S_OK;
}

STDMETHODIMP CPortalBrowser::put_Visible(VARIANT_BOOL visible)
{
    CRecordFile::Append({L"method", L"IWebBrowser2::put_Visible", std::to_wstring(visible)});
    m_visible = visible != VARIANT_FALSE ? VARIANT_TRUE : VARIANT_FALSE;
    return S_OK;
}

STDMETHODIMP CPortalBrowser::get_Silent(VARIANT_BOOL* silent)
{
    if (silent == nullptr) {
        return E_POINTER;
    }
    *silent = m_silent;
    return S_OK;
}

STDMETHODIMP CPortalBrowser::put_Silent(VARIANT_BOOL silent)
{
    CRecordFile::Append({L"silent", std::to_wstring(silent)});
    m_silent = silent != VARIANT_FALSE ? VARIANT_TRUE : VARIANT_FALSE;
    return S_OK;
}

STDMETHODIMP CPortalBrowser::EnumConnectionPoints(IEnumConnectionPoints** points)
{
    if (points != nullptr) {
        *points = nullptr;
    }
    return E_NOTIMPL;
}

STDMETHODIMP CPortalBrowser::FindConnectionPoint(REFIID riid, IConnectionPoint** point)
{
    if (point == nullptr) {
        return E_POINTER;
    }
    *point = nullptr;
    if (riid != DIID_DWebBrowserEvents2) {
        return CONNECT_E_NOCONNECTION;
    }
    *point = &m_eventPoint;
    m_eventPoint.AddRef();
    return S_OK;
}

} // namespace wxlmportal
