#include "GameExePath.h"

#include "Common.h"
#include "InstallRegistration.h"

std::wstring GameExePathFor(const std::wstring& gameId)
{
    std::wstring path = GetRegisteredInstallDir(gameId);
    if (path.empty())
        path = GetModuleDir() + L"\\";
    return path + gameId + L".exe";
}
