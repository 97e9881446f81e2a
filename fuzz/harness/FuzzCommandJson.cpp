// The command text (JSON) as the main window reads it into the launch parameters, and the
// game's command line built from them, split back by the documented CommandLineToArgvW rules.
#include "FuzzText.h"
#include "GameArguments.h"
#include "LaunchParams.h"

#include <port/include/wxlm_port.h>

namespace {

std::wstring SettingPath()
{
    const std::string dir = wxlm_port::LocalAppDataDir();
    return std::wstring(dir.begin(), dir.end()) + L"\\setting.xml";
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    LaunchParams params;
    ParseCmdJson(FuzzWideText(data, size), params, SettingPath());
    CheckGameCommandLine(params);
    return 0;
}
