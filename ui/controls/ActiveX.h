#pragma once

#include <windows.h>
#include <ole2.h>
#include <ocidl.h>
#include <wrl/client.h>

#include "controls/Control.h"
#include "core/MessageFilter.h"

namespace Tarvo {

class CActiveXCtrl;

// The key messages from WM_KEYDOWN to WM_UNICHAR.
inline bool IsUIKeyMessage(UINT uMsg)
{
    return uMsg >= 0x100 && uMsg <= 0x109;
}

// Places an OLE object inside a skinned window as if it were a windowless control: creates it,
// acts as its client site and in-place site, keeps its extent and rectangle on the control's
// and shows or hides it with the control. Windowless objects are drawn here and get their input
// through the control's message filter.
class CActiveXUI : public CControlUI, public IMessageFilterUI {
public:
    CActiveXUI();
    ~CActiveXUI() override;

    const wchar_t* TypeName() const override;
    void* LookupInterface(const wchar_t* pstrName) override;
    void SetPosition(RECT rc) override;
    void SetVisible(bool bVisible = true) override;
    void SetAncestorVisible(bool bVisible) override;
    void Paint(HDC hDC, const RECT& rcPaint) override;
    void ApplyAttribute(const wchar_t* pstrName, const wchar_t* pstrValue) override;
    virtual void ReleaseHostedObject(); // 77
    virtual bool CreateHostedObject();  // 78

    // Windowless objects only: the filter is installed while one is active in place.
    LRESULT FilterMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled) override;

    // QueryInterface on the hosted object; null (E_NOINTERFACE) when nothing has been created.
    HRESULT QueryHostedObject(REFIID iid, void** ppv) const;

    CLSID ClassId() const { return m_clsid; }
    // GUID_NULL is ignored; another class is created anew (at once without delayed creation).
    void SetClassId(REFCLSID clsid);
    CUIString ModuleName() const { return m_strModuleName; }
    void SetModuleName(const wchar_t* pstrModule) { m_strModuleName = pstrModule; }
    bool IsDelayCreate() const { return m_bDelayCreate; }
    // Turning delayed creation off creates a chosen class at once when nothing exists yet.
    void SetDelayCreate(bool bDelayCreate);
    bool IsCreated() const { return m_bCreated; }
    // The window the object draws into: the manager's for a windowless object, else the host window.
    HWND HostWindow() const { return m_hwndHost; }

protected:
    HWND ManagerWindow() const;
    bool HasHostedObject() const { return static_cast<bool>(m_pUnk); }
    // Advises (or unadvises) the sink on the hosted object's connection point for the event
    // interface; E_PENDING without an object, S_FALSE when connected already (a second
    // registration would leave the object a sink it is never told to drop), else the first
    // failing result. The cookie is 0 whenever no connection stands.
    HRESULT ConnectHostedEvents(REFIID iidEvents, IUnknown* pSink, DWORD& dwCookie, bool bConnect) const;
    // A later placement may create the object again.
    void AllowRecreation() { m_bCreated = false; }

private:
    friend class CActiveXCtrl;

    Microsoft::WRL::ComPtr<IOleObject> InstantiateObject() const;
    Microsoft::WRL::ComPtr<IUnknown> InstantiateFromModule() const;
    bool InitializeObject(DWORD dwMiscStatus);
    bool ActivateObject(DWORD dwMiscStatus);
    void AbandonObject();
    void DetachSite();
    void ApplyExtent();
    // The rectangle the object is told: item rectangle, at the origin of its own host window.
    RECT ObjectRect() const;
    void MoveHostWindow(HWND hwndHost) const;
    void PlaceObject();
    void ShowHostWindow();
    void InstallMessageFilter();
    void RemoveMessageFilter();
    bool WantsMessage(UINT uMsg, LPARAM lParam) const;
    bool HitsObject(UINT uMsg, LPARAM lParam) const;

    CLSID m_clsid = GUID_NULL;
    CUIString m_strModuleName;
    bool m_bCreated = false;
    // Set while the object closes: focus that the closing object's windows hand back to the host
    // window must not activate it again.
    bool m_bClosing = false;
    bool m_bDelayCreate = true;
    Microsoft::WRL::ComPtr<IOleObject> m_pUnk;
    Microsoft::WRL::ComPtr<CActiveXCtrl> m_pControl;
    HWND m_hwndHost = nullptr;
    // The manager holding the message filter: the control may be detached by the time it goes.
    CWindowManagerUI* m_pFilterManager = nullptr;
};

} // namespace Tarvo
