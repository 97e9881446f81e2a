#pragma once

#include <windows.h>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include "ChildProcess.h"
#include "TestFiles.h"

namespace wxlmtest {

// One thing the recorder stand-in received.
struct RecordedMessage {
    enum class Kind { CopyData, Message } kind = Kind::Message;
    unsigned long message = 0;      // WM_COPYDATA for copy data
    unsigned long long wParam = 0;  // dwData for copy data
    long long lParam = 0;           // cbData for copy data
    std::string bytes;              // the copied bytes
};

// Runs testbed\recorder.exe: a window that records WM_COPYDATA and WM_USER+ messages.
class RecorderWindow {
public:
    RecorderWindow() = default;
    ~RecorderWindow() { Stop(); }
    RecorderWindow(const RecorderWindow&) = delete;
    RecorderWindow& operator=(const RecorderWindow&) = delete;

    // Starts the window and waits until its handle is known.
    bool Start(const std::wstring& title, const std::wstring& className = L"WxlmRecorder",
               const std::wstring& mutexName = {});
    HWND Hwnd() const { return m_hWnd; }
    std::wstring HwndText() const;  // decimal, as the launcher reads it
    std::vector<RecordedMessage> Records() const;
    // Waits until at least count records arrived.
    bool WaitForRecords(size_t count, std::chrono::milliseconds timeout = std::chrono::seconds(20)) const;
    // Closes the window and waits for the process to end.
    void Stop();
    DWORD Pid() const { return m_process.Pid(); }

private:
    TempDir m_dir;
    ChildProcess m_process;
    HWND m_hWnd = nullptr;
};

}  // namespace wxlmtest
