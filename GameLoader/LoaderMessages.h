#pragma once

#include <windows.h>

// Window messages the launcher's main window handles.
constexpr UINT WM_LOADER_TRAY_NOTIFY = WM_USER + 102;
constexpr UINT WM_LOADER_PAGE_LOADED = WM_USER + 104;
constexpr UINT WM_LOADER_MINIMIZE = WM_USER + 105;
constexpr UINT WM_LOADER_CLOSE = WM_USER + 106;
constexpr UINT WM_LOADER_OPEN_GAME = WM_USER + 107; // wParam: an owned narrow string with the page's JSON
constexpr UINT WM_LOADER_DRAG = WM_USER + 108;
constexpr UINT WM_LOADER_ACTIVATE = WM_USER + 109;
constexpr UINT WM_LOADER_FILES_RELEASED = WM_USER + 110;
constexpr UINT WM_LOADER_NETWORK_STATE = WM_USER + 111;
constexpr UINT WM_LOADER_PROGRESS = WM_USER + 112;
constexpr UINT WM_LOADER_NAVIGATE_FAILED = WM_USER + 113;

// Messages posted to the game manager's window.
constexpr UINT WM_GAMEMGR_LAUNCH_FAILED = WM_USER + 323;
constexpr UINT WM_GAMEMGR_LOADER_READY = WM_USER + 324;

static_assert(WM_LOADER_TRAY_NOTIFY == 1126 && WM_LOADER_ACTIVATE == 1133 && WM_LOADER_NAVIGATE_FAILED == 1137);
static_assert(WM_GAMEMGR_LAUNCH_FAILED == 1347 && WM_GAMEMGR_LOADER_READY == 1348);
