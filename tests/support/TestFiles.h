#pragma once

#include <chrono>
#include <functional>
#include <optional>
#include <string>

namespace wxlmtest {

using namespace std::chrono_literals;

// Polls until the condition holds or the time-out passes; returns the last answer.
bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout = 20s);

std::optional<std::string> ReadFileBytes(const std::wstring& path);
bool WriteFileBytes(const std::wstring& path, const std::string& bytes);
bool FileExists(const std::wstring& path);
bool RemoveTree(const std::wstring& path);
std::string Narrow(const std::wstring& text, unsigned codePage = 65001 /* CP_UTF8 */);
std::wstring Widen(const std::string& text, unsigned codePage = 65001 /* CP_UTF8 */);

// A fresh folder under the temp folder, removed with everything in it at the end.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::wstring& Path() const { return m_strPath; }
    std::wstring operator/(const std::wstring& name) const { return m_strPath + L"\\" + name; }

private:
    std::wstring m_strPath;
};

// Saves a file (or its absence) and puts it back at the end of the scope.
class ScopedFileRestore {
public:
    explicit ScopedFileRestore(std::wstring path);
    ~ScopedFileRestore();
    ScopedFileRestore(const ScopedFileRestore&) = delete;
    ScopedFileRestore& operator=(const ScopedFileRestore&) = delete;

private:
    std::wstring m_strPath;
    std::optional<std::string> m_saved;
};

// Sets an environment variable of this process (and of the processes it starts) and puts the
// earlier value, or its absence, back at the end of the scope.
class ScopedEnvironment {
public:
    ScopedEnvironment(const wchar_t* name, const std::wstring& value);
    ~ScopedEnvironment();
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

private:
    std::wstring m_strName;
    std::optional<std::wstring> m_saved;
};

}  // namespace wxlmtest
