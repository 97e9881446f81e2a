#pragma once

#include <windows.h>

#include <string>

namespace guitest {

// wxlm_main.exe as the resource module for the scope, with the resource settings clean before and
// after, so that skins come out of the launcher's own "ZIPRES" 130.
class LauncherResources {
public:
    LauncherResources();
    ~LauncherResources();
    LauncherResources(const LauncherResources&) = delete;
    LauncherResources& operator=(const LauncherResources&) = delete;

    HMODULE Module() const { return m_hModule; }

private:
    static void Reset();

    HMODULE m_hModule;
};

// The launcher's process-wide log file, in the client's Log folder, as the launcher's own code
// writes it from this process.
std::wstring LauncherLogPath();

} // namespace guitest
