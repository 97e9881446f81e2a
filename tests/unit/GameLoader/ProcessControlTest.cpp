#include <gtest/gtest.h>

#include <windows.h>
#include <tlhelp32.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "ChildProcess.h"
#include "LogFixture.h"
#include "ProcessActions.h"
#include "ProcessControl.h"
#include "TestFiles.h"
#include "TestPaths.h"

using namespace wxlmtest;

namespace {

const std::string kSearchLine = "Process32Next processName:";

// The executable names of a fresh process snapshot, first entry excluded, with their counts.
std::map<std::string, int> NamesAfterFirstEntry()
{
    std::map<std::string, int> names;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32W entry = {};
    entry.dwSize = sizeof entry;
    if (snapshot != INVALID_HANDLE_VALUE && Process32FirstW(snapshot, &entry))
        while (Process32NextW(snapshot, &entry))
            ++names[Narrow(entry.szExeFile, CP_ACP)];
    if (snapshot != INVALID_HANDLE_VALUE)
        CloseHandle(snapshot);
    return names;
}

std::map<std::string, int> SearchedNames(const std::vector<std::string>& messages)
{
    std::map<std::string, int> names;
    for (const std::string& message : messages)
        if (StartsWith(message, kSearchLine))
            ++names[message.substr(kSearchLine.size())];
    return names;
}

struct Search {
    std::map<std::string, int> running; // the processes a search visits
    std::vector<std::string> messages;  // what the action logged
};

// Runs action until the process list is the same before and after it (Wine
// starts helpers such as winemenubuilder.exe on its own), at most a few times.
template <typename Action> std::optional<Search> SearchWhileTheProcessListHoldsStill(Action action)
{
    for (int attempt = 0; attempt < 5; ++attempt) {
        Search search{NamesAfterFirstEntry(), {}};
        LogCapture log;
        action();
        search.messages = NewMessages(log);
        if (NamesAfterFirstEntry() == search.running)
            return search;
    }
    return std::nullopt;
}

// A game that will not end: terminating it fails until pass `yieldsOnTerminate` (0: never), the
// system's kill command is recorded instead of run and answers runResult, and passes do not wait.
class StubbornGame final : public IProcessActions {
public:
    StubbornGame(UINT runResult, DWORD runError, int yieldsOnTerminate = 0)
        : m_nRunResult(runResult), m_dwRunError(runError), m_nYieldsOnTerminate(yieldsOnTerminate)
    {
    }

    bool Terminate(HANDLE process) override
    {
        if (++terminates != m_nYieldsOnTerminate) {
            SetLastError(ERROR_ACCESS_DENIED);
            return false;
        }
        // Gone for good before the next search, as a real end would be. The handle given here may
        // lack SYNCHRONIZE, so the end is awaited on the test's own handle of the game.
        const bool ended = TerminateProcess(process, 0) != FALSE;
        if (ended && game != nullptr)
            WaitForSingleObject(game, 20000);
        return ended;
    }
    UINT RunHidden(const char* commandLine) override
    {
        commands.emplace_back(commandLine);
        SetLastError(m_dwRunError);
        return m_nRunResult;
    }
    void WaitBetweenPasses() override { ++waits; }

    HANDLE game = nullptr;
    int terminates = 0;
    int waits = 0;
    std::vector<std::string> commands;

private:
    UINT m_nRunResult;
    DWORD m_dwRunError;
    int m_nYieldsOnTerminate;
};

// Stand-ins for running games: the testbed's wxlm.exe, and a copy of it under another name.
class ProcessControlTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetEnvironmentVariableW(L"WXLM_FAKE_GAME_LOG", (m_dir / L"game.log").c_str());
        ASSERT_TRUE(CopyFileW(TestbedPath(L"wxlm.exe").c_str(), (m_dir / L"other_game.exe").c_str(), FALSE));
    }
    void TearDown() override { SetEnvironmentVariableW(L"WXLM_FAKE_GAME_LOG", nullptr); }

    ChildProcess StartGame(const std::wstring& exePath = TestbedPath(L"wxlm.exe"))
    {
        const size_t started = StartedGames();
        ChildProcess game;
        EXPECT_TRUE(game.Start(exePath, L"--stay"));
        // Running once it has recorded its command line.
        EXPECT_TRUE(WaitUntil([&] { return StartedGames() > started; }));
        return game;
    }

    size_t StartedGames() const
    {
        const std::string log = ReadFileBytes(m_dir / L"game.log").value_or("");
        size_t count = 0;
        for (size_t at = log.find("\nend\n"); at != std::string::npos; at = log.find("\nend\n", at + 1))
            ++count;
        return count;
    }

    TempDir m_dir;
    LogCapture m_log;
};

} // namespace

