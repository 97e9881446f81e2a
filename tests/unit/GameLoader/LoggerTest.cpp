#include "Logger.h"

#include "Common.h"

#include "ChildProcess.h"
#include "TestFiles.h"
#include "TestPaths.h"

#include <gtest/gtest.h>
#include <shlobj.h>

#include <fcntl.h>
#include <io.h>
#include <shellapi.h>
#include <sys/stat.h>

#include <cstdio>
#include <cstring>
#include <optional>
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
    EXPECT_EQ(lines[0].find(" [Unit.cpp"), 23u); // "YYYY-MM-DD hh:mm:ss.mmm"
}

// Points the C runtime's standard error at a file for the life of the object.
// The file is written as a text-mode stream would: every line feed, also one inside a message,
// reaches the file as CR LF.
TEST(LoggerTest, LineFeedsInsideAMessageBecomeCrLf)
{
    TempDir temp;
    Logger logger(DirOf(temp));
    const std::pair<std::wstring, std::string> cases[] = {
        {L"command text\n", "command text\r\n"},
        {L"one\ntwo\n\nthree", "one\r\ntwo\r\n\r\nthree"},
        {L"\nfirst", "\r\nfirst"},
        {L"kept\r\n", "kept\r\r\n"},
    };
    for (const auto& c : cases)
        logger.write(LogInfo, "X:\\src\\Unit.cpp", 20, "Unit::Lines", c.first);

    const std::string bytes = ReadFileBytes(MultiToWide(logger.fileName())).value_or("");
    const size_t stamp = 23; // "YYYY-MM-DD hh:mm:ss.mmm"
    size_t at = 0;
    for (const auto& written : cases) {
        const std::string entry = " [Unit.cpp<20>Unit::Lines] : " + written.second + "\r\n";
        EXPECT_EQ(bytes.substr(at + stamp, entry.size()), entry);
        at += stamp + entry.size();
    }
    EXPECT_EQ(at, bytes.size()) << bytes;
}

class StderrToFile {
public:
    explicit StderrToFile(const std::wstring& path)
    {
        std::fflush(stderr);
        m_nSaved = _dup(2);
        const int file = _wopen(path.c_str(), _O_WRONLY | _O_CREAT | _O_TRUNC | _O_BINARY, _S_IREAD | _S_IWRITE);
        if (file >= 0) {
            _dup2(file, 2);
            _close(file);
        }
    }
    ~StderrToFile()
    {
        std::fflush(stderr);
        if (m_nSaved >= 0) {
            _dup2(m_nSaved, 2);
            _close(m_nSaved);
        }
    }
    StderrToFile(const StderrToFile&) = delete;
    StderrToFile& operator=(const StderrToFile&) = delete;

private:
    int m_nSaved = -1;
};

TEST(LoggerTest, StandardErrorGetsTheSameLevelsAsTheFile)
{
    TempDir temp;
    Logger logger(DirOf(temp));
    {
        StderrToFile redirect(temp / L"stderr.txt");
        logger.write(LogError, "a.cpp", 1, "f", L"error");
        logger.write(LogInfo, "a.cpp", 2, "f", L"info");
        logger.write(3, "a.cpp", 3, "f", L"noise");
    }
    std::string text = ReadFileBytes(temp / L"stderr.txt").value_or("");
    std::erase(text, '\r');
    const size_t first = text.find(" [a.cpp<1>f] : error\n");
    const size_t second = text.find(" [a.cpp<2>f] : info\n");
    EXPECT_NE(first, std::string::npos) << text;
    EXPECT_NE(second, std::string::npos) << text;
    EXPECT_LT(first, second);
    EXPECT_EQ(text.find("noise"), std::string::npos) << text;
}

// A debug-output monitor of the classic DBWIN kind: OutputDebugStringA without a debugger takes
// the buffer-ready event, copies the text after the writer's process id and signals data-ready.
class DebugOutputMonitor {
public:
    DebugOutputMonitor()
        : m_mapping(CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 4096, L"DBWIN_BUFFER")),
          m_bufferReady(CreateEventW(nullptr, FALSE, TRUE, L"DBWIN_BUFFER_READY")),
          m_dataReady(CreateEventW(nullptr, FALSE, FALSE, L"DBWIN_DATA_READY"))
    {
        if (m_mapping)
            m_pView = static_cast<const char*>(MapViewOfFile(m_mapping, FILE_MAP_READ, 0, 0, 0));
    }
    ~DebugOutputMonitor()
    {
        if (m_pView)
            UnmapViewOfFile(m_pView);
        for (HANDLE handle : {m_mapping, m_bufferReady, m_dataReady})
            if (handle)
                CloseHandle(handle);
    }
    DebugOutputMonitor(const DebugOutputMonitor&) = delete;
    DebugOutputMonitor& operator=(const DebugOutputMonitor&) = delete;

    bool IsReady() const { return m_pView && m_bufferReady && m_dataReady; }

    // The text this process wrote since the last call, or nothing when it wrote none. Text of
    // another process that got in first is passed over, and ours then follows it.
    std::optional<std::string> Take(DWORD timeout = 0)
    {
        if (WaitForSingleObject(m_dataReady, timeout) != WAIT_OBJECT_0)
            return std::nullopt;
        DWORD pid = 0;
        std::memcpy(&pid, m_pView, sizeof pid);
        std::string text = m_pView + sizeof pid;
        SetEvent(m_bufferReady);
        if (pid != GetCurrentProcessId())
            return Take(10000);
        return text;
    }

