#include "CookieRule.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct OptionCall {
    void* internet;
    DWORD option;
    DWORD value;
    DWORD length;
};

std::vector<OptionCall> g_calls;

BOOL WINAPI RecordOption(void* internet, DWORD option, void* buffer, DWORD length)
{
    g_calls.push_back({internet, option, length == sizeof(DWORD) ? *static_cast<DWORD*>(buffer) : 0xFFFFFFFF, length});
    return TRUE;
}

BOOL WINAPI RefuseOption(void*, DWORD, void*, DWORD)
{
    return FALSE;
}

TEST(CookieRuleTest, InstalledOneSuppressesPersistentCookiesProcessWide)
{
    g_calls.clear();
    EXPECT_TRUE(ApplyCookieRule(1, &RecordOption));
    ASSERT_EQ(g_calls.size(), 1u);
    EXPECT_EQ(g_calls[0].internet, nullptr);
    EXPECT_EQ(g_calls[0].option, 81u);
    EXPECT_EQ(g_calls[0].value, 3u);
    EXPECT_EQ(g_calls[0].length, 4u);
}

TEST(CookieRuleTest, AnyOtherInstallStateLeavesTheOptionAlone)
{
    g_calls.clear();
    for (const int installed : {0, 2, -1, 11, 0x7FFFFFFF})
        EXPECT_FALSE(ApplyCookieRule(installed, &RecordOption)) << installed;
    EXPECT_TRUE(g_calls.empty());
}

TEST(CookieRuleTest, RefusedOptionIsReported)
{
    EXPECT_FALSE(ApplyCookieRule(1, &RefuseOption));
}

TEST(CookieRuleTest, WinInetTakesTheOption)
{
    EXPECT_TRUE(ApplyCookieRule(1));
}

} // namespace
