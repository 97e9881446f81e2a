#pragma once

#include <windows.h>

#include <chrono>
#include <optional>
#include <string>

namespace wxlmtest {

// One argument quoted so that CommandLineToArgvW gives it back unchanged.
std::wstring QuoteArgument(const std::wstring& argument);

// The outcome of one run of wxlm_main.exe.
struct LauncherRun {
    std::optional<DWORD> exitCode; // nothing when it did not end in time
    int windowsCreated = 0;        // windows the process created while it ran
};

// Starts wxlm_main.exe with commandTail and waits for its end, counting the
// windows it creates meanwhile.
LauncherRun RunLauncher(const std::wstring& commandTail, std::chrono::milliseconds timeout = std::chrono::seconds(30));

// The same for any program; with endAtFirstWindow it is ended as soon as it has made a window.
LauncherRun RunWatched(const std::wstring& exe, const std::wstring& commandTail, std::chrono::milliseconds timeout,
                       bool endAtFirstWindow);

} // namespace wxlmtest