TEST_F(ProcessControlTest, FindsARunningProcessByItsExactNameOnly)
{
    ChildProcess game = StartGame();
    ChildProcess other = StartGame(m_dir / L"other_game.exe");

    EXPECT_EQ(GetProcessIdByName(L"wxlm.exe"), game.Pid());
    EXPECT_EQ(GetProcessIdByName(L"other_game.exe"), other.Pid());
    for (const wchar_t* name : {L"WXLM.EXE", L"Wxlm.exe", L"wxlm.ex", L"wxlm", L"wxlm.exe ", L"xlm.exe"})
        EXPECT_EQ(GetProcessIdByName(name), kNoProcessId) << Narrow(name);
}

TEST_F(ProcessControlTest, EmptyOrOverlongNameFindsNothing)
{
    EXPECT_EQ(GetProcessIdByName(L""), kNoProcessId);
    EXPECT_TRUE(NewMessages(m_log).empty()) << "an empty name is refused before any search";

    ChildProcess game = StartGame();
    const std::wstring overlong = L"wxlm.exe" + std::wstring(292, L'x');
    ASSERT_EQ(overlong.size(), 300u);
    EXPECT_EQ(GetProcessIdByName(overlong), kNoProcessId);
    EXPECT_EQ(GetProcessIdByName(std::wstring(300, L'w')), kNoProcessId);
    EXPECT_TRUE(game.IsRunning());
}

TEST_F(ProcessControlTest, SearchLogsEveryProcessButTheFirstEntry)
{
    const auto search =
        SearchWhileTheProcessListHoldsStill([] { EXPECT_EQ(GetProcessIdByName(L"no_such_game.exe"), kNoProcessId); });
    ASSERT_TRUE(search);
    EXPECT_EQ(SearchedNames(search->messages), search->running);
    EXPECT_EQ(CountStartingWith(search->messages, kSearchLine), search->messages.size()) << "nothing else is logged";
}

TEST_F(ProcessControlTest, KillProcessEndsAnOpenableProcessWithoutALogLine)
{
    ChildProcess game = StartGame();
    EXPECT_TRUE(KillProcess(game.Pid()));
    EXPECT_EQ(game.Wait(), std::optional<DWORD>(0u)) << "terminated with exit code 0";
    EXPECT_TRUE(NewMessages(m_log).empty());
}

TEST_F(ProcessControlTest, KillProcessOfAnUnopenableProcessLogsTheEscalation)
{
    const DWORD noProcess = 0x7FFFFFF0;
    EXPECT_FALSE(KillProcess(noProcess));
    const auto messages = NewMessages(m_log);
    ASSERT_EQ(messages.size(), 3u);
    EXPECT_TRUE(StartsWith(messages[0], "OpenProcess1 2147483632 falsed code:")) << messages[0];
    EXPECT_TRUE(StartsWith(messages[1], "EnableDebugPrivilege 2147483632 ")) << messages[1];
    EXPECT_TRUE(StartsWith(messages[2], "OpenProcess2 2147483632 falsed code:")) << messages[2];
    EXPECT_NE(messages[0], "OpenProcess1 2147483632 falsed code:0") << "the open's own error code";
}

TEST_F(ProcessControlTest, KillGeneralProcessEndsTheGameOnly)
{
    ChildProcess game = StartGame();
    ChildProcess other = StartGame(m_dir / L"other_game.exe");
    KillGeneralProcess();
    EXPECT_TRUE(game.Wait().has_value());
    EXPECT_TRUE(other.IsRunning());
}

TEST_F(ProcessControlTest, KillGeneralProcessWithoutTheGameOnlySearches)
{
    ChildProcess other = StartGame(m_dir / L"other_game.exe");
    const auto search = SearchWhileTheProcessListHoldsStill([] { KillGeneralProcess(); });
    ASSERT_TRUE(search);
    EXPECT_EQ(SearchedNames(search->messages), search->running);
    EXPECT_EQ(CountStartingWith(search->messages, kSearchLine), search->messages.size());
    EXPECT_TRUE(other.IsRunning());
}

TEST_F(ProcessControlTest, GeneralProcessExistReportsTheRunningGame)
{
    EXPECT_FALSE(GeneralProcessExist());
    EXPECT_EQ(CountStartingWith(NewMessages(m_log), "GeneralProcessExist"), 0u);

    ChildProcess game = StartGame();
    LogCapture log;
    EXPECT_TRUE(GeneralProcessExist());
    const auto messages = NewMessages(log);
    ASSERT_FALSE(messages.empty());
    EXPECT_EQ(messages.back(),
              "GeneralProcessExist,GetProcessIdByName wxlm.exe idProcess:" + std::to_string(game.Pid()));
}

