#include "RecorderWindow.h"

#include <sstream>

#include "TestPaths.h"

namespace wxlmtest {

namespace {

const UINT kRecorderQuit = WM_USER + 999;

std::string Unhex(const std::string& hex)
{
    std::string bytes;
    for (size_t i = 0; i + 1 < hex.size(); i += 2)
        bytes.push_back(static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16)));
    return bytes;
}

RecordedMessage ParseRecord(const std::string& line)
{
    std::istringstream in(line);
    std::string kind;
    RecordedMessage record;
    in >> kind;
    if (kind == "copydata") {
        std::string hex;
        record.kind = RecordedMessage::Kind::CopyData;
        record.message = WM_COPYDATA;
        in >> record.wParam >> record.lParam >> hex;
        record.bytes = Unhex(hex);
    } else {
        in >> record.message >> record.wParam >> record.lParam;
    }
    return record;
}

}  // namespace

bool RecorderWindow::Start(const std::wstring& title, const std::wstring& className, const std::wstring& mutexName)
{
    std::wstring tail = L"\"--title=" + title + L"\" \"--class=" + className + L"\" \"--out=" + (m_dir / L"records") +
                        L"\" \"--hwnd-file=" + (m_dir / L"hwnd") + L"\"";
    if (!mutexName.empty())
        tail += L" \"--mutex=" + mutexName + L"\"";
    if (!m_process.Start(TestbedPath(L"recorder.exe"), tail))
        return false;
    const std::wstring hwndFile = m_dir / L"hwnd";
    if (!WaitUntil([&] { return FileExists(hwndFile) || !m_process.IsRunning(); }) || !FileExists(hwndFile))
        return false;
    m_hWnd = reinterpret_cast<HWND>(static_cast<UINT_PTR>(std::stoull(ReadFileBytes(hwndFile).value_or("0"))));
    return IsWindow(m_hWnd) != FALSE;
}

std::wstring RecorderWindow::HwndText() const
{
    return std::to_wstring(reinterpret_cast<UINT_PTR>(m_hWnd));
}

std::vector<RecordedMessage> RecorderWindow::Records() const
{
    std::vector<RecordedMessage> records;
    std::istringstream in(ReadFileBytes(m_dir / L"records").value_or(""));
    std::string line;
    while (std::getline(in, line))
        if (!line.empty())
            records.push_back(ParseRecord(line));
    return records;
}

bool RecorderWindow::WaitForRecords(size_t count, std::chrono::milliseconds timeout) const
{
    return WaitUntil([&] { return Records().size() >= count; }, timeout);
}

void RecorderWindow::Stop()
{
    if (m_hWnd && m_process.IsRunning()) {
        PostMessageW(m_hWnd, kRecorderQuit, 0, 0);
        m_process.Wait(std::chrono::seconds(5));
    }
    m_process.Kill();
    m_hWnd = nullptr;
}

}  // namespace wxlmtest
