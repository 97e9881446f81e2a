// The game-exit notice text of a second start, with a settings file that names a window.
#include "FuzzText.h"
#include "ClientSettings.h"
#include "GameExitNotice.h"

#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    const std::wstring path = GetClientSettingPath();
    WriteClientSetting("loginsource", L"QV", path);
    WriteClientSetting("qvwindowid", L"65535", path);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::wstring text = FuzzWideText(data, size);
    const bool exit = IsGameExit(text);
    if ((text == L"type:1" || text == L"{type:1}" || text == L"{\"type\":1}") && !exit) {
        std::fprintf(stderr, "a game-exit notice was not taken as one\n");
        std::abort();
    }
    return 0;
}
