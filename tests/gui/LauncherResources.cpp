#include "LauncherResources.h"

#include "Common.h"
#include "Logger.h"
#include "core/ResourceSettings.h"

#include "TestPaths.h"

namespace guitest {

using Tarvo::CResourceSettingsUI;

LauncherResources::LauncherResources()
    : m_hModule(::LoadLibraryExW(wxlmtest::MainExePath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE))
{
    Reset();
    CResourceSettingsUI::SetResourceInstance(m_hModule);
}

LauncherResources::~LauncherResources()
{
    Reset();
    if (m_hModule != nullptr) {
        ::FreeLibrary(m_hModule);
    }
}

void LauncherResources::Reset()
{
    CResourceSettingsUI::ReleaseZip();
    CResourceSettingsUI::SetResourcePath(L"");
    CResourceSettingsUI::SetResourceInstance(nullptr);
}

std::wstring LauncherLogPath()
{
    static const bool initialised = (Logger::initializePathDir(), true);
    (void)initialised;
    return MultiToWide(Logger::instance().fileName());
}

} // namespace guitest
