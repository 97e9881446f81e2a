#pragma once

#include <windows.h>

// Cookies of an installed game's portal stay in memory: with installed = 1 the process-wide
// WinINet option INTERNET_OPTION_SUPPRESS_BEHAVIOR (81) is set to
// INTERNET_SUPPRESS_COOKIE_PERSIST (3), so persistent cookies live only as long as the process.
// Any other value leaves the option alone. The setter is InternetSetOptionW unless a test gives
// its own. True when the option was set.
using InternetOptionSetter = BOOL(WINAPI*)(void* internet, DWORD option, void* buffer, DWORD length);
bool ApplyCookieRule(int installed, InternetOptionSetter setter = nullptr);
