#include "PortalDocument.h"

#include "RecordFile.h"

namespace wxlmportal {

STDMETHODIMP CPortalDocument::QueryInterface(REFIID riid, void** ppv)
{
    if (ppv != nullptr && riid == IID_ICustomDoc) {
        *ppv = static_cast<ICustomDoc*>(this);
        AddRef();
        return S_OK;
    }
    return CPlainDispatch::QueryInterface(riid, ppv);
}

STDMETHODIMP CPortalDocument::SetUIHandler(IDocHostUIHandler* handler)
{
    CRecordFile::Append({L"method", L"ICustomDoc::SetUIHandler", handler != nullptr ? L"handler" : L"null"});
    m_uiHandler = handler;
    return S_OK;
}

} // namespace wxlmportal
