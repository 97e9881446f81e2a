#include "LaunchParams.h"

#include "ClientSettings.h"
#include "JsonText.h"

#include "ChildProcess.h"
#include "Logger.h"
#include "TestFiles.h"
#include "TestLog.h"
#include "TestPaths.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <climits>

namespace {

using wxlmtest::TempDir;

std::wstring CommandText(const std::wstring& commandLine)
{
    std::wstring text = L"<unset>";
    EXPECT_TRUE(ParseCmdParam(commandLine, text)) << commandLine;
    return text;
}

struct CommandCase {
    std::wstring commandLine;
    std::wstring commandText;
};

TEST(ParseCmdParamTest, BuildsTheCommandText)
{
    const CommandCase cases[] = {
        {L"wxlm_main.exe", L"null\n"},
        {L"\"C:\\Program Files\\wxlm\\wxlm_main.exe\"", L"null\n"},
        {L"wxlm_main.exe \"\" \"\"", L"null\n"},
        {L"wxlm_main.exe --installed=1", L"{\"installed\":\"1\"}\n"},
        {L"wxlm_main.exe --installed=2x", L"{\"installed\":\"2x\"}\n"},
        {L"wxlm_main.exe \"--source=QV --installed=1\"", L"{\"installed\":\"1\"}\n"},
        {L"wxlm_main.exe \"{\\\"source\\\":\\\"QV\\\",\\\"typeMode\\\":\\\"1\\\"}\"",
         L"{\"source\":\"QV\",\"typeMode\":\"1\"}"},
        {L"wxlm_main.exe {type:1}", L"{type:1}"},
        {L"wxlm_main.exe type:1", L"type:1"},
        {L"wxlm_main.exe --source=QV", L"--source=QV"},
        {L"wxlm_main.exe \"\"", L""},
        {L"wxlm_main.exe --source=x --source=y", L"{\"source\":\"y\"}\n"},
        {L"wxlm_main.exe --source= --token=t", L"{\"source\":\"\",\"token\":\"t\"}\n"},
        {L"wxlm_main.exe --source=--typeMode=1 --winid=5", L"{\"source\":\"--typeMode=1\",\"winid\":\"5\"}\n"},
        {L"wxlm_main.exe --token=--tokenLogin=1 x", L"{\"tokenLogin\":\"1\"}\n"},
        {L"wxlm_main.exe abc--winid=77 unrelated", L"{\"winid\":\"77\"}\n"},
        {L"C:\\a--winid=9\\wxlm_main.exe --source=QV x", L"{\"source\":\"QV\",\"winid\":\"9\\\\wxlm_main.exe\"}\n"},
        {L"wxlm_main.exe {\"a\":1} --source=x", L"{\"source\":\"x\"}\n"},
        {L"wxlm_main.exe --winid=1 --source=QV --tokenLogin=0 --token=tk --qvext=e --installed=1 --gameMgrId=2 "
         L"--typeMode=1",
         L"{\"gameMgrId\":\"2\",\"installed\":\"1\",\"qvext\":\"e\",\"source\":\"QV\",\"token\":\"tk\","
         L"\"tokenLogin\":\"0\",\"typeMode\":\"1\",\"winid\":\"1\"}\n"},
        // Quoting and backslashes follow CommandLineToArgvW; the JSON writer escapes the result.
        {L"wxlm_main.exe \"--source=a b\" --token=\"c d\"", L"{\"source\":\"a b\",\"token\":\"c d\"}\n"},
        {L"wxlm_main.exe --qvext=C:\\dir\\ --token=x", L"{\"qvext\":\"C:\\\\dir\\\\\",\"token\":\"x\"}\n"},
        {L"wxlm_main.exe --qvext=say\\\"hi\\\" --token=x", L"{\"qvext\":\"say\\\"hi\\\"\",\"token\":\"x\"}\n"},
        {L"wxlm_main.exe --qvext=a\\\\\"b c\" --token=x", L"{\"qvext\":\"a\\\\b c\",\"token\":\"x\"}\n"},
        {L"wxlm_main.exe --qvext=\t --token=x", L"{\"qvext\":\"\",\"token\":\"x\"}\n"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CommandText(c.commandLine), c.commandText) << c.commandLine;
}

TEST(ParseCmdParamTest, ProcessCommandLineIsTheDefault)
{
    std::wstring fromProcess;
    ASSERT_TRUE(ParseCmdParam(fromProcess));
    EXPECT_EQ(fromProcess, CommandText(GetCommandLineW()));
    EXPECT_FALSE(fromProcess.empty());
}

const wchar_t CommandTextOutVariable[] = L"WXLM_TEST_COMMAND_TEXT_OUT";

// This executable doubles as a launcher started with a real command line: with the variable set,
// it writes the command text of its own command line (UTF-16) to the file named there and ends
// before any test runs.
bool WriteOwnCommandTextIfAsked()
{
    wchar_t outPath[MAX_PATH] = {};
    if (!GetEnvironmentVariableW(CommandTextOutVariable, outPath, MAX_PATH))
        return false;
    Logger::initializePathDir();
    std::wstring text;
    const bool parsed = ParseCmdParam(text);
    const std::string bytes(reinterpret_cast<const char*>(text.data()), text.size() * sizeof(wchar_t));
    ExitProcess(parsed && wxlmtest::WriteFileBytes(outPath, bytes) ? 0 : 1);
}

[[maybe_unused]] const bool g_bCommandTextChild = WriteOwnCommandTextIfAsked();

std::wstring CommandTextOfChild(const std::wstring& arguments)
{
    TempDir temp;
    const std::wstring outPath = temp / L"command-text.bin";
    SetEnvironmentVariableW(CommandTextOutVariable, outPath.c_str());
    wxlmtest::ChildProcess child;
    const bool started = child.Start(wxlmtest::ModuleDir() + L"\\unit_gameloader.exe", arguments);
    SetEnvironmentVariableW(CommandTextOutVariable, nullptr);
    EXPECT_TRUE(started);
    EXPECT_EQ(child.Wait(), 0u) << arguments;
    const std::string bytes = wxlmtest::ReadFileBytes(outPath).value_or("");
    return std::wstring(reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / sizeof(wchar_t));
}

TEST(ParseCmdParamTest, ARealProcessGetsTheSameCommandTextInBothForms)
{
    const CommandCase cases[] = {
        {L"", L"null\n"},
        {L"--installed=1", L"{\"installed\":\"1\"}\n"},
        {L"--source=QV", L"--source=QV"},
        {L"\"{\\\"source\\\":\\\"\u4e2d\u00e9\\\"}\"", L"{\"source\":\"\u4e2d\u00e9\"}"},
        {L"--source=QV \"--token=a b\" --qvext=\u4e2d\u00e9",
         L"{\"qvext\":\"\\u4e2d\\u00e9\",\"source\":\"QV\",\"token\":\"a b\"}\n"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CommandTextOfChild(c.commandLine), c.commandText) << c.commandLine;
}

TEST(ParseCmdParamTest, LogsEveryEntryOfTheOptionForm)
{
    LogCapture log;
    CommandText(L"wxlm_main.exe --source=QV other");
    const auto entries = log.NewEntries();
    ASSERT_EQ(entries.size(), 3u);
    const std::string expected[] = {"CommandLineToArgvW argCount:0 szArgList:wxlm_main.exe",
                                    "CommandLineToArgvW argCount:1 szArgList:--source=QV",
                                    "CommandLineToArgvW argCount:2 szArgList:other"};
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_NE(entries[i].find(">ParseCmdParam] : "), std::string::npos) << entries[i];
        EXPECT_TRUE(entries[i].ends_with(expected[i])) << entries[i];
    }
    LogCapture single;
    CommandText(L"wxlm_main.exe --source=QV");
    EXPECT_TRUE(single.NewEntries().empty());
}

TEST(ExtractOptionTest, FindsThePrefixAnywhereAndReplacesEarlierValues)
{
    Json::Value root;
    EXPECT_FALSE(ExtractOption(root, L"--token=1", "source", L"--source="));
    EXPECT_TRUE(root.isNull());
    EXPECT_TRUE(ExtractOption(root, L"x--source=a--source=b", "source", L"--source="));
    EXPECT_EQ(root["source"].asString(), "a--source=b");
    EXPECT_TRUE(ExtractOption(root, L"--source=", "source", L"--source="));
    EXPECT_EQ(root["source"].asString(), "");
    EXPECT_EQ(root.size(), 1u);
}

TEST(ExtractOptionTest, ValueThatIsNotAnObjectRefusesWithoutThrowing)
{
    Json::Value array(Json::arrayValue);
    array.append(1);
    Json::Value number(5);
    EXPECT_FALSE(ExtractOption(array, L"--source=a", "source", L"--source="));
    EXPECT_FALSE(ExtractOption(number, L"--source=a", "source", L"--source="));
    EXPECT_EQ(array.size(), 1u);
    EXPECT_EQ(number.asInt(), 5);
}

// ParseCmdJson writes "qvwindowid" into a settings file of its own here.
class ParseCmdJsonTest : public ::testing::Test {
protected:
    bool Parse(const std::wstring& cmdJson) { return ParseCmdJson(cmdJson, m_params, m_settingPath); }
    std::wstring StoredWindowId() const
    {
        std::wstring value = L"<none>";
        ReadClientSetting("qvwindowid", m_settingPath, value);
        return value;
    }

    TempDir m_temp;
    std::wstring m_settingPath = m_temp / L"setting.xml";
    LaunchParams m_params;
};

TEST_F(ParseCmdJsonTest, NoArgumentKeepsTheStartValues)
{
    ASSERT_TRUE(Parse(CommandText(L"wxlm_main.exe")));
    EXPECT_EQ(m_params.winid + m_params.source + m_params.tokenLogin + m_params.token + m_params.qvext +
                  m_params.gameMgrId + m_params.typeMode,
              L"");
    EXPECT_EQ(m_params.installed, 0);
    EXPECT_FALSE(wxlmtest::FileExists(m_settingPath));
}

TEST_F(ParseCmdJsonTest, EveryOptionReachesItsField)
{
    ASSERT_TRUE(Parse(CommandText(L"wxlm_main.exe --winid=1001 --source=QV --tokenLogin=1 --token=tk --qvext=a&b "
                                  L"--installed=1 --gameMgrId=2002 --typeMode=1")));
    EXPECT_EQ(m_params.winid, L"1001");
    EXPECT_EQ(m_params.source, L"QV");
    EXPECT_EQ(m_params.tokenLogin, L"1");
    EXPECT_EQ(m_params.token, L"tk");
    EXPECT_EQ(m_params.qvext, L"a&b");
    EXPECT_EQ(m_params.installed, 1);
    EXPECT_EQ(m_params.gameMgrId, L"2002");
    EXPECT_EQ(m_params.typeMode, L"1");
    EXPECT_EQ(StoredWindowId(), L"1001");
}

TEST_F(ParseCmdJsonTest, SingleJsonArgumentSetsOnlyStringMembers)
{
    ASSERT_TRUE(Parse(CommandText(L"wxlm_main.exe \"{\\\"source\\\":\\\"QV\\\",\\\"typeMode\\\":\\\"1\\\"}\"")));
    EXPECT_EQ(m_params.source, L"QV");
    EXPECT_EQ(m_params.typeMode, L"1");

    LaunchParams numbers;
    ASSERT_TRUE(
        ParseCmdJson(L"{\"source\":\"QV\",\"typeMode\":1,\"installed\":1,\"winid\":5}", numbers, m_settingPath));
    EXPECT_EQ(numbers.source, L"QV");
    EXPECT_EQ(numbers.typeMode, L"");
    EXPECT_EQ(numbers.installed, 0);
    EXPECT_EQ(numbers.winid, L"");
    EXPECT_FALSE(wxlmtest::FileExists(m_settingPath));
}

TEST_F(ParseCmdJsonTest, InstalledReadsTheLeadingDecimal)
{
    const std::pair<std::wstring, int> cases[] = {
        {L"1", 1},
        {L"2x", 2},
        {L"x", 0},
        {L"", 0},
        {L"  -5", -5},
        {L"+7", 7},
        {L"0x10", 0},
        {L"99999999999", INT_MAX},
        {L"-99999999999", INT_MIN},
    };
    for (const auto& [option, expected] : cases) {
        LaunchParams fromCommandLine;
        ASSERT_TRUE(ParseCmdJson(CommandText(L"wxlm_main.exe \"--installed=" + option + L"\""), fromCommandLine,
                                 m_settingPath));
        EXPECT_EQ(fromCommandLine.installed, expected) << option;
        LaunchParams params;
        params.installed = 12345;
        ASSERT_TRUE(ParseCmdJson(L"{\"installed\":\"" + option + L"\"}", params, m_settingPath));
        EXPECT_EQ(params.installed, expected) << option;
    }
}

TEST_F(ParseCmdJsonTest, UnparsableTextIsLoggedAndChangesNothing)
{
    m_params.source = L"kept";
    LogCapture log;
    EXPECT_FALSE(Parse(CommandText(L"wxlm_main.exe --source=QV")));
    EXPECT_EQ(m_params.source, L"kept");
    const auto entries = log.NewEntries();
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_TRUE(entries[0].ends_with(">GameLoaderWnd::ParseCmdJson] : m_strCmdJson is:--source=QV")) << entries[0];
    EXPECT_TRUE(entries[1].ends_with(">GameLoaderWnd::ParseCmdJson] : reader.parse:--source=QV false")) << entries[1];
}

TEST_F(ParseCmdJsonTest, EmptyTextIsLoggedAndRefused)
{
    LogCapture log;
    EXPECT_FALSE(Parse(CommandText(L"wxlm_main.exe \"\"")));
    const auto entries = log.NewEntries();
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_TRUE(entries[0].ends_with(">GameLoaderWnd::ParseCmdJson] : m_strCmdJson is empty")) << entries[0];
}

TEST_F(ParseCmdJsonTest, DocumentsThatAreNotObjectsSetNothing)
{
    const std::wstring documents[] = {
        L"null\n", L"[\"--source=a\",{\"source\":\"b\"}]", L"42", L"\"text\"", L"true", L"/* note */ null // end"};
    for (const auto& document : documents) {
        LaunchParams params;
        EXPECT_TRUE(ParseCmdJson(document, params, m_settingPath)) << document;
        EXPECT_EQ(params.source, L"") << document;
    }
}

TEST_F(ParseCmdJsonTest, CommentsAreAllowedAndHostileJsonIsRefused)
{
    ASSERT_TRUE(Parse(L"/* from the client */ {\"source\":\"a\"} // done"));
    EXPECT_EQ(m_params.source, L"a");

    const std::wstring refused[] = {std::wstring(5000, L'[') + std::wstring(5000, L']'),
                                    L"{\"source\":",
                                    L"{\"source\":\"a\"",
                                    L"{'source':'a'}",
                                    L"{\"source\":\"a\"} trailing",
                                    L"--installed",
                                    L"{\"source\":\"a\",}"};
    for (const auto& text : refused) {
        LaunchParams params;
        EXPECT_FALSE(ParseCmdJson(text, params, m_settingPath)) << text.substr(0, 20);
        EXPECT_EQ(params.source, L"");
    }
}

TEST_F(ParseCmdJsonTest, WindowIdIsStoredEachTimeItIsRead)
{
    ASSERT_TRUE(Parse(CommandText(L"wxlm_main.exe --winid=4242 --source=QV")));
    EXPECT_EQ(StoredWindowId(), L"4242");
    ASSERT_TRUE(Parse(CommandText(L"wxlm_main.exe --winid= --source=QV")));
    EXPECT_EQ(m_params.winid, L"");
    EXPECT_EQ(StoredWindowId(), L"<none>"); // stored empty: the element is there without text
    std::wstring value = L"x";
    EXPECT_TRUE(ReadClientSetting("qvwindowid", m_settingPath, value));
}

TEST_F(ParseCmdJsonTest, NonAsciiValuesSurviveInEveryCodePage)
{
    const std::wstring text =
        CommandText(L"wxlm_main.exe --source=caf\u00e9 --token=\u4e2d\u6587 --qvext=\U0001F600\u20ac --winid=7");
    EXPECT_TRUE(std::all_of(text.begin(), text.end(), [](wchar_t c) { return c < 0x80; })) << text;
    ASSERT_TRUE(Parse(text));
    EXPECT_EQ(m_params.source, L"caf\u00e9");
    EXPECT_EQ(m_params.token, L"\u4e2d\u6587");
    EXPECT_EQ(m_params.qvext, L"\U0001F600\u20ac");

    LaunchParams raw;
    ASSERT_TRUE(ParseCmdJson(L"{\"source\":\"\u4e2d\",\"token\":\"\\u00e9\"}", raw, m_settingPath));
    EXPECT_EQ(raw.source, L"\u4e2d");
    EXPECT_EQ(raw.token, L"\u00e9");
}

TEST_F(ParseCmdJsonTest, HugeArgumentsPassWhole)
{
    const std::wstring big(100000, L'k');
    ASSERT_TRUE(Parse(CommandText(L"wxlm_main.exe --token=" + big + L" --source=QV")));
    EXPECT_EQ(m_params.token, big);
    EXPECT_EQ(m_params.source, L"QV");

    const std::wstring single = CommandText(L"wxlm_main.exe " + big);
    EXPECT_EQ(single, big);
    LaunchParams params;
    EXPECT_FALSE(ParseCmdJson(single, params, m_settingPath));
}

} // namespace
