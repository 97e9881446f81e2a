#pragma once

// For the start-up benchmark: with "--handshake <name>" on the command line a program signals the
// event "<name>-ready" once it has painted and then waits (at most 30 s) for "<name>-release", so
// that the benchmark can read the live process's peak working set.

#include <windows.h>
#include <shellapi.h>

#include <string>

inline void HandshakeIfAsked()
{
    int argc = 0;
    LPWSTR* argv = ::CommandLineToArgvW(::GetCommandLineW(), &argc);
    std::wstring name;
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::wstring(argv[i]) == L"--handshake") {
            name = argv[i + 1];
        }
    }
    ::LocalFree(argv);
    if (name.empty()) {
        return;
    }
    const HANDLE hReady = ::OpenEventW(EVENT_MODIFY_STATE, FALSE, (name + L"-ready").c_str());
    const HANDLE hRelease = ::OpenEventW(SYNCHRONIZE, FALSE, (name + L"-release").c_str());
    if (hReady != nullptr && hRelease != nullptr) {
        ::SetEvent(hReady);
        ::WaitForSingleObject(hRelease, 30000);
    }
    if (hReady != nullptr) {
        ::CloseHandle(hReady);
    }
    if (hRelease != nullptr) {
        ::CloseHandle(hRelease);
    }
}
