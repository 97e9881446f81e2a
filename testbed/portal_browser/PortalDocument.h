#pragma once

#include "PlainDispatch.h"

#include <mshtmhst.h>

namespace wxlmportal {

// The document of one navigation: it takes the host's UI handler (ICustomDoc::SetUIHandler),
// which the page's script and the host-info query then use.
class CPortalDocument : public CPlainDispatch, public ICustomDoc {
public:
    static ComPtr<CPortalDocument> Create() { return AdoptNew(new CPortalDocument()); }

    IDocHostUIHandler* UIHandler() const { return m_uiHandler.Get(); }

    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
    STDMETHODIMP_(ULONG) AddRef() override { return CPlainDispatch::AddRef(); }
    STDMETHODIMP_(ULONG) Release() override { return CPlainDispatch::Release(); }

    STDMETHODIMP SetUIHandler(IDocHostUIHandler* handler) override;

private:
    CPortalDocument() : CPlainDispatch(L"document") {}

    ComPtr<IDocHostUIHandler> m_uiHandler;
};

} // namespace wxlmportal
