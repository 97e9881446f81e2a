#include "PageScript.h"

#include "PlainDispatch.h"
#include "RecordFile.h"

#include <oleauto.h>

#include <vector>

namespace wxlmportal {

namespace {

// Arguments of one call, first to last, owning their values.
class CCallArguments {
public:
    ~CCallArguments()
    {
        for (VARIANT& v : m_values) {
            ::VariantClear(&v);
        }
    }
    void AddBstr(BSTR value)
    {
        VARIANT v;
        v.vt = VT_BSTR;
        v.bstrVal = value;
        m_values.push_back(v);
    }
    void AddInt(LONG value)
    {
        VARIANT v;
        v.vt = VT_I4;
        v.lVal = value;
        m_values.push_back(v);
    }
    void AddDispatch(ComPtr<IDispatch> value)
    {
        VARIANT v;
        v.vt = VT_DISPATCH;
        v.pdispVal = value.Detach();
        m_values.push_back(v);
    }
    // DISPPARAMS lists the arguments last to first.
    DISPPARAMS Params()
    {
        m_reversed.assign(m_values.rbegin(), m_values.rend());
        return {m_reversed.empty() ? nullptr : m_reversed.data(), nullptr, static_cast<UINT>(m_reversed.size()), 0};
    }

private:
    std::vector<VARIANT> m_values;
    std::vector<VARIANT> m_reversed;
};

BSTR MakeBstr(const std::wstring& text)
{
    return ::SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
}

std::wstring Describe(const VARIANT& value)
{
    switch (value.vt) {
    case VT_EMPTY:
        return L"empty:";
    case VT_BSTR:
        return L"bstr:" + std::wstring(value.bstrVal, ::SysStringLen(value.bstrVal));
    case VT_I4:
        return L"int:" + std::to_wstring(value.lVal);
    case VT_BOOL:
        return L"bool:" + std::to_wstring(value.boolVal);
    default:
        return L"vt" + std::to_wstring(value.vt) + L":";
    }
}

std::wstring ArgumentsFor(const ScriptStep& step, CCallArguments& args)
{
    switch (step.kind) {
    case ScriptStepKind::CallInt:
        args.AddInt(step.number);
        return L"int:" + std::to_wstring(step.number);
    case ScriptStepKind::CallNull:
        args.AddBstr(nullptr);
        return L"null";
    case ScriptStepKind::CallObject:
        args.AddDispatch(CPlainDispatch::Create(nullptr));
        return L"object";
    case ScriptStepKind::CallNone:
        return L"none";
    case ScriptStepKind::CallTwo:
        args.AddBstr(MakeBstr(step.text));
        args.AddBstr(MakeBstr(step.text));
        return L"two:" + step.text;
    default:
        args.AddBstr(MakeBstr(step.text));
        return L"bstr:" + step.text;
    }
}

} // namespace

CPageScript::CPageScript(IDocHostUIHandler* documentHandler, IOleClientSite* clientSite)
    : m_handler(documentHandler), m_clientSite(clientSite)
{
    if (!m_handler && m_clientSite) {
        m_clientSite.As(&m_handler);
    }
}

void CPageScript::ReadHostInfo()
{
    if (!m_handler) {
        CRecordFile::Append({L"hostinfo", L"hr=" + CRecordFile::Hex(E_NOINTERFACE)});
        return;
    }
    DOCHOSTUIINFO info{};
    info.cbSize = sizeof info;
    const HRESULT hr = m_handler->GetHostInfo(&info);
    ::CoTaskMemFree(info.pchHostCss);
    ::CoTaskMemFree(info.pchHostNS);
    CRecordFile::Append({L"hostinfo", L"hr=" + CRecordFile::Hex(hr), L"flags=" + CRecordFile::Hex(info.dwFlags),
                         L"dblclk=" + std::to_wstring(info.dwDoubleClick)});
}

void CPageScript::Call(const ScriptStep& step)
{
    ComPtr<IDispatch> external;
    HRESULT hr = m_handler ? m_handler->GetExternal(external.GetAddressOf()) : E_NOINTERFACE;
    CRecordFile::Append({L"external", L"hr=" + CRecordFile::Hex(hr)});
    std::wstring argDesc = L"none";
    DISPID id = DISPID_UNKNOWN;
    VARIANT result;
    ::VariantInit(&result);
    if (SUCCEEDED(hr) && external) {
        hr = InvokeExternal(external.Get(), step, argDesc, id, result);
    } else if (SUCCEEDED(hr)) {
        hr = E_POINTER;
    }
    CRecordFile::Append({L"script", L"name=" + step.name, L"args=" + argDesc, L"dispid=" + std::to_wstring(id),
                         L"hr=" + CRecordFile::Hex(hr), L"result=" + Describe(result)});
    ::VariantClear(&result);
}

HRESULT CPageScript::InvokeExternal(IDispatch* external, const ScriptStep& step, std::wstring& argDesc, DISPID& id,
                                    VARIANT& result)
{
    CCallArguments args;
    argDesc = ArgumentsFor(step, args);
    std::wstring name = step.name;
    LPOLESTR names[] = {name.data()};
    HRESULT hr = external->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
    if (FAILED(hr) || id == DISPID_UNKNOWN) {
        return hr;
    }
    DISPPARAMS params = args.Params();
    EXCEPINFO exception{};
    UINT argError = 0;
    hr = external->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, &result, &exception, &argError);
    ::SysFreeString(exception.bstrSource);
    ::SysFreeString(exception.bstrDescription);
    ::SysFreeString(exception.bstrHelpFile);
    return hr;
}

void CPageScript::ShowScriptError(IUnknown* document)
{
    ComPtr<IOleCommandTarget> target;
    if (m_handler) {
        m_handler.As(&target);
    }
    if (!target && m_clientSite) {
        m_clientSite.As(&target);
    }
    if (!target) {
        CRecordFile::Append({L"scripterror", L"hr=" + CRecordFile::Hex(E_NOINTERFACE), L"out=empty:"});
        return;
    }
    VARIANT in;
    in.vt = VT_UNKNOWN;
    in.punkVal = document;
    VARIANT out;
    ::VariantInit(&out);
    const HRESULT hr = target->Exec(&CGID_DocHostCommandHandler, OLECMDID_SHOWSCRIPTERROR, 0, &in, &out);
    CRecordFile::Append({L"scripterror", L"hr=" + CRecordFile::Hex(hr), L"out=" + Describe(out)});
    ::VariantClear(&out);
}

} // namespace wxlmportal
