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
#include "CommandLineLog.h"

#include <string>

namespace {

bool ShouldStay(int argc, wchar_t** argv)
{
    for (int i = 1; i < argc; ++i)
        if (std::wstring(argv[i]) == L"--stay")
            return true;
    return GetFileAttributesW((testbed::ModuleDir() + L"\\wxlm_fake_game.stay").c_str()) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    int argc = 0;
    wchar_t** argv = testbed::RecordCommandLine(testbed::LogPath(L"WXLM_FAKE_GAME_LOG", L"wxlm_fake_game.log"), argc);
    const bool stay = argv && ShouldStay(argc, argv);
    LocalFree(argv);
    if (stay)
        Sleep(INFINITE);
    return 0;
}
