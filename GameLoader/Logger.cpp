#include "Logger.h"

#include "Common.h"

#include <psapi.h>
#include <shlobj.h>
#include <shlwapi.h>
#include <wtsapi32.h>

#include <cstdio>
#include <ctime>

std::string Logger::s_strPathDir;

namespace {

const char ProbeFileName[] = "debug.txt";

bool EnsureDirectory(const std::wstring& path)
{
    return PathFileExistsW(path.c_str()) || CreateDirectoryW(path.c_str(), nullptr);
}

// The file takes what a text-mode stream would write: every line feed as CR LF, so that a
// message with line breaks of its own (a command text ends in one) keeps the file's line ends.
std::string TextModeLine(const std::string& line)
{
    std::string out;
    out.reserve(line.size() + 2);
    for (const char c : line) {
        if (c == '\n')
            out += '\r';
        out += c;
    }
    return out + "\r\n";
}

} // namespace

void Logger::initializePathDir()
{
    std::wstring dir = GetLocalAppDataDir() + L"\\Quillvarinth";
    EnsureDirectory(dir);
    dir += L"\\Log";
    EnsureDirectory(dir);
    if (dir.back() != L'\\' && dir.back() != L'/')
        dir += L'\\';
    s_strPathDir = WideToMulti(dir, CP_ACP);
}

const std::string& Logger::pathDir()
{
    return s_strPathDir;
}

Logger& Logger::instance()
{
    static Logger logger(s_strPathDir);
    // The Documents fallback may have moved the log; later readers of the directory see where it went.
    static const bool adopted = (s_strPathDir = logger.m_strPathDir, true);
    (void)adopted;
    return logger;
}

Logger::Logger(const std::string& dir, Fallback fallback) : m_strPathDir(dir)
{
    const bool fallBack = fallback == Fallback::DocumentsThenDriveD;
    const bool probed = Probe(m_strPathDir) || (fallBack && moveToConsoleUserDocuments());
    const std::string basePath = m_strPathDir + ModuleBaseName();
    if (probed)
        open(basePath, LogToFile | LogToStderr | LogToDebugger);
    else if (fallBack && DriveDExists())
        open(basePath, LogToStderr | LogToDebugger);
}

bool Logger::moveToConsoleUserDocuments()
{
    const std::string documents = ConsoleUserDocumentsDir();
    if (documents.empty())
        return false;
    m_strPathDir = documents.back() == '\\' ? documents : documents + "\\";
    return Probe(m_strPathDir);
}

// Shared with every other access, so that two launchers starting at the same moment both succeed;
// whichever closes last removes the file.
bool Logger::Probe(const std::string& dir)
{
    const std::string path = dir + ProbeFileName;
    UniqueHandle probe(CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE,
                                   FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, CREATE_ALWAYS,
                                   FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!probe)
        return false;
    probe.Close();
    DeleteFileA(path.c_str());
    return true;
}

// Only a service running as the local system account gets the console user's token; everyone
// else ends up with an empty result here.
std::string Logger::ConsoleUserDocumentsDir()
{
    const DWORD session = WTSGetActiveConsoleSessionId();
    if (session == 0xFFFFFFFF)
        return {};
    HANDLE rawToken = nullptr;
    if (!WTSQueryUserToken(session, &rawToken))
        return {};
    UniqueHandle token(rawToken);
    PIDLIST_ABSOLUTE idList = nullptr;
    if (FAILED(SHGetFolderLocation(nullptr, CSIDL_PERSONAL, token.Get(), 0, &idList)) || !idList)
        return {};
    wchar_t buffer[MAX_PATH] = {};
    const BOOL found = SHGetPathFromIDListW(idList, buffer);
    ILFree(idList);
    if (!found)
        return {};
    return WideToMulti(buffer, CP_THREAD_ACP);
}

