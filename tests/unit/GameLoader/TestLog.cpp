#include "TestLog.h"

#include "Common.h"
#include "Logger.h"

#include "TestFiles.h"
#include "TestPaths.h"

#include <gtest/gtest.h>

#include <optional>

namespace {

std::wstring LogFilePath()
{
    return MultiToWide(Logger::instance().fileName());
}

size_t LogSize()
{
    return wxlmtest::ReadFileBytes(LogFilePath()).value_or("").size();
}

bool RewriteSharedFile(const std::wstring& path, const std::string& bytes)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, TRUNCATE_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    const bool ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
    return ok && written == bytes.size();
}

class LogFolderEnvironment : public ::testing::Environment {
public:
    void SetUp() override
    {
        m_bClientDirExisted = wxlmtest::FileExists(wxlmtest::ClientDir());
        m_bLogDirExisted = wxlmtest::FileExists(wxlmtest::LogDir());
        Logger::initializePathDir();
        m_logPath = LogFilePath();
        m_savedLog = wxlmtest::ReadFileBytes(m_logPath);
    }

    // The logger keeps its file open to the end of the process, so the file is cut back in place
    // rather than replaced.
    void TearDown() override
    {
        if (m_savedLog)
            RewriteSharedFile(m_logPath, *m_savedLog);
        else
            DeleteFileW(m_logPath.c_str());
        if (!m_bLogDirExisted)
            RemoveDirectoryW(wxlmtest::LogDir().c_str());
        if (!m_bClientDirExisted)
            RemoveDirectoryW(wxlmtest::ClientDir().c_str());
    }

private:
    bool m_bClientDirExisted = false;
    bool m_bLogDirExisted = false;
    std::wstring m_logPath;
    std::optional<std::string> m_savedLog;
};

[[maybe_unused]] ::testing::Environment* const g_logEnvironment =
    ::testing::AddGlobalTestEnvironment(new LogFolderEnvironment);

} // namespace

LogCapture::LogCapture() : m_nStart(LogSize()) {}

std::vector<std::string> LogCapture::NewEntries() const
{
    const std::string text = wxlmtest::ReadFileBytes(LogFilePath()).value_or("");
    std::vector<std::string> entries;
    size_t start = m_nStart;
    for (size_t end; start < text.size() && (end = text.find("\r\n", start)) != std::string::npos; start = end + 2) {
        // "YYYY-MM-DD hh:mm:ss.mmm " comes first.
        const std::string line = text.substr(start, end - start);
        entries.push_back(line.size() > 24 ? line.substr(24) : line);
    }
    return entries;
}
