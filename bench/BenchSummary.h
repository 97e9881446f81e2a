#pragma once

// One line per goal figure, "SUMMARY|figure|value|baseline|ratio|goal|met", which scripts/bench.sh
// gathers into the table it prints last.

#include <algorithm>
#include <cstdio>
#include <vector>

namespace bench {

// ratio = value / baseline; met when the ratio does not exceed the goal.
inline void SummaryLine(const char* pstrFigure, const char* pstrValue, const char* pstrBaseline, double ratio,
                        double goal)
{
    std::printf("SUMMARY|%s|%s|%s|%.2f|<= %.2f|%s\n", pstrFigure, pstrValue, pstrBaseline, ratio, goal,
                ratio <= goal ? "met" : "NOT met");
}

template <class T> T Median(std::vector<T> values)
{
    if (values.empty()) {
        return T();
    }
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace bench
