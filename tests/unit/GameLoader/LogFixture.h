#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "LogTail.h"
#include "Common.h"
#include "Logger.h"

// The log file this test executable writes through the launcher's code.
inline std::wstring OwnLogPath()
{
    if (Logger::pathDir().empty())
        Logger::initializePathDir();
    return MultiToWide(Logger::instance().fileName());
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
