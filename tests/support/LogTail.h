#pragma once

#include <string>
#include <vector>

namespace wxlmtest {

// One line of a launcher log: "<time> [<file><<line>><function>] : <message>".
struct LogEntry {
    std::string function;
    std::string message;
};

// The entries a log file gains after this object was made.
class LogTail {
public:
    explicit LogTail(std::wstring path);
    std::vector<LogEntry> NewEntries() const;
    std::vector<std::string> NewMessages() const;

private:
    std::wstring m_strPath;
    size_t m_nStart = 0;
};

} // namespace wxlmtest
