// GameLoaderWnd: the portal page in the browser control.
#include "GameLoaderWnd.h"

#include "IeBrowser.h"
#include "Logger.h"
#include "PortalAddress.h"
#include "WebBrowserEvent.h"

#include <exdisp.h>
#include <wrl/client.h>

void GameLoaderWnd::LoadWeb()
{
    constexpr char functionName[] = "GameLoaderWnd::LoadWeb";
    LOG_INFO(functionName, L"GameLoaderWnd LoadWeb");
    if (!m_pBrowser)
        return;
    if (m_pEventSink && m_pBrowser->EventHandler() != m_pEventSink.get())
        m_pBrowser->SetEventHandler(m_pEventSink.get());
    Microsoft::WRL::ComPtr<IWebBrowser2> webBrowser;
    m_pBrowser->QueryHostedObject(IID_PPV_ARGS(&webBrowser));
    if (webBrowser)
        webBrowser->put_Silent(1); // no dialogs of the browser's own (script errors and the like)
    LOG_INFO(functionName, L"fileparam=" << m_strFileParam);
    m_pBrowser->NavigateTo(BuildPortalAddress(m_strFileParam, m_launchParams).c_str());
    m_pBrowser->SetVisible(false);
}
