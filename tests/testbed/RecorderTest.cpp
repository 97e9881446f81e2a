#include <gtest/gtest.h>

#include "RecorderWindow.h"

using namespace wxlmtest;

TEST(Recorder, RecordsCopyDataAndUserMessages)
{
    RecorderWindow recorder;
    ASSERT_TRUE(recorder.Start(L"Recorder Title", L"RecorderTestClass"));
    EXPECT_EQ(FindWindowW(L"RecorderTestClass", L"Recorder Title"), recorder.Hwnd());

    const char payload[] = {1, 0, 0x7f, '\xff'};
    COPYDATASTRUCT cds = {7, sizeof payload, const_cast<char*>(payload)};
    EXPECT_EQ(SendMessageW(recorder.Hwnd(), WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&cds)), TRUE);
    PostMessageW(recorder.Hwnd(), WM_USER + 109, 3, -4);
    PostMessageW(recorder.Hwnd(), WM_TIMER, 0, 0);  // below WM_USER: not recorded

    ASSERT_TRUE(recorder.WaitForRecords(2));
    const auto records = recorder.Records();
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0].kind, RecordedMessage::Kind::CopyData);
    EXPECT_EQ(records[0].wParam, 7u);
    EXPECT_EQ(records[0].lParam, 4);
    EXPECT_EQ(records[0].bytes, std::string(payload, sizeof payload));
    EXPECT_EQ(records[1].kind, RecordedMessage::Kind::Message);
    EXPECT_EQ(records[1].message, WM_USER + 109u);
    EXPECT_EQ(records[1].wParam, 3u);
    EXPECT_EQ(records[1].lParam, -4);
}

TEST(Recorder, HoldsTheNamedMutexWhileItRuns)
{
    RecorderWindow recorder;
    ASSERT_TRUE(recorder.Start(L"Mutex Holder", L"RecorderTestClass", L"wxlm_recorder_test_mutex"));
    HANDLE mutex = CreateMutexW(nullptr, FALSE, L"wxlm_recorder_test_mutex");
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
    CloseHandle(mutex);

    recorder.Stop();
    EXPECT_FALSE(FindWindowW(L"RecorderTestClass", L"Mutex Holder"));
    mutex = CreateMutexW(nullptr, FALSE, L"wxlm_recorder_test_mutex");
    EXPECT_NE(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
    CloseHandle(mutex);
}
