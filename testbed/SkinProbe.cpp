// skin_probe.exe <zip resource id> [document] [--from <exe>] [--stay] [--backdrop] [--handshake <name>]
// Opens a skinned window whose skin comes from one of this program's "ZIPRES" resources, the way
// the launcher opens its windows, paints it once and ends. Exit codes: 0 built and painted, 2 the
// window has no skin (a zip resource that is missing or empty), 3 no window; a skin that cannot be
// built, or a zip resource that is no readable archive, shows the framework's message box and
// ends with 1. With --stay the window
// stays until it is closed; --backdrop puts a light full-screen window behind it, so that a
// screenshot shows the shadow; --from takes the resources from another program (wxlm_main.exe).

#include "Handshake.h"
#include "ProbeSetup.h"

#include "core/Shadow.h"
#include "core/StartupMarks.h"
#include "core/WindowImplBase.h"

#include <windows.h>
#include <shellapi.h>

#include <string>

using namespace Tarvo;

namespace {

class CProbeWindow : public WindowImplBase {
public:
    CProbeWindow(std::wstring resourceId, std::wstring document)
        : m_resourceId(std::move(resourceId)), m_document(std::move(document))
    {
    }

    LPCWSTR WindowClassName() const override { return L"TarvoSkinProbe"; }
    CUIString SkinFolder() override { return L""; }
    CUIString SkinFile() override { return m_document.c_str(); }
    UISkinSourceKind SkinSourceKind() const override { return SkinFromZipResource; }
    CUIString SkinResourceId() override { return m_resourceId.c_str(); }
    void OnFinalWindowMessage(HWND hWnd) override
    {
        WindowImplBase::OnFinalWindowMessage(hWnd);
        ::PostQuitMessage(0);
    }
    CWindowManagerUI& Manager() { return m_pm; }

private:
    std::wstring m_resourceId;
    std::wstring m_document;
};

std::string StartupMarks()
{
    std::string marks;
    for (int i = 0; i < CStartupMarksUI::Count(); ++i) {
        const std::wstring name = CStartupMarksUI::Name(i);
        marks += StartupMark(std::string(name.begin(), name.end()).c_str(), CStartupMarksUI::Ticks(i));
    }
    return marks;
}

} // namespace

int WINAPI wWinMain(HINSTANCE hInstance, HINSTANCE, LPWSTR, int)
{
    CStartupMarksUI::Mark(L"entry point");
    int argc = 0;
    LPWSTR* argv = ::CommandLineToArgvW(::GetCommandLineW(), &argc);
    const std::wstring resourceId = argc > 1 ? argv[1] : L"134";
    const std::wstring document = argc > 2 && argv[2][0] != L'-' ? argv[2] : L"GameLoader.xml";
    bool bStay = false;
    bool bBackdrop = false;
    std::wstring from;
    for (int i = 2; i < argc; ++i) {
        bStay |= std::wstring(argv[i]) == L"--stay";
        bBackdrop |= std::wstring(argv[i]) == L"--backdrop";
        if (std::wstring(argv[i]) == L"--from" && i + 1 < argc) {
            from = argv[++i];
        }
    }
    ::LocalFree(argv);

    CWindowManagerUI::SetInstance(hInstance);
    if (!from.empty() && !UseResourcesFrom(from)) {
        return 3;
    }
    CShadowUI::Initialize(hInstance);
    if (bBackdrop) {
        CreateBackdrop(hInstance, L"");
    }
    CProbeWindow window(resourceId, document);
    if (window.Create(nullptr, L"SkinProbe", WS_POPUP | WS_VISIBLE, 0, 0, 0, 0, 0) == nullptr) {
        return 3;
    }
    CStartupMarksUI::Mark(L"window shown");
    if (window.Manager().Root() == nullptr) {
        ::DestroyWindow(window.WindowHandle());
        return 2;
    }
    window.CenterWindow();
    ::UpdateWindow(window.WindowHandle());
    HandshakeIfAsked(StartupMarks());
    if (!bStay) {
        ::DestroyWindow(window.WindowHandle());
        return 0;
    }
    CWindowManagerUI::RunMessageLoop();
    return 0;
}
