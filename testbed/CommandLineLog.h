// Shared by the stand-in programs that record how they were started: their command line, as
// CommandLineToArgvW splits it, appended as UTF-8 to a log file.
//   raw <the whole command line>
//   arg <n> <argument n>          (one line per argument)
//   end
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <string>

namespace testbed {

inline std::wstring ModuleDir()
{
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring dir = path;
    return dir.substr(0, dir.find_last_of(L'\\'));
}

inline std::string Utf8(const std::wstring& text)
{
    if (text.empty())
        return {};
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                         nullptr, nullptr);
    std::string out(size, '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), size, nullptr, nullptr);
    return out;
}

// The file named by the environment variable, or the default name beside the program.
inline std::wstring LogPath(const wchar_t* variable, const wchar_t* defaultName)
{
    wchar_t buffer[MAX_PATH * 2] = {};
    if (GetEnvironmentVariableW(variable, buffer, MAX_PATH * 2) > 0)
        return buffer;
    return ModuleDir() + L"\\" + defaultName;
}

inline void AppendToFile(const std::wstring& path, const std::string& text)
{
    HANDLE file = CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return;
    DWORD written = 0;
    WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(file);
}

// Records this process's command line; the split arguments are returned (free with LocalFree).
inline wchar_t** RecordCommandLine(const std::wstring& logPath, int& argc)
{
    const wchar_t* raw = GetCommandLineW();
    argc = 0;
    wchar_t** argv = CommandLineToArgvW(raw, &argc);
    std::string text = "raw " + Utf8(raw) + "\n";
    for (int i = 0; argv && i < argc; ++i)
        text += "arg " + std::to_string(i) + " " + Utf8(argv[i]) + "\n";
    text += "end\n";
    AppendToFile(logPath, text);
    return argv;
}

}  // namespace testbed
