#include "GameArguments.h"

#include "FuzzText.h"
#include "GameCommandLine.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <utility>
#include <vector>

namespace {

std::vector<std::wstring> Split(const std::wstring& commandLine)
{
    int count = 0;
    LPWSTR* arguments = CommandLineToArgvW(commandLine.c_str(), &count);
    std::vector<std::wstring> split(arguments, arguments + count);
    LocalFree(arguments);
    return split;
}

// A process command line ends at its first NUL: a value holding one is cut there.
std::wstring UpToNul(const std::wstring& text)
{
    return text.substr(0, text.find(L'\0'));
}

} // namespace

void CheckGameCommandLine(const LaunchParams& params)
{
    const std::wstring line = BuildGameCommandLine(params);
    std::vector<std::wstring> expected = {L"wxlm.exe", L"--source=" + params.source};
    const std::pair<const wchar_t*, const std::wstring*> optional[] = {
        {L"--tokenLogin=", &params.tokenLogin}, {L"--token=", &params.token},       {L"--qvext=", &params.qvext},
        {L"--winid=", &params.gameMgrId},       {L"--typeMode=", &params.typeMode},
    };
    for (const auto& [prefix, value] : optional) {
        if (!value->empty())
            expected.push_back(prefix + *value);
    }
    for (const std::wstring& piece : expected) {
        if (piece.find(L'\0') != std::wstring::npos)
            return;
    }
    const std::vector<std::wstring> actual = Split(UpToNul(L"wxlm.exe " + line));
    if (actual.size() != expected.size()) {
        std::fprintf(stderr, "game command line splits into %zu arguments, not %zu\n", actual.size(), expected.size());
        std::abort();
    }
    for (size_t i = 0; i < actual.size(); ++i)
        AssertSameText("game argument", expected[i], actual[i]);
}

