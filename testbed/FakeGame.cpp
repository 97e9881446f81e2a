// Stand-in for the game executable "wxlm.exe".
//
// Appends its command line to the file named by the environment variable
// WXLM_FAKE_GAME_LOG (or "wxlm_fake_game.log" beside itself):
//   raw <the whole command line>
//   arg <n> <argument n as CommandLineToArgvW splits it>   (one line per argument)
//   end
// all as UTF-8. If the command line holds "--stay" or the file
// "wxlm_fake_game.stay" exists beside the executable, it then waits until it is
// ended; otherwise it exits with 0.
#include <windows.h>
#include <shellapi.h>

#include <string>

namespace {

std::wstring ModuleDir()
{
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring dir = path;
    return dir.substr(0, dir.find_last_of(L'\\'));
}

std::string Utf8(const std::wstring& text)
{
    if (text.empty())
        return {};
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                         nullptr, nullptr);
    std::string out(size, '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), size, nullptr, nullptr);
    return out;
}

std::wstring LogPath()
{
    wchar_t buffer[MAX_PATH * 2] = {};
    if (GetEnvironmentVariableW(L"WXLM_FAKE_GAME_LOG", buffer, MAX_PATH * 2) > 0)
        return buffer;
    return ModuleDir() + L"\\wxlm_fake_game.log";
}

void Record(const std::string& text)
{
    HANDLE file = CreateFileW(LogPath().c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return;
    DWORD written = 0;
    WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(file);
}

bool ShouldStay(int argc, wchar_t** argv)
{
    for (int i = 1; i < argc; ++i)
        if (std::wstring(argv[i]) == L"--stay")
            return true;
    return GetFileAttributesW((ModuleDir() + L"\\wxlm_fake_game.stay").c_str()) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    const wchar_t* raw = GetCommandLineW();
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(raw, &argc);
    std::string text = "raw " + Utf8(raw) + "\n";
    for (int i = 0; argv && i < argc; ++i)
        text += "arg " + std::to_string(i) + " " + Utf8(argv[i]) + "\n";
    text += "end\n";
    Record(text);
    const bool stay = argv && ShouldStay(argc, argv);
    LocalFree(argv);
    if (stay)
        Sleep(INFINITE);
    return 0;
}
