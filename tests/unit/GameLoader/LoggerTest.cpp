#include "Logger.h"

#include "Common.h"

#include "TestFiles.h"
#include "TestPaths.h"

#include <gtest/gtest.h>
#include <shlobj.h>

#include <thread>
#include <vector>

namespace {

using wxlmtest::FileExists;
using wxlmtest::ReadFileBytes;
using wxlmtest::TempDir;

const char ExeName[] = "unit_gameloader.exe";

SYSTEMTIME MakeTime(WORD year, WORD month, WORD day, WORD hour, WORD minute, WORD second, WORD ms)
{
    SYSTEMTIME time = {};
    time.wYear = year;
    time.wMonth = month;
    time.wDay = day;
    time.wHour = hour;
    time.wMinute = minute;
    time.wSecond = second;
    time.wMilliseconds = ms;
    return time;
}

std::string TodaysFileName(const std::string& dir)
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    return dir + ExeName + "_" + std::to_string(now.wYear) + "_" + std::to_string(now.wMonth) + "_" +
           std::to_string(now.wDay) + ".log";
}

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(text.substr(start, end - start));
    if (start < text.size())
        lines.push_back(text.substr(start));
    return lines;
}

bool EndsWith(const std::string& text, const std::string& tail)
{
    return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

std::string DirOf(const TempDir& temp)
{
    return WideToMulti(temp.Path()) + "\\";
}

TEST(LoggerFormatTest, LineCarriesTimeSourceFunctionAndMessage)
{
    EXPECT_EQ(Logger::FormatLine(MakeTime(2024, 3, 7, 9, 5, 1, 42), "X:\\src\\GameLoader.cpp", 349, "IsGameExit",
                                 "IsGameExit:type:1"),
              "2024-03-07 09:05:01. 42 [GameLoader.cpp<349>IsGameExit] : IsGameExit:type:1");
    EXPECT_EQ(Logger::FormatLine(MakeTime(2024, 12, 31, 23, 59, 59, 5), "a.cpp", 1, "GameLoaderWnd::InitWindow", ""),
              "2024-12-31 23:59:59.  5 [a.cpp<1>GameLoaderWnd::InitWindow] : ");
    EXPECT_EQ(Logger::FormatLine(MakeTime(2024, 1, 2, 3, 4, 5, 999), "a.cpp", -7, "f", "m"),
              "2024-01-02 03:04:05.999 [a.cpp<-7>f] : m");
}

TEST(LoggerFormatTest, FileNameHasUnpaddedDate)
{
    EXPECT_EQ(Logger::DatedFileName("C:\\Log\\wxlm_main.exe", 2024, 3, 7), "C:\\Log\\wxlm_main.exe_2024_3_7.log");
    EXPECT_EQ(Logger::DatedFileName("x", 2025, 12, 31), "x_2025_12_31.log");
}

TEST(LoggerFormatTest, ShortFileNameKeepsThePartAfterTheLastSeparator)
{
    const std::pair<std::string, std::string> cases[] = {
        {"X:\\src\\GameLoader.cpp", "GameLoader.cpp"},
        {"GameLoader.cpp", "GameLoader.cpp"},
        {"\\GameLoader.cpp", "\\GameLoader.cpp"},
        {"/work/GameLoader/Main.cpp", "Main.cpp"},
        {"/Main.cpp", "/Main.cpp"},
        {"a\\b/c.cpp", "c.cpp"},
        {"", ""},
    };
    for (const auto& [source, expected] : cases)
        EXPECT_EQ(Logger::ShortFileName(source), expected) << source;
}

TEST(LoggerTest, OpensTodaysFileInTheFolderWithEverySinkAndNoProbeLeft)
{
    TempDir temp;
    Logger logger(DirOf(temp));
    EXPECT_TRUE(logger.isOpened());
    EXPECT_EQ(logger.sinks(), Logger::LogToFile | Logger::LogToStderr | Logger::LogToDebugger);
    EXPECT_EQ(logger.fileName(), TodaysFileName(DirOf(temp)));
    EXPECT_FALSE(FileExists(temp / L"debug.txt"));
}

TEST(LoggerTest, WritesLevelsUpToTwoAsCrLfLines)
{
    TempDir temp;
    Logger logger(DirOf(temp));
    logger.write(LogError, "X:\\src\\Unit.cpp", 10, "Unit::Fail", L"failed code:5");
    logger.write(1, "X:\\src\\Unit.cpp", 11, "Unit::Between", L"between");
    logger.write(LogInfo, "X:\\src\\Unit.cpp", 12, "Unit::Step", L"step");
    logger.write(3, "X:\\src\\Unit.cpp", 13, "Unit::Noise", L"noise");
    logger.write(0xFFFFFFFFu, "X:\\src\\Unit.cpp", 14, "Unit::Noise", L"noise");

    const auto bytes = ReadFileBytes(MultiToWide(logger.fileName()));
    ASSERT_TRUE(bytes.has_value());
    EXPECT_TRUE(EndsWith(*bytes, "\r\n"));
    const auto lines = Lines(*bytes);
    ASSERT_EQ(lines.size(), 3u) << *bytes;
    EXPECT_TRUE(EndsWith(lines[0], " [Unit.cpp<10>Unit::Fail] : failed code:5"));
    EXPECT_TRUE(EndsWith(lines[1], " [Unit.cpp<11>Unit::Between] : between"));
    EXPECT_TRUE(EndsWith(lines[2], " [Unit.cpp<12>Unit::Step] : step"));
    EXPECT_EQ(lines[0].find(" [Unit.cpp"), 23u);  // "YYYY-MM-DD hh:mm:ss.mmm"
}

TEST(LoggerTest, MessageOutsideTheCodePageGetsTheSubstitutionCharacter)
{
    TempDir temp;
    Logger logger(DirOf(temp));
    logger.write(LogInfo, "u.cpp", 1, "f", L"caf\u00e9 \u4e2d\u6587");
    const auto bytes = ReadFileBytes(MultiToWide(logger.fileName()));
    ASSERT_TRUE(bytes.has_value());
    EXPECT_TRUE(EndsWith(*bytes, "] : caf\xe9 ??\r\n")) << *bytes;
}

TEST(LoggerTest, CallFormBuildsTheMessageFromAStream)
{
    TempDir temp;
    Logger logger(DirOf(temp));
    std::wostringstream message;
    message << L"OpenProcess1 " << 4242 << L" falsed code:" << 5UL;
    logger.write(LogError, __FILE__, __LINE__, "Unit::Call", message.str());
    const auto bytes = ReadFileBytes(MultiToWide(logger.fileName()));
    ASSERT_TRUE(bytes.has_value());
    EXPECT_NE(bytes->find(" [LoggerTest.cpp<"), std::string::npos) << *bytes;
    EXPECT_TRUE(EndsWith(*bytes, ">Unit::Call] : OpenProcess1 4242 falsed code:5\r\n")) << *bytes;
}

TEST(LoggerTest, TwoWritersAppendToOneFile)
{
    TempDir temp;
    Logger first(DirOf(temp));
    Logger second(DirOf(temp));
    ASSERT_EQ(first.fileName(), second.fileName());
    for (int i = 0; i < 50; ++i) {
        first.write(LogInfo, "a.cpp", i, "First", L"first " + std::to_wstring(i));
        second.write(LogInfo, "b.cpp", i, "Second", L"second " + std::to_wstring(i));
    }
    const auto bytes = ReadFileBytes(MultiToWide(first.fileName()));
    ASSERT_TRUE(bytes.has_value());
    const auto lines = Lines(*bytes);
    ASSERT_EQ(lines.size(), 100u);
    for (int i = 0; i < 50; ++i) {
        EXPECT_TRUE(EndsWith(lines[2 * i], "First] : first " + std::to_string(i))) << lines[2 * i];
        EXPECT_TRUE(EndsWith(lines[2 * i + 1], "Second] : second " + std::to_string(i))) << lines[2 * i + 1];
    }
}

TEST(LoggerTest, ALaterWriterKeepsWhatIsAlreadyInTheFile)
{
    TempDir temp;
    {
        Logger earlier(DirOf(temp));
        earlier.write(LogInfo, "a.cpp", 1, "Earlier", L"earlier");
    }
    Logger later(DirOf(temp));
    later.write(LogInfo, "a.cpp", 2, "Later", L"later");
    const auto lines = Lines(ReadFileBytes(MultiToWide(later.fileName())).value_or(""));
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_TRUE(EndsWith(lines[0], "Earlier] : earlier"));
    EXPECT_TRUE(EndsWith(lines[1], "Later] : later"));
}

TEST(LoggerTest, EntriesFromTwoThreadsStayWhole)
{
    TempDir temp;
    Logger logger(DirOf(temp));
    const std::wstring payload(300, L'x');
    auto writer = [&](const char* name) {
        for (int i = 0; i < 200; ++i)
            logger.write(LogInfo, "t.cpp", i, name, payload);
    };
    std::thread one(writer, "One");
    std::thread two(writer, "Two");
    one.join();
    two.join();
    const auto lines = Lines(ReadFileBytes(MultiToWide(logger.fileName())).value_or(""));
    ASSERT_EQ(lines.size(), 400u);
    const std::string tail = "] : " + std::string(300, 'x');
    for (const auto& line : lines)
        ASSERT_TRUE(EndsWith(line, tail) && line.find(" [t.cpp<") == 23u) << line;
}

// A folder that cannot take a file (missing, or a path through a plain file) with no fallback
// leaves the logger closed: nothing written anywhere, no probe file, no exception.
TEST(LoggerTest, UnusableFolderWithoutFallbackStaysSilent)
{
    TempDir temp;
    ASSERT_TRUE(wxlmtest::WriteFileBytes(temp / L"plain.txt", "x"));
    const std::string folders[] = {DirOf(temp) + "missing\\", DirOf(temp) + "plain.txt\\"};
    for (const auto& folder : folders) {
        Logger logger(folder, Logger::Fallback::None);
        EXPECT_FALSE(logger.isOpened()) << folder;
        EXPECT_EQ(logger.sinks(), 0) << folder;
        logger.write(LogError, "a.cpp", 1, "f", L"dropped");
        logger.write(LogInfo, "a.cpp", 2, "f", std::wstring(100000, L'y'));
    }
    EXPECT_FALSE(FileExists(temp / L"missing"));
    EXPECT_FALSE(FileExists(temp / L"debug.txt"));
    EXPECT_EQ(ReadFileBytes(temp / L"plain.txt").value_or(""), "x");
}

std::wstring DocumentsDir()
{
    wchar_t path[MAX_PATH] = {};
    return SUCCEEDED(SHGetFolderPathW(nullptr, CSIDL_PERSONAL, nullptr, 0, path)) ? path : L"";
}

// Wine hands any process the console user's token, so here the Documents fallback applies; on
// Windows outside the system account it does not and only a D: drive keeps the stream sinks.
TEST(LoggerTest, UnusableFolderFallsBackToTheConsoleUsersDocuments)
{
    TempDir temp;
    const std::wstring documents = DocumentsDir();
    ASSERT_FALSE(documents.empty());
    const std::wstring fallbackLog = MultiToWide(TodaysFileName(WideToMulti(documents) + "\\"));
    wxlmtest::ScopedFileRestore restore(fallbackLog);
    const std::string before = ReadFileBytes(fallbackLog).value_or("");
    {
        Logger logger(DirOf(temp) + "missing\\");
        ASSERT_EQ(logger.sinks(), Logger::LogToFile | Logger::LogToStderr | Logger::LogToDebugger);
        EXPECT_EQ(logger.directory(), WideToMulti(documents) + "\\");
        EXPECT_EQ(MultiToWide(logger.fileName()), fallbackLog);
        logger.write(LogInfo, "a.cpp", 1, "f", L"moved");
        const std::string after = ReadFileBytes(fallbackLog).value_or("");
        EXPECT_EQ(after.compare(0, before.size(), before), 0);
        EXPECT_TRUE(EndsWith(after, "] : moved\r\n"));
    }
    EXPECT_FALSE(FileExists(documents + L"\\debug.txt"));
    EXPECT_FALSE(FileExists(temp / L"missing"));
}

// Windows ignores the read-only attribute of a folder for creating files in it, and Wine run as
// root cannot refuse either; whichever holds here, the logger either logs to its file or stays
// silent, and the probe file never stays.
TEST(LoggerTest, ReadOnlyFolderLeavesNoProbeFile)
{
    TempDir temp;
    const std::wstring folder = temp / L"ro";
    ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
    ASSERT_TRUE(SetFileAttributesW(folder.c_str(), FILE_ATTRIBUTE_READONLY));
    HANDLE check = CreateFileW((folder + L"\\check.tmp").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                               FILE_ATTRIBUTE_NORMAL | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    const bool writable = check != INVALID_HANDLE_VALUE;
    if (writable)
        CloseHandle(check);
    {
        Logger logger(WideToMulti(folder) + "\\");
        logger.write(LogInfo, "a.cpp", 1, "f", L"entry");
        EXPECT_EQ((logger.sinks() & Logger::LogToFile) != 0, writable);
        EXPECT_EQ(FileExists(MultiToWide(logger.fileName())), writable);
    }
    EXPECT_FALSE(FileExists(folder + L"\\debug.txt"));
    SetFileAttributesW(folder.c_str(), FILE_ATTRIBUTE_NORMAL);
}

// The real folder of the prefix user; the test environment (TestLog.cpp) puts it back at the end.
TEST(LoggerPrefixTest, InitializePathDirCreatesTheClientLogFolder)
{
    Logger::initializePathDir();
    EXPECT_EQ(Logger::pathDir(), WideToMulti(wxlmtest::LogDir()) + "\\");
    const DWORD attributes = GetFileAttributesW(wxlmtest::LogDir().c_str());
    ASSERT_NE(attributes, INVALID_FILE_ATTRIBUTES);
    EXPECT_TRUE(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

TEST(LoggerPrefixTest, InstanceAppendsToTodaysFileInTheLogFolder)
{
    const std::wstring path = wxlmtest::TodaysLogPath(L"unit_gameloader.exe");
    const std::string before = ReadFileBytes(path).value_or("");

    const int line = __LINE__ + 1;
    LOG_INFO("LoggerPrefixTest::Instance", L"marker " << 42 << L" " << GetCurrentProcessId());
    LOG_ERROR("LoggerPrefixTest::Instance", L"failure");

    EXPECT_EQ(&Logger::instance(), &Logger::instance());
    EXPECT_EQ(MultiToWide(Logger::instance().fileName()), path);
    const auto after = ReadFileBytes(path);
    ASSERT_TRUE(after.has_value());
    ASSERT_EQ(after->compare(0, before.size(), before), 0);
    const auto lines = Lines(after->substr(before.size()));
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_TRUE(EndsWith(lines[0], " [LoggerTest.cpp<" + std::to_string(line) +
                                       ">LoggerPrefixTest::Instance] : marker 42 " +
                                       std::to_string(GetCurrentProcessId())))
        << lines[0];
    EXPECT_TRUE(EndsWith(lines[1], ">LoggerPrefixTest::Instance] : failure"));
    EXPECT_FALSE(FileExists(wxlmtest::LogDir() + L"\\debug.txt"));
}

}  // namespace
