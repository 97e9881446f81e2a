#pragma once

#include <windows.h>

#include <string>

// Build-time identity of the launcher.
inline constexpr wchar_t GameId[] = L"wxlm";
inline constexpr wchar_t WindowTitle[] = L"Orvendale";
inline constexpr wchar_t MutexName[] = L"wxlm_main.exe";

// Text conversion; empty input, or a failed conversion, gives empty output.
std::wstring MultiToWide(const std::string& text, UINT codePage = CP_ACP);
std::string WideToMulti(const std::wstring& text, UINT codePage = CP_ACP);

// A window handle written as decimal text: leading blanks and a sign allowed, digits up to the
// first other character, 0 when there are none. Nothing checks that the window exists.
HWND HandleFromDecimal(const std::wstring& text);

// Folders without a trailing separator; empty when the lookup fails.
std::wstring GetModuleDir();
std::wstring GetDesktopDir();
std::wstring GetProgramFilesX86Dir();
std::wstring GetLocalAppDataDir();
