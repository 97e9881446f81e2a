// The launcher's command line: split, turned into the command text, and that text read back.
#include "FuzzText.h"
#include "JsonText.h"
#include "LaunchParams.h"

#include <port/include/wxlm_port.h>

#include <cstdlib>
#include <cstdio>

namespace {

std::wstring SettingPath()
{
    const std::string dir = wxlm_port::LocalAppDataDir();
    return std::wstring(dir.begin(), dir.end()) + L"\\setting.xml";
}

int ArgumentCount(const std::wstring& commandLine)
{
    int count = 0;
    LocalFree(CommandLineToArgvW(commandLine.c_str(), &count));
    return count;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::wstring commandLine = FuzzWideText(data, size);
    std::wstring commandText;
    if (!ParseCmdParam(commandLine, commandText))
        return 0;
    // Options (anything but one lone argument) always come out as a JSON object, or as null
    // when no argument holds one.
    if (ArgumentCount(commandLine) != 2) {
        Json::Value root;
        if (!ParseJsonText(commandText, root) || !(root.isObject() || root.isNull())) {
            std::fprintf(stderr, "the options' command text is neither a JSON object nor null\n");
            std::abort();
        }
    }
    LaunchParams params;
    ParseCmdJson(commandText, params, SettingPath());
    return 0;
}
