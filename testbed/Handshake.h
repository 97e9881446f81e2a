#pragma once

// For the start-up benchmark: with "--handshake <name>" on the command line a program signals the
// event "<name>-ready" once it has painted and then waits (at most 30 s) for "<name>-release", so
// that the benchmark can read the live process's peak working set. Before signalling it writes the
// moments of its start, one "<what>\t<performance counter>" line each, to "%TEMP%\<name>.marks".

#include <windows.h>
#include <shellapi.h>

#include <string>

inline void WriteStartupMarks(const std::wstring& name, const std::string& marks)
{
    wchar_t szTemp[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, szTemp);
    const HANDLE hFile = ::CreateFileW((szTemp + name + L".marks").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                       FILE_ATTRIBUTE_NORMAL, nullptr);
    if (hFile == INVALID_HANDLE_VALUE) {
        return;
    }
    DWORD written = 0;
    ::WriteFile(hFile, marks.data(), static_cast<DWORD>(marks.size()), &written, nullptr);
    ::CloseHandle(hFile);
}

// One line of the marks file.
inline std::string StartupMark(const char* pstrWhat, LONGLONG ticks)
{
    return std::string(pstrWhat) + "\t" + std::to_string(ticks) + "\n";
}

inline std::string StartupMarkNow(const char* pstrWhat)
{
    LARGE_INTEGER now;
    ::QueryPerformanceCounter(&now);
    return StartupMark(pstrWhat, now.QuadPart);
}

inline void HandshakeIfAsked(const std::string& marks = {})
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
        WriteStartupMarks(name, marks);
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
