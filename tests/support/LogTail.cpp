#include "LogTail.h"

#include <sstream>

#include "TestFiles.h"

namespace wxlmtest {

namespace {

LogEntry ParseEntry(const std::string& line)
{
    LogEntry entry;
    const size_t open = line.find(" [");
    const size_t close = line.find("] : ", open == std::string::npos ? 0 : open);
    if (open == std::string::npos || close == std::string::npos) {
        entry.message = line;
        return entry;
    }
    const size_t nameStart = line.rfind('>', close);
    if (nameStart != std::string::npos && nameStart > open)
        entry.function = line.substr(nameStart + 1, close - nameStart - 1);
    entry.message = line.substr(close + 4);
    return entry;
}

} // namespace

LogTail::LogTail(std::wstring path) : m_strPath(std::move(path))
{
    m_nStart = ReadFileBytes(m_strPath).value_or("").size();
}

std::vector<LogEntry> LogTail::NewEntries() const
{
    const std::string text = ReadFileBytes(m_strPath).value_or("");
    std::istringstream in(text.size() > m_nStart ? text.substr(m_nStart) : std::string());
    std::vector<LogEntry> entries;
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (!line.empty())
            entries.push_back(ParseEntry(line));
    }
    return entries;
}

std::vector<std::string> LogTail::NewMessages() const
{
    std::vector<std::string> messages;
    for (const LogEntry& entry : NewEntries())
        messages.push_back(entry.message);
    return messages;
}

} // namespace wxlmtest
