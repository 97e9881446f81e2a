#pragma once

#include "CountedObject.h"
#include "Scenario.h"

#include <mshtmhst.h>

namespace wxlmportal {

// What the page's document and script do to the host, through the UI handler the host gave
// the document (or, without one, its client site's).
class CPageScript {
public:
    CPageScript(IDocHostUIHandler* documentHandler, IOleClientSite* clientSite);

    void ReadHostInfo();
    // GetExternal, then GetIDsOfNames and Invoke as a script engine calls a method.
    void Call(const ScriptStep& step);
    void ShowScriptError(IUnknown* document);

private:
    HRESULT InvokeExternal(IDispatch* external, const ScriptStep& step, std::wstring& argDesc, DISPID& id,
                           VARIANT& result);

    ComPtr<IDocHostUIHandler> m_handler;
    ComPtr<IOleClientSite> m_clientSite;
};

} // namespace wxlmportal
