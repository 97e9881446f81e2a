#pragma once

#include "LogText.h"
#include "ScopedHandle.h"

#include <windows.h>

#include <mutex>
#include <string>

using LogLevel = unsigned;
inline constexpr LogLevel LogError = 0;
inline constexpr LogLevel LogInfo = 2;

// The process-wide log: one dated file in the client's Log folder, standard error and the
// debugger output. It never throws and never reports its own failures; when it cannot log,
// it drops entries.
class Logger {
public:
    enum : int { LogToFile = 0x01, LogToStderr = 0x04, LogToDebugger = 0x10 };

    // Computes and creates LocalAppData\Quillvarinth\Log\ and keeps it for instance().
    static void initializePathDir();
    static const std::string& pathDir();
    static Logger& instance();

    // Where to go when dir cannot take a file: the console user's Documents folder, then the
    // stream sinks only if a D: drive exists (the process-wide logger), or nowhere.
    enum class Fallback { DocumentsThenDriveD, None };

    // A logger that chooses its file in dir (ending in a separator).
    explicit Logger(const std::string& dir, Fallback fallback = Fallback::DocumentsThenDriveD);
    ~Logger() = default;
    Logger(const Logger&) = delete;
    Logger& operator=(const Logger&) = delete;

    void write(LogLevel level, const char* sourceFile, int line, const char* functionName,
               const std::wstring& message) noexcept;

    bool isOpened() const { return m_bOpened; }
    int sinks() const { return m_nSinks; }
    const std::string& fileName() const { return m_strFileName; }
    const std::string& directory() const { return m_strPathDir; }

    // The pieces of an entry, on their own so that their formats can be checked.
    static std::string FormatLine(const SYSTEMTIME& time, const char* sourceFile, int line, const char* functionName,
                                  const std::string& message);
    static std::string ShortFileName(const std::string& sourceFile);
    static std::string DatedFileName(const std::string& basePath, int year, int month, int day);

private:
    static bool Probe(const std::string& dir);
    static std::string ConsoleUserDocumentsDir();
    static bool DriveDExists();
    static std::string ModuleBaseName();

    bool moveToConsoleUserDocuments();
    void open(const std::string& basePath, int sinks);
    void writeToFile(const std::string& text);

    bool m_bOpened = false;
    std::string m_strPathDir;
    std::string m_strFileName;
    int m_nSinks = 0;
    UniqueHandle m_file;
    LogLevel m_nFileLevel = 0;
    LogLevel m_nStderrLevel = 0;
    LogLevel m_nDebuggerLevel = 0;
    // The game-process stop task writes from a worker thread; one entry at a time keeps lines whole.
    std::mutex m_mutex;

    static std::string s_strPathDir;
};

// One-line logging: LOG_INFO("GameLoaderWnd::InitWindow", L"m_nGameInstalled is" << value);
// the function name is passed because the compiler only knows the unqualified one.
#define WXLM_LOG(level, functionName, streamed)                                                                        \
    do {                                                                                                               \
        LogText wxlmLogText_;                                                                                          \
        wxlmLogText_ << streamed;                                                                                      \
        Logger::instance().write((level), __FILE__, __LINE__, (functionName), wxlmLogText_.str());                     \
    } while (false)
#define LOG_INFO(functionName, streamed) WXLM_LOG(LogInfo, functionName, streamed)
#define LOG_ERROR(functionName, streamed) WXLM_LOG(LogError, functionName, streamed)
