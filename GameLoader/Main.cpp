#include <windows.h>
#include <objbase.h>

#include <new>
#include <string>

#include "Common.h"
#include "GameExitNotice.h"
#include "GameLoaderWnd.h"
#include "LauncherInstance.h"
#include "LaunchParams.h"
#include "LoaderMessages.h"
#include "Logger.h"
#include "ScopedHandle.h"

#include "core/Shadow.h"
#include "core/WindowManager.h"

namespace {

// WS_VISIBLE with WS_OVERLAPPEDWINDOW; the window is hidden right after creation.
constexpr DWORD MainWindowStyle = 0x10CF0000;

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

// The framework's resource settings, the shadow window class, the hidden GameLoaderWnd and the
// message loop that runs until it is gone. The window object deletes itself with its window.
void RunMainWindow(HINSTANCE instance, const std::wstring& commandText)
{
    Tarvo::CWindowManagerUI::SetInstance(instance);
    Tarvo::CShadowUI::Initialize(instance);
    auto* window = new (std::nothrow) GameLoaderWnd(commandText);
    if (!window) {
        LOG_ERROR("wWinMain", L"new GameLoaderWnd false");
        return;
    }
    // Creation builds the skin and runs InitWindow, which may already have started the game and
    // queued the close; the loop then only drains it.
    const HWND hWnd = window->Create(nullptr, WindowTitle, MainWindowStyle, 0, 0, 0, 0, 0);
    if (IsWindow(hWnd)) {
        window->CenterWindow();
        ShowWindow(hWnd, SW_HIDE);
    }
    Tarvo::CWindowManagerUI::RunMessageLoop();
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
