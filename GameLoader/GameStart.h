#pragma once

#include <string>

// Starts the game elevated (verb "runas") and returns once the system has answered the
// elevation prompt; nothing waits for the game. False when the start failed or was declined.
bool StartGameElevated(const std::wstring& exePath, const std::wstring& commandLine);
