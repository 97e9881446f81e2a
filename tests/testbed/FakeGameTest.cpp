#include <gtest/gtest.h>

#include "ChildProcess.h"
#include "TestFiles.h"
#include "TestPaths.h"

using namespace wxlmtest;

namespace {

std::string RunFakeGame(const TempDir& dir, const std::wstring& tail)
{
    const std::wstring log = dir / L"game.log";
    SetEnvironmentVariableW(L"WXLM_FAKE_GAME_LOG", log.c_str());
    const auto code = RunToEnd(TestbedPath(L"wxlm.exe"), tail);
    SetEnvironmentVariableW(L"WXLM_FAKE_GAME_LOG", nullptr);
    EXPECT_EQ(code, 0u);
    return ReadFileBytes(log).value_or("");
}

}  // namespace

TEST(FakeGame, RecordsRawAndSplitCommandLine)
{
    TempDir dir;
    const std::string log = RunFakeGame(dir, L"--source=QV --token=\"a b\" --x=\xe9");
    const std::string exe = Narrow(TestbedPath(L"wxlm.exe"));
    EXPECT_EQ(log, "raw \"" + exe + "\" --source=QV --token=\"a b\" --x=\xc3\xa9\n"
                   "arg 0 " + exe + "\n"
                   "arg 1 --source=QV\n"
                   "arg 2 --token=a b\n"
                   "arg 3 --x=\xc3\xa9\n"
                   "end\n");
}

TEST(FakeGame, StaysRunningUntilEndedWhenAsked)
{
    TempDir dir;
    const std::wstring log = dir / L"game.log";
    SetEnvironmentVariableW(L"WXLM_FAKE_GAME_LOG", log.c_str());
    ChildProcess game;
    ASSERT_TRUE(game.Start(TestbedPath(L"wxlm.exe"), L"--stay"));
    SetEnvironmentVariableW(L"WXLM_FAKE_GAME_LOG", nullptr);
    ASSERT_TRUE(WaitUntil([&] { return ReadFileBytes(log).value_or("").find("end\n") != std::string::npos; }));
    EXPECT_FALSE(game.Wait(std::chrono::milliseconds(300)).has_value());
    game.Kill();
    EXPECT_FALSE(game.IsRunning());
}