private:
    HANDLE m_mapping;
    HANDLE m_bufferReady;
    HANDLE m_dataReady;
    const char* m_pView = nullptr;
};

TEST(LoggerTest, DebuggerOutputGetsTheSameLevelsWithCrLf)
{
    DebugOutputMonitor monitor;
    ASSERT_TRUE(monitor.IsReady());
    TempDir temp;
    Logger logger(DirOf(temp));
    const std::pair<LogLevel, bool> cases[] = {{LogError, true}, {1, true}, {LogInfo, true}, {3, false}, {100, false}};
    for (const auto& [level, shown] : cases) {
        logger.write(level, "X:\\src\\d.cpp", 7, "Debug::Out", L"level " + std::to_wstring(level));
        const auto text = monitor.Take();
        ASSERT_EQ(text.has_value(), shown) << level;
        if (shown) {
            EXPECT_TRUE(EndsWith(*text, " [d.cpp<7>Debug::Out] : level " + std::to_string(level) + "\r\n")) << *text;
            EXPECT_EQ(text->find(" ["), 23u) << *text;
        }
    }
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

const wchar_t LogWriterOption[] = L"--log-writer=";
constexpr int ChildEntries = 300;

std::wstring EntryPayload(int index)
{
    return std::to_wstring(index) + L" " + std::wstring(100, L'p');
}

// This executable doubles as the second launcher process of TwoProcessesAppendToOneFile: started
// with --log-writer=<folder>, it writes its entries into that folder and ends before any test runs.
bool RunAsLogWriterIfAsked()
{
    int count = 0;
    LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!arguments)
        return false;
    std::wstring folder;
    for (int i = 1; i < count; ++i) {
        if (std::wstring argument = arguments[i]; argument.starts_with(LogWriterOption))
            folder = argument.substr(std::size(LogWriterOption) - 1);
    }
    LocalFree(arguments);
    if (folder.empty())
        return false;
    Logger logger(WideToMulti(folder) + "\\");
    for (int i = 0; i < ChildEntries; ++i)
        logger.write(LogInfo, "child.cpp", i, "Child", EntryPayload(i));
    ExitProcess(logger.sinks() & Logger::LogToFile ? 0 : 1);
}

[[maybe_unused]] const bool g_bLogWriterChild = RunAsLogWriterIfAsked();

TEST(LoggerTest, TwoProcessesAppendToOneFile)
{
    TempDir temp;
    Logger parent(DirOf(temp));
    wxlmtest::ChildProcess child;
    ASSERT_TRUE(child.Start(wxlmtest::ModuleDir() + L"\\unit_gameloader.exe",
                            L"\"" + std::wstring(LogWriterOption) + temp.Path() + L"\""));
    int parentEntries = 0;
    while (child.IsRunning() && parentEntries < 5000)
        parent.write(LogInfo, "parent.cpp", parentEntries, "Parent", EntryPayload(parentEntries)), ++parentEntries;
    ASSERT_EQ(child.Wait(), 0u);

    const auto lines = Lines(ReadFileBytes(MultiToWide(parent.fileName())).value_or(""));
    ASSERT_EQ(lines.size(), static_cast<size_t>(ChildEntries + parentEntries));
    int nextChild = 0;
    int nextParent = 0;
    for (const auto& line : lines) {
        ASSERT_EQ(line.find(" ["), 23u) << line;
        const bool fromChild = line.find("[child.cpp<") != std::string::npos;
        const int index = fromChild ? nextChild++ : nextParent++;
        const std::string tail = (fromChild ? "Child] : " : "Parent] : ") + WideToMulti(EntryPayload(index));
        ASSERT_TRUE(EndsWith(line, tail)) << line;
    }
    EXPECT_EQ(nextChild, ChildEntries);
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

} // namespace
