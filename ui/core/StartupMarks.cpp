#include "core/StartupMarks.h"

#include <cwchar>

namespace Tarvo {

namespace {

struct Moment {
    const wchar_t* pstrName;
    LONGLONG ticks;
};

Moment s_moments[CStartupMarksUI::Capacity];
int s_nCount = 0;

} // namespace

void CStartupMarksUI::Mark(const wchar_t* pstrName, bool bLatest)
{
    LARGE_INTEGER now;
    ::QueryPerformanceCounter(&now);
    for (int i = 0; i < s_nCount; ++i) {
        if (std::wcscmp(s_moments[i].pstrName, pstrName) == 0) {
            if (bLatest) {
                s_moments[i].ticks = now.QuadPart;
            }
            return;
        }
    }
    if (s_nCount < Capacity) {
        s_moments[s_nCount++] = {pstrName, now.QuadPart};
    }
}

int CStartupMarksUI::Count()
{
    return s_nCount;
}

const wchar_t* CStartupMarksUI::Name(int index)
{
    return index >= 0 && index < s_nCount ? s_moments[index].pstrName : L"";
}

LONGLONG CStartupMarksUI::Ticks(int index)
{
    return index >= 0 && index < s_nCount ? s_moments[index].ticks : 0;
}

} // namespace Tarvo
