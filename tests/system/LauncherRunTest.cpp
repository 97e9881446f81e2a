#include <gtest/gtest.h>

#include <windows.h>
#include <shellapi.h>

#include "LauncherRun.h"
#include "TestFiles.h"
#include "TestPaths.h"

using namespace wxlmtest;

// The "made no window" checks of the launcher tests are only as good as this.
TEST(LauncherRunWatch, SeesTheWindowOfAProgramThatMakesOne)
{
    TempDir dir;
    const LauncherRun run =
        RunWatched(TestbedPath(L"recorder.exe"),
                   QuoteArgument(L"--title=Watched") + L" " + QuoteArgument(L"--out=" + (dir / L"r")),
                   std::chrono::seconds(20), true);
    EXPECT_GE(run.windowsCreated, 1);
}

TEST(LauncherRunWatch, QuotedArgumentsSplitBackUnchanged)
{
    for (const std::wstring& argument :
         {std::wstring(L"{\"type\":1}"), std::wstring(L"a b\\"), std::wstring(L"x\\\"y"), std::wstring(L"")}) {
        int count = 0;
        wchar_t** argv = CommandLineToArgvW((L"prog.exe " + QuoteArgument(argument)).c_str(), &count);
        ASSERT_TRUE(argv);
        EXPECT_EQ(count, 2);
        EXPECT_EQ(count == 2 ? std::wstring(argv[1]) : std::wstring(), argument);
        LocalFree(argv);
    }
}
