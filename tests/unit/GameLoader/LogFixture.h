#pragma once

#include <algorithm>
#include <string>
#include <vector>

#include "TestLog.h"

// The message texts of the entries the capture has seen (what follows "] : ").
inline std::vector<std::string> NewMessages(const LogCapture& log)
{
    std::vector<std::string> messages;
    for (const std::string& entry : log.NewEntries()) {
        const size_t at = entry.find("] : ");
        messages.push_back(at == std::string::npos ? entry : entry.substr(at + 4));
    }
    return messages;
}

inline bool StartsWith(const std::string& text, const std::string& prefix)
{
    return text.compare(0, prefix.size(), prefix) == 0;
}

inline size_t CountStartingWith(const std::vector<std::string>& lines, const std::string& prefix)
{
    return static_cast<size_t>(
        std::count_if(lines.begin(), lines.end(), [&](const std::string& line) { return StartsWith(line, prefix); }));
}
