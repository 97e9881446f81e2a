#include "BrowserEvents.h"

#include "RecordFile.h"

#include <exdispid.h>
#include <oleauto.h>

namespace wxlmportal {

namespace {

// A VARIANT owning its value, cleared on scope exit.
class CVariant {
public:
    CVariant() { ::VariantInit(&m_value); }
    ~CVariant() { ::VariantClear(&m_value); }
    CVariant(const CVariant&) = delete;
    CVariant& operator=(const CVariant&) = delete;

    static void Bstr(CVariant& v, const std::wstring& text)
    {
        v.m_value.vt = VT_BSTR;
        v.m_value.bstrVal = ::SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    }
    VARIANT* Get() { return &m_value; }

private:
    VARIANT m_value;
};

VARIANT ByRefVariant(VARIANT* target)
{
    VARIANT v;
    v.vt = VT_BYREF | VT_VARIANT;
    v.pvarVal = target;
    return v;
}

VARIANT DispatchArg(IDispatch* disp)
{
    VARIANT v;
    v.vt = VT_DISPATCH;
    v.pdispVal = disp;
    return v;
}

VARIANT CancelArg(VARIANT_BOOL* cancel)
{
    VARIANT v;
    v.vt = VT_BYREF | VT_BOOL;
    v.pboolVal = cancel;
    return v;
}

// Arguments are listed first to last; DISPPARAMS wants them in reverse.
template <size_t N> void Fire(CBrowserEventPoint& point, DISPID dispId, VARIANT (&firstToLast)[N])
{
    VARIANT reversed[N];
    for (size_t i = 0; i < N; ++i) {
        reversed[i] = firstToLast[N - 1 - i];
    }
    DISPPARAMS params{reversed, nullptr, N, 0};
    point.Fire(dispId, params);
}

std::wstring CancelField(VARIANT_BOOL cancel)
{
    return L"cancel=" + std::to_wstring(cancel);
}

} // namespace

bool CBrowserEvents::BeforeNavigate2(IDispatch* disp, const std::wstring& url, const std::wstring& frameName)
{
    CVariant urlValue, targetValue, headersValue, flagsValue, postData;
    CVariant::Bstr(urlValue, url);
    CVariant::Bstr(targetValue, L"");
    CVariant::Bstr(headersValue, L"");
    flagsValue.Get()->vt = VT_I4;
    flagsValue.Get()->lVal = 0;
    VARIANT_BOOL cancel = VARIANT_FALSE;
    VARIANT args[] = {DispatchArg(disp),
                      ByRefVariant(urlValue.Get()),
                      ByRefVariant(flagsValue.Get()),
                      ByRefVariant(targetValue.Get()),
                      ByRefVariant(postData.Get()),
                      ByRefVariant(headersValue.Get()),
                      CancelArg(&cancel)};
    Fire(m_point, DISPID_BEFORENAVIGATE2, args);
    CRecordFile::Append({L"event", L"BeforeNavigate2", L"frame=" + frameName, L"url=" + url, CancelField(cancel)});
    return cancel != VARIANT_FALSE;
}

void CBrowserEvents::FireUrlEvent(DISPID dispId, const wchar_t* name, IDispatch* disp, const std::wstring& url,
                                  const std::wstring& frameName)
{
    CVariant urlValue;
    CVariant::Bstr(urlValue, url);
    VARIANT args[] = {DispatchArg(disp), ByRefVariant(urlValue.Get())};
    Fire(m_point, dispId, args);
    CRecordFile::Append({L"event", name, L"frame=" + frameName, L"url=" + url});
}

void CBrowserEvents::NavigateComplete2(IDispatch* disp, const std::wstring& url, const std::wstring& frameName)
{
    FireUrlEvent(DISPID_NAVIGATECOMPLETE2, L"NavigateComplete2", disp, url, frameName);
}

void CBrowserEvents::DocumentComplete(IDispatch* disp, const std::wstring& url, const std::wstring& frameName)
{
    FireUrlEvent(DISPID_DOCUMENTCOMPLETE, L"DocumentComplete", disp, url, frameName);
}

bool CBrowserEvents::NavigateError(IDispatch* disp, const std::wstring& url, const std::wstring& frameName, LONG status)
{
    CVariant urlValue, targetValue, statusValue;
    CVariant::Bstr(urlValue, url);
    CVariant::Bstr(targetValue, L"");
    statusValue.Get()->vt = VT_I4;
    statusValue.Get()->lVal = status;
    VARIANT_BOOL cancel = VARIANT_FALSE;
    VARIANT args[] = {DispatchArg(disp), ByRefVariant(urlValue.Get()), ByRefVariant(targetValue.Get()),
                      ByRefVariant(statusValue.Get()), CancelArg(&cancel)};
    Fire(m_point, DISPID_NAVIGATEERROR, args);
    CRecordFile::Append({L"event", L"NavigateError", L"frame=" + frameName, L"url=" + url,
                         L"status=" + CRecordFile::Hex(status), CancelField(cancel)});
    return cancel != VARIANT_FALSE;
}

bool CBrowserEvents::NewWindow3(const std::wstring& url, const std::wstring& context)
{
    CVariant contextValue, urlValue;
    CVariant::Bstr(contextValue, context);
    CVariant::Bstr(urlValue, url);
    IDispatch* newWindow = nullptr;
    VARIANT_BOOL cancel = VARIANT_FALSE;
    VARIANT slot;
    slot.vt = VT_BYREF | VT_DISPATCH;
    slot.ppdispVal = &newWindow;
    VARIANT flags;
    flags.vt = VT_I4;
    flags.lVal = 0x3; // NWMF_USERINITED | NWMF_FIRST: a click the user made
    VARIANT args[] = {slot, CancelArg(&cancel), flags, *contextValue.Get(), *urlValue.Get()};
    Fire(m_point, DISPID_NEWWINDOW3, args);
    if (newWindow != nullptr) {
        newWindow->Release(); // a sink that hands a window over gives us its reference
    }
    CRecordFile::Append({L"event", L"NewWindow3", L"frame=top", L"url=" + url, CancelField(cancel)});
    return cancel != VARIANT_FALSE;
}

} // namespace wxlmportal
