// The desktop shortcut needs the shell's COM objects, which a Linux program has not: the
// install registration is linked against these instead. Only the launcher path is used by a
// harness; it is the documented "<installDir>\<game id>_main.exe".
#include "ShellLink.h"

#include "Common.h"

std::wstring GetInstalledLauncherPath(const std::wstring& installDir)
{
    return installDir + L"\\" + GameId + L"_main.exe";
}

void DeleteDesktopShortcut() {}

void CreateDesktopShortcut(const std::wstring&, const std::wstring&) {}
