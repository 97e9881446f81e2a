#pragma once

#include <string>
#include <vector>

// Every test of this executable logs through the process-wide logger into the prefix's client Log
// folder; a global environment points the logger there and puts the folder back as it was at the end.

// The lines the process-wide logger appends after construction, without their time stamps.
class LogCapture {
public:
    LogCapture();
    std::vector<std::string> NewEntries() const;

private:
    size_t m_nStart = 0;
};
