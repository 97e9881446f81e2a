#pragma once

#include <string>

// The desktop shortcut to the installed launcher. COM must be initialised on
// the calling thread. Every failure is silent.

// Saves a shortcut to target (no arguments, working folder = the target's
// folder, icon = the target's first icon). True when the file was saved.
bool CreateShellLink(const std::wstring& linkPath, const std::wstring& target);

// <installDir>\wxlm_main.exe: what the shortcut starts and the uninstall entry shows.
std::wstring GetInstalledLauncherPath(const std::wstring& installDir);

// <desktop>\Orvendale.lnk
std::wstring GetDesktopShortcutPath();

void DeleteDesktopShortcut();

// Makes the shortcut unless the platform client itself started us (source "QV").
void CreateDesktopShortcut(const std::wstring& installDir, const std::wstring& source);
