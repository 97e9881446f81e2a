#include "LogText.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <climits>
#include <cstdint>
#include <sstream>
#include <string>

namespace {

// Writes the same pieces into a LogText and into a wide string stream, which log lines were
// formatted with before.
template <typename... Pieces> void ExpectAsAStreamWrites(const Pieces&... pieces)
{
    LogText text;
    (text << ... << pieces);
    std::wostringstream stream;
    (stream << ... << pieces);
    EXPECT_EQ(text.str(), stream.str());
}

TEST(LogTextTest, WritesTextAndNumbersAsAWideStreamDoes)
{
    const std::wstring path = L"C:\\Program Files (x86)\\wxlm\\wxlm.exe";
    const wchar_t fixed[8] = L"abc";
    ExpectAsAStreamWrites(L"m_nGameInstalled is", 0);
    ExpectAsAStreamWrites(L"path:", path, L" pid:", DWORD(4294967295u), L" code:", -2147483647 - 1);
    ExpectAsAStreamWrites(fixed, L'|', std::size_t(1234567890), L'|', LLONG_MIN, L'|', ULLONG_MAX);
    ExpectAsAStreamWrites(true, false, short(-7), static_cast<unsigned char>(200), std::int8_t(-5));
    ExpectAsAStreamWrites(std::wstring(L"embedded\0nul", 12), L"end");
}

TEST(LogTextTest, ANullTextAddsNothing)
{
    const wchar_t* none = nullptr;
    LogText text;
    text << L"before" << none << L"after";
    EXPECT_EQ(text.str(), L"beforeafter");
}

} // namespace
