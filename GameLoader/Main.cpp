#include <windows.h>
#include <objbase.h>

#include <string>

#include "Common.h"
#include "GameExitNotice.h"
#include "LauncherInstance.h"
#include "LaunchParams.h"
#include "LoaderMessages.h"
#include "Logger.h"
#include "ScopedHandle.h"

namespace {

// Another launcher of this login runs: bring its window forward and leave its
// command line unread. The caller does not own the mutex, so the release is a no-op.
void ActivateRunningLauncher(HANDLE mutex)
{
    LOG_INFO("wWinMain", L"CreateMutex ERROR_ALREADY_EXISTS:" << MutexName);
    const HWND window = FindWindowW(nullptr, WindowTitle);
    if (IsWindow(window)) {
        LOG_INFO("wWinMain", L"FindWindow:" << WindowTitle);
        PostMessageW(window, WM_LOADER_ACTIVATE, 0, 0);
    }
    ReleaseMutex(mutex);
}

// The framework's resource settings, the shadow window class, the hidden
// GameLoaderWnd and the message loop that runs until it is gone. They arrive
// with the framework and the main window; until then start-up ends here.
void RunMainWindow(HINSTANCE instance, const std::wstring& commandText)
{
    (void)instance;
    (void)commandText;
}

void RunLauncher(HINSTANCE instance)
{
    Logger::initializePathDir();
    LOG_INFO("wWinMain", L"Logger::initializePathDir:" << MultiToWide(Logger::pathDir(), CP_ACP));

    // Held open until the process ends so that the name exists as long as this launcher does.
    const UniqueHandle mutex(CreateMutexW(nullptr, TRUE, MutexName));
    if (GetLastError() == ERROR_ALREADY_EXISTS) {
        ActivateRunningLauncher(mutex.Get());
        return;
    }
    ReleaseMutex(mutex.Get());
    LOG_INFO("wWinMain", L"CreateMutex not ERROR_ALREADY_EXISTS:" << MutexName);

    std::wstring commandText;
    if (!ParseCmdParam(commandText)) {
        LOG_ERROR("wWinMain", L"ParseCmdParam false");
        return;
    }
    if (IsGameExit(commandText))
        return;
    if (FAILED(CoInitialize(nullptr))) {
        LOG_ERROR("wWinMain", L"CoInitialize false");
        return;
    }
    RunMainWindow(instance, commandText);
    CoUninitialize();
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int)
{
    g_hInstance = instance;
    try {
        RunLauncher(instance);
    } catch (...) {
        // Only allocation can throw this far; the platform client expects 0 whatever happened.
    }
    return 0;
}