TEST_F(ProcessControlTest, StopGameProcessSearchesOnceWhenNoGameRuns)
{
    const auto search = SearchWhileTheProcessListHoldsStill([] { StopGameProcess(); });
    ASSERT_TRUE(search);
    EXPECT_EQ(SearchedNames(search->messages), search->running) << "exactly one search";
    EXPECT_EQ(CountStartingWith(search->messages, "GeneralProcessExist"), 0u);
}

TEST_F(ProcessControlTest, StopGameProcessEndsARunningGame)
{
    ChildProcess game = StartGame();
    ChildProcess other = StartGame(m_dir / L"other_game.exe");
    StopGameProcess();
    EXPECT_FALSE(game.IsRunning());
    EXPECT_TRUE(other.IsRunning());
    const auto messages = NewMessages(m_log);
    EXPECT_GE(CountStartingWith(messages, "GeneralProcessExist,GetProcessIdByName wxlm.exe idProcess:" +
                                              std::to_string(game.Pid())),
              1u);
    EXPECT_EQ(CountStartingWith(messages, "OpenProcess1 "), 0u) << "the game's own process opens at once";
}

TEST_F(ProcessControlTest, KillGeneralProcessFallsBackToTheKillCommandAndLogsWhenItCannotStart)
{
    struct Case {
        UINT runResult;
        DWORD runError;
        std::vector<std::string> logged; // besides the search lines
    };
    const Case cases[] = {
        {33, ERROR_SUCCESS, {}},
        {31, ERROR_SUCCESS, {"KillProcess wxlm.exe falsed code:0"}},
        {ERROR_FILE_NOT_FOUND, ERROR_FILE_NOT_FOUND, {"KillProcess wxlm.exe falsed code:2"}},
        {0, ERROR_NOT_ENOUGH_MEMORY, {"KillProcess wxlm.exe falsed code:8"}},
    };
    ChildProcess game = StartGame();
    for (const Case& c : cases) {
        StubbornGame stubborn(c.runResult, c.runError);
        const ScopedProcessActions actions(stubborn);
        LogCapture log;
        KillGeneralProcess();
        EXPECT_EQ(stubborn.terminates, 1) << c.runResult;
        EXPECT_EQ(stubborn.commands, std::vector<std::string>{"taskkill /f /im wxlm.exe"}) << c.runResult;
        std::vector<std::string> logged;
        for (const std::string& message : NewMessages(log))
            if (!StartsWith(message, kSearchLine))
                logged.push_back(message);
        EXPECT_EQ(logged, c.logged) << "a failed terminate itself logs nothing";
        EXPECT_TRUE(game.IsRunning());
    }
}

TEST_F(ProcessControlTest, StopGameProcessGivesUpAfterThirtyPasses)
{
    ChildProcess game = StartGame();
    StubbornGame stubborn(33, ERROR_SUCCESS);
    const ScopedProcessActions actions(stubborn);
    StopGameProcess();
    EXPECT_EQ(stubborn.waits, 30);
    EXPECT_EQ(stubborn.terminates, 30);
    EXPECT_EQ(stubborn.commands.size(), 30u);
    const std::string found = "GeneralProcessExist,GetProcessIdByName wxlm.exe idProcess:" + std::to_string(game.Pid());
    EXPECT_EQ(CountStartingWith(NewMessages(m_log), found), 30u) << "one search per pass, none after the last";
    EXPECT_TRUE(game.IsRunning());
}

TEST_F(ProcessControlTest, StopGameProcessEndsWithThePassThatEndsTheGame)
{
    ChildProcess game = StartGame();
    StubbornGame stubborn(33, ERROR_SUCCESS, 3);
    stubborn.game = game.Handle();
    const ScopedProcessActions actions(stubborn);
    StopGameProcess();
    EXPECT_FALSE(game.IsRunning());
    EXPECT_EQ(stubborn.terminates, 3);
    EXPECT_EQ(stubborn.waits, 3) << "every pass waits, also the one that ended the game";
    EXPECT_EQ(stubborn.commands.size(), 2u) << "the kill command only after a failed terminate";
    const std::string found = "GeneralProcessExist,GetProcessIdByName wxlm.exe idProcess:" + std::to_string(game.Pid());
    EXPECT_EQ(CountStartingWith(NewMessages(m_log), found), 3u);
}
