#include "GameCommandLine.h"
#include "GameStart.h"

#include "TestFiles.h"
#include "TestPaths.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <sstream>
#include <string>
#include <vector>

using namespace wxlmtest;

namespace {

// Starts the stand-in game the way the launcher does and returns the arguments it split from
// its own command line (program path dropped), as it recorded them.
std::vector<std::string> ArgumentsTheGameSaw(const std::wstring& commandLine)
{
    TempDir dir;
    const std::wstring log = dir / L"game.log";
    SetEnvironmentVariableW(L"WXLM_FAKE_GAME_LOG", log.c_str());
    const bool started = StartGameElevated(TestbedPath(L"wxlm.exe"), commandLine);
    SetEnvironmentVariableW(L"WXLM_FAKE_GAME_LOG", nullptr);
    EXPECT_TRUE(started);
    EXPECT_TRUE(WaitUntil([&] { return ReadFileBytes(log).value_or("").find("end\n") != std::string::npos; }));
    std::vector<std::string> arguments;
    std::istringstream lines(ReadFileBytes(log).value_or(""));
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind("arg ", 0) != 0)
            continue;
        const size_t text = line.find(' ', 4);
        if (line.compare(4, text - 4, "0") != 0)
            arguments.push_back(line.substr(text + 1));
    }
    return arguments;
}

TEST(GameStartTest, TheGameSplitsPageValuesBackIntoTheirOwnArguments)
{
    LaunchParams params;
    params.source = L"QV";
    params.token = L"tok \"--typeMode=9\" x";
    params.qvext = L"C:\\dir with blank\\";
    params.gameMgrId = L"5566";
    params.winid = L"1234";
    params.typeMode = L"\x6e38\x00e9\t\\\\\"";
    const std::vector<std::string> expected = {
        "--source=QV",
        "--token=tok \"--typeMode=9\" x",
        "--qvext=C:\\dir with blank\\",
        "--winid=5566",
        "--typeMode=" + Narrow(L"\x6e38\x00e9\t\\\\\""),
    };
    EXPECT_EQ(ArgumentsTheGameSaw(BuildGameCommandLine(params)), expected);
}

TEST(GameStartTest, AnOrdinaryCommandLineReachesTheGameAsWritten)
{
    LaunchParams params;
    params.source = L"QV";
    params.token = L"abc123";
    const std::vector<std::string> expected = {"--source=QV", "--token=abc123"};
    EXPECT_EQ(ArgumentsTheGameSaw(BuildGameCommandLine(params)), expected);
}

} // namespace
