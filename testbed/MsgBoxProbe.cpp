// msgbox_probe.exe <text> [--from <exe>]
// Shows the launcher's message box with the given text over a light full-screen owner, the way the
// launcher shows it, until one of its buttons is clicked (which closes the owner too) or the
// process is ended. --from takes the skin resources from another program (wxlm_main.exe).
// Exit codes: the box's result code; 3 when the resources cannot be loaded.

#include "CustomMsgBox.h"
#include "ProbeSetup.h"

#include "core/Shadow.h"

#include <windows.h>
#include <shellapi.h>

#include <string>

using namespace Tarvo;

int WINAPI wWinMain(HINSTANCE hInstance, HINSTANCE, LPWSTR, int)
{
    int argc = 0;
    LPWSTR* argv = ::CommandLineToArgvW(::GetCommandLineW(), &argc);
    const std::wstring text = argc > 1 ? argv[1] : L"";
    std::wstring from;
    for (int i = 2; i + 1 < argc; ++i) {
        if (std::wstring(argv[i]) == L"--from") {
            from = argv[i + 1];
        }
    }
    ::LocalFree(argv);

    CWindowManagerUI::SetInstance(hInstance);
    if (!from.empty() && !UseResourcesFrom(from)) {
        return 3;
    }
    CShadowUI::Initialize(hInstance);
    return ShowCustomMsgBox(CreateBackdrop(hInstance, L"MsgBoxProbe"), text);
}
