#include "TestFiles.h"

#include <windows.h>
#include <shellapi.h>

#include <thread>

namespace wxlmtest {

bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout)
{
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!condition()) {
        if (std::chrono::steady_clock::now() >= deadline)
            return condition();
        std::this_thread::sleep_for(10ms);
    }
    return true;
}

std::optional<std::string> ReadFileBytes(const std::wstring& path)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return std::nullopt;
    // A device in a file's place (a link to /dev/full or /dev/zero) has no contents to read.
    if (GetFileType(file) != FILE_TYPE_DISK) {
        CloseHandle(file);
        return std::nullopt;
    }
    std::string bytes;
    char buffer[65536];
    DWORD read = 0;
    while (ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0)
        bytes.append(buffer, read);
    CloseHandle(file);
    return bytes;
}

bool WriteFileBytes(const std::wstring& path, const std::string& bytes)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    const bool ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                    written == bytes.size();
    CloseHandle(file);
    return ok;
}

bool FileExists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

bool RemoveTree(const std::wstring& path)
{
    if (!FileExists(path))
        return true;
    std::wstring from = path;
    from.push_back(L'\0');  // SHFileOperation takes a double-terminated list
    SHFILEOPSTRUCTW op = {};
    op.wFunc = FO_DELETE;
    op.pFrom = from.c_str();
    op.fFlags = FOF_NO_UI;
    return SHFileOperationW(&op) == 0 && !FileExists(path);
}

std::string Narrow(const std::wstring& text, unsigned codePage)
{
    if (text.empty())
        return {};
    const int size = WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                         nullptr, nullptr);
    std::string out(size, '\0');
    WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), out.data(), size, nullptr, nullptr);
    return out;
}

std::wstring Widen(const std::string& text, unsigned codePage)
{
    if (text.empty())
        return {};
    const int size = MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring out(size, L'\0');
    MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), out.data(), size);
    return out;
}

TempDir::TempDir()
{
    wchar_t base[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, base);
    static unsigned counter = 0;
    for (;;) {
        m_strPath = std::wstring(base) + L"wxlmtest_" + std::to_wstring(GetCurrentProcessId()) + L"_" +
                    std::to_wstring(++counter);
        if (CreateDirectoryW(m_strPath.c_str(), nullptr))
            break;
    }
}

TempDir::~TempDir() { RemoveTree(m_strPath); }

ScopedFileRestore::ScopedFileRestore(std::wstring path) : m_strPath(std::move(path)), m_saved(ReadFileBytes(m_strPath))
{
}

ScopedFileRestore::~ScopedFileRestore()
{
    SetFileAttributesW(m_strPath.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (m_saved)
        WriteFileBytes(m_strPath, *m_saved);
    else
        DeleteFileW(m_strPath.c_str());
}

ScopedEnvironment::ScopedEnvironment(const wchar_t* name, const std::wstring& value) : m_strName(name)
{
    const DWORD size = GetEnvironmentVariableW(name, nullptr, 0);
    if (size > 0) {
        std::wstring saved(size, L'\0');
        saved.resize(GetEnvironmentVariableW(name, saved.data(), size));
        m_saved = std::move(saved);
    }
    SetEnvironmentVariableW(name, value.c_str());
}

ScopedEnvironment::~ScopedEnvironment()
{
    SetEnvironmentVariableW(m_strName.c_str(), m_saved ? m_saved->c_str() : nullptr);
}

}  // namespace wxlmtest
