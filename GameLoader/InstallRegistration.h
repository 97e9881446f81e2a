#pragma once

#include <string>

// The game's per-user uninstall entry, HKCU\...\Uninstall\<game id>.
// Every registry failure is silent: reads give "", writes stop.

// The folder of the entry's "DisplayIcon", with its trailing "\"; "" if unreadable.
std::wstring GetRegisteredInstallDir(const std::wstring& gameId);

// The entry's "FileParam" text (written by another program), or "".
std::wstring GetBagFileParam(const std::wstring& gameId);

// Deletes the shortcut and the whole entry, then writes both anew.
void RefreshInstallRegistration(const std::wstring& installDir, const std::wstring& source);

// Writes the entry's five values; stops at the first value that fails.
void WriteUninstallEntry(const std::wstring& installDir);
