#pragma once

#include "core/ResourceSettings.h"

namespace wxlmtest {

// The process-wide resource settings with nothing configured, now and again at the end of the scope.
class ScopedResourceSettings {
public:
    ScopedResourceSettings() { Reset(); }
    ~ScopedResourceSettings() { Reset(); }
    ScopedResourceSettings(const ScopedResourceSettings&) = delete;
    ScopedResourceSettings& operator=(const ScopedResourceSettings&) = delete;

    static void Reset()
    {
        Tarvo::CResourceSettingsUI::ReleaseZip();
        Tarvo::CResourceSettingsUI::SetResourcePath(L"");
        Tarvo::CResourceSettingsUI::SetResourceInstance(nullptr);
        Tarvo::CResourceSettingsUI::SetInstance(nullptr);
    }
};

} // namespace wxlmtest
