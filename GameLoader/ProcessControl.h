#pragma once

#include <windows.h>

#include <string>

// Finding and ending the game's process by its executable name.
// Free functions without state; failures are logged and returned as results.

constexpr DWORD kNoProcessId = 0xFFFFFFFF;

// The id of the first process (after the snapshot's first entry) whose
// executable file name equals name exactly, letter case included; kNoProcessId if none.
DWORD GetProcessIdByName(const std::wstring& name);

// Terminates the process, enabling the debug privilege when a plain open is refused.
bool KillProcess(DWORD processId);

// Ends the first process of each general-process name; falls back to "taskkill".
void KillGeneralProcess();

bool GeneralProcessExist();

// While the game runs: end it and wait a second, at most 30 passes.
void StopGameProcess();
