#pragma once

#include <windows.h>

// The launcher's module instance, kept by start-up for the main window's icon
// and the framework's resource lookups.
inline HINSTANCE g_hInstance = nullptr;
