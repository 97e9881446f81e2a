#pragma once

#include <windows.h>

#include <string>

// The portal page's one request entry (window.external.g_callCppFunc): text is a JSON object whose
// member "funcation_name" names the request. A known request posts its message to mainWnd; anything
// else is ignored. The reply is always "{}".
std::wstring CallCppFunc(HWND mainWnd, const std::wstring& text);