bool Logger::DriveDExists()
{
    const DWORD attributes = GetFileAttributesW(L"D:\\");
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::string Logger::ModuleBaseName()
{
    char buffer[MAX_PATH] = {};
    const DWORD length = K32GetModuleBaseNameA(GetCurrentProcess(), nullptr, buffer, MAX_PATH);
    return std::string(buffer, length);
}

void Logger::open(const std::string& basePath, int sinks)
{
    m_nFileLevel = m_nStderrLevel = m_nDebuggerLevel = LogInfo;
    if (m_nSinks & LogToFile)
        m_file.Close();
    if (m_strFileName != basePath) {
        const std::time_t now = std::time(nullptr);
        std::tm local = {};
        if (localtime_s(&local, &now) == 0)
            m_strFileName = DatedFileName(basePath, local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
    }
    if ((sinks & LogToFile) && !m_file)
        m_file.Reset(CreateFileA(m_strFileName.c_str(), GENERIC_WRITE,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
                                 FILE_ATTRIBUTE_NORMAL, nullptr));
    m_nSinks = sinks;
    m_bOpened = true;
}

std::string Logger::DatedFileName(const std::string& basePath, int year, int month, int day)
{
    return basePath + "_" + std::to_string(year) + "_" + std::to_string(month) + "_" + std::to_string(day) + ".log";
}

std::string Logger::ShortFileName(const std::string& sourceFile)
{
    // The cross compiler names sources with forward slashes, so both separators count.
    const size_t separator = sourceFile.find_last_of("\\/");
    if (separator == std::string::npos || separator == 0)
        return sourceFile;
    return sourceFile.substr(separator + 1);
}

std::string Logger::FormatLine(const SYSTEMTIME& time, const char* sourceFile, int line, const char* functionName,
                               const std::string& message)
{
    char stamp[64] = {};
    std::snprintf(stamp, sizeof stamp, "%d-%02d-%02d %02d:%02d:%02d.%3d", time.wYear, time.wMonth, time.wDay,
                  time.wHour, time.wMinute, time.wSecond, time.wMilliseconds);
    return std::string(stamp) + " [" + ShortFileName(sourceFile ? sourceFile : "") + "<" + std::to_string(line) + ">" +
           (functionName ? functionName : "") + "] : " + message;
}

void Logger::write(LogLevel level, const char* sourceFile, int line, const char* functionName,
                   const std::wstring& message) noexcept
{
    try {
        const std::string text = WideToMulti(message, CP_THREAD_ACP);
        if (!m_bOpened)
            return;
        SYSTEMTIME now = {};
        GetLocalTime(&now);
        const std::string entry = FormatLine(now, sourceFile, line, functionName, text);
        std::lock_guard lock(m_mutex);
        if ((m_nSinks & LogToFile) && level <= m_nFileLevel)
            writeToFile(TextModeLine(entry));
        if ((m_nSinks & LogToStderr) && level <= m_nStderrLevel) {
            std::fputs((entry + "\n").c_str(), stderr);
            std::fflush(stderr);
        }
        if ((m_nSinks & LogToDebugger) && level <= m_nDebuggerLevel)
            OutputDebugStringA((entry + "\r\n").c_str());
    } catch (...) {
        // Logging must never take its caller down; the entry is lost.
    }
}

// Another launcher process of the same day appends to the same file. Append-only handles are not
// atomic under Wine, so every entry takes an exclusive lock on one byte far beyond any log's end
// (readers are never blocked), seeks to the end and writes the whole entry at once. The lock is
// only waited for a while: a program holding it for good (or a log that is a device, where a
// waiting lock never returns) must not stop the launcher; the entry is then written unlocked.
void Logger::writeToFile(const std::string& text)
{
    if (!m_file)
        return;
    OVERLAPPED region = {};
    region.OffsetHigh = 0x7FFFFFFF;
    bool locked = false;
    for (int attempt = 0; attempt < 100 && !locked; ++attempt) {
        locked = LockFileEx(m_file.Get(), LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &region);
        if (!locked && GetLastError() != ERROR_LOCK_VIOLATION)
            break;
        if (!locked)
            Sleep(2);
    }
    LARGE_INTEGER end = {};
    SetFilePointerEx(m_file.Get(), end, nullptr, FILE_END);
    DWORD written = 0;
    WriteFile(m_file.Get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    if (locked)
        UnlockFileEx(m_file.Get(), 0, 1, 0, &region);
}
