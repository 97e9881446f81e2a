// The real wxlm_main.exe against hostile peers: a page that sends what no portal sends, other
// programs posting the launcher's message numbers with arbitrary parameters, and a settings file
// or log that is not what the launcher wrote. Each time: no crash, no hang, nothing lost, and the
// launcher still does its job (starts the game, closes with 0).
#include <gtest/gtest.h>
#include <windows.h>

#include "LauncherSession.h"
#include "LoaderMessages.h"
#include "RecorderWindow.h"
#include "TestPaths.h"

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <random>
#include <string>
#include <vector>

using namespace wxlmtest;

namespace {

// The windows of the launcher's own classes: the main window, its shadow and the browser's host
// window. (The system's hidden windows in the process, COM's among them, are not the launcher's.)
std::vector<HWND> LauncherWindows(DWORD processId, HWND main)
{
    struct Search {
        DWORD processId;
        std::vector<HWND> found;
    } search{processId, {}};
    const auto keep = [](HWND hWnd, LPARAM lParam) -> BOOL {
        auto* s = reinterpret_cast<Search*>(lParam);
        DWORD owner = 0;
        GetWindowThreadProcessId(hWnd, &owner);
        wchar_t name[64] = {};
        GetClassNameW(hWnd, name, 64);
        const std::wstring className = name;
        if (owner == s->processId &&
            (className == L"GameLoaderResClass" || className == L"TarvoShadowWnd" || className == L"ActiveXWnd"))
            s->found.push_back(hWnd);
        return TRUE;
    };
    EnumWindows(keep, reinterpret_cast<LPARAM>(&search));
    EnumChildWindows(main, keep, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// The window still answers within a second: its thread is not stuck.
bool Answers(HWND hWnd)
{
    DWORD_PTR result = 0;
    return SendMessageTimeoutW(hWnd, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &result) != 0;
}

// The host's name of a file of the prefix (Wine's own export), or "" outside Wine.
std::string UnixPath(const std::wstring& path)
{
    using UnixName = char*(CDECL*)(LPCWSTR);
    const auto unixName = reinterpret_cast<UnixName>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    char* name = unixName != nullptr ? unixName(path.c_str()) : nullptr;
    const std::string result = name != nullptr ? name : "";
    if (name != nullptr)
        HeapFree(GetProcessHeap(), 0, name);
    return result;
}

// True once writing to the file fails as on a full disk.
bool WritesAsOnAFullDisk(const std::wstring& path)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    const bool full = !WriteFile(file, "x", 1, &written, nullptr) && GetLastError() == ERROR_DISK_FULL;
    CloseHandle(file);
    return full;
}

// The host's name of a file of the prefix, through its folder's name, so that a link in the
// file's place is named and not followed.
std::string UnixPathOfEntry(const std::wstring& path)
{
    const size_t slash = path.find_last_of(L'\\');
    const std::string folder = slash == std::wstring::npos ? "" : UnixPath(path.substr(0, slash));
    if (folder.empty())
        return "";
    const std::wstring name = path.substr(slash + 1);
    return folder + "/" + std::string(name.begin(), name.end());
}

// Starts a program of the host (Wine runs one given by its path). Its end cannot be waited for,
// so callers wait for what it does.
bool RunHostProgram(const wchar_t* program, const std::wstring& arguments)
{
    std::wstring command = std::wstring(program) + L" " + arguments;
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(program, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return false;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}

bool EntryExists(const std::wstring& path)
{
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(path.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return false;
    FindClose(search);
    return true;
}

// Makes the file a link to the host's /dev/full, where every write fails with "disk full".
bool LinkToAFullDisk(const std::wstring& path)
{
    const std::string entry = UnixPathOfEntry(path);
    return !entry.empty() && RunHostProgram(L"Z:\\bin\\ln", L"-s /dev/full " + std::wstring(entry.begin(), entry.end())) &&
           WaitUntil([&] { return WritesAsOnAFullDisk(path); });
}

// Removes the link itself (Wine's DeleteFileW does not remove a link to a device).
bool RemoveLink(const std::wstring& path)
{
    const std::string entry = UnixPathOfEntry(path);
    return !entry.empty() && RunHostProgram(L"Z:\\bin\\unlink", std::wstring(entry.begin(), entry.end())) &&
           WaitUntil([&] { return !EntryExists(path); });
}

// The scenario escape of a UTF-16 code unit.
std::string Unit(unsigned unit)
{
    char text[8];
    snprintf(text, sizeof text, "\\u%04X", unit);
    return text;
}

const char* const IgnoredRequest = "WM_LOADER_OPEN_GAME ignored: not a request of the page bridge";

// Posts to the launcher's windows, counting the open-game requests its main window will log as
// ignored.
class PeerPoster {
public:
    explicit PeerPoster(HWND main) : m_main(main) {}

    void Post(HWND target, UINT message, WPARAM wParam, LPARAM lParam)
    {
        if (PostMessageW(target, message, wParam, lParam) && target == m_main && message == WM_LOADER_OPEN_GAME)
            ++m_openGamePosted;
    }
    size_t OpenGamePosted() const { return m_openGamePosted; }

private:
    HWND m_main;
    size_t m_openGamePosted = 0;
};

// Garbage pointers posted as open-game requests were logged and never read, and the launcher
// still does its job: the page's button starts the game and the launcher ends with 0.
void ExpectGarbageTurnedAwayAndTheJobStillDone(LauncherSession& session, HWND main, PeerPoster& poster)
{
    // One queue holds every posted message in order: once the request posted last is logged,
    // everything posted before it has been handled (a minimise still queued would undo the
    // restore below).
    poster.Post(main, WM_LOADER_OPEN_GAME, 0xDEADBEEF, 0);
    EXPECT_TRUE(WaitUntil([&] { return session.CountLogMessages(IgnoredRequest) >= poster.OpenGamePosted(); },
                          std::chrono::seconds(120)));
    EXPECT_EQ(session.CountLogMessages(IgnoredRequest), poster.OpenGamePosted());
    EXPECT_TRUE(session.Process().IsRunning());
    EXPECT_TRUE(session.GameStarts().empty());
    ShowWindow(main, SW_RESTORE);
    ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(main) && !IsIconic(main); }));
    ASSERT_TRUE(ClickLauncherPage(main, {480, 230}));
    EXPECT_EQ(session.WaitExit(), 0);
    ASSERT_TRUE(session.WaitForGameStart());
    EXPECT_EQ(session.GameStarts().at(0), (std::vector<std::string>{"--source=QV", "--token=tk"}));
}

// Numbers whose handling ends the launcher, opens a modal loop or a message box by design
// (close, drag, tray menu clicks, failures) are left to the tests of those paths.
bool IsLeftToItsOwnTests(UINT message)
{
    static const UINT byDesign[] = {WM_LOADER_CLOSE,          WM_LOADER_DRAG,          WM_LOADER_TRAY_NOTIFY,
                                    WM_LOADER_FILES_RELEASED, WM_LOADER_NETWORK_STATE, WM_LOADER_NAVIGATE_FAILED};
    return std::find(std::begin(byDesign), std::end(byDesign), message) != std::end(byDesign);
}

} // namespace

TEST(HostilePeerTest, AHostilePageNeitherCrashesNorStopsTheLauncher)
{
    std::string scenario = "page *\n";
    scenario += "call {\"funcation_name\":\"min_wnd\",\"pad\":\"" + std::string(10 * 1024 * 1024, 'x') + "\"}\n";
    scenario += "call " + std::string(100000, '[') + std::string(100000, ']') + "\n";
    std::string deepObject;
    for (int i = 0; i < 100000; ++i)
        deepObject += "{\"a\":";
    scenario += "call " + deepObject + "\n";
    scenario += "call {\"funcation_name\":\"x" + Unit(0xD800) + Unit(0xDFFF) + Unit(0xDC00) + Unit(0xD800) + "\"}\n";
    scenario += "call {\"funcation_name\":\"min_wnd" + Unit(0) + "\"}\n";
    scenario += "call " + Unit(0) + Unit(0) + "{}\n";
    scenario += "call-int -2147483648\ncall-null\ncall-object\ncall-none\ncall-two x\n";
    // Thousands of calls as fast as the page can make them.
    for (int i = 0; i < 3000; ++i)
        scenario += "call {\"funcation_name\":\"none\",\"i\":" + std::to_string(i) + "}\n";
    scenario += "call {\"funcation_name\":\"open_game\",\"token\":\"tk" + Unit(0xD800) + "\"}\n";

    LauncherSession session;
    session.SetScenario(scenario);
    ASSERT_TRUE(session.Start(L"--source=QV --token=tk"));
    // The page's last call opens the game: the launcher got through everything before it.
    EXPECT_EQ(session.WaitExit(std::chrono::seconds(120)), 0);
    ASSERT_TRUE(session.WaitForGameStart());
    ASSERT_EQ(session.GameStarts().size(), 1u);
    EXPECT_EQ(session.GameStarts()[0].at(0), "--source=QV");
    EXPECT_TRUE(session.HasLogMessage("min_wnd call"));
}

TEST(HostilePeerTest, OtherProgramsPostingTheLaunchersMessagesAreHarmless)
{
    LauncherSession session;
    ASSERT_TRUE(session.Start(L"--source=QV --token=tk"));
    ASSERT_TRUE(session.WaitVisible());
    const HWND main = session.Window();
    const std::vector<HWND> windows = LauncherWindows(session.Process().Pid(), main);
    ASSERT_GE(windows.size(), 3u) << "main window, shadow and the browser's host window";

    PeerPoster poster(main);
    const WPARAM params[] = {0, 1, 0x7FFFFFFF, static_cast<WPARAM>(-1), 0x00401000, 0xDEADBEEF};
    for (const HWND target : windows) {
        for (UINT message = WM_USER; message < WM_USER + 200; ++message) {
            if (IsLeftToItsOwnTests(message))
                continue;
            for (const WPARAM wParam : params)
                poster.Post(target, message, wParam, static_cast<LPARAM>(wParam ^ 0x5A5A5A5A));
        }
        // Tray notifications other than the right button's and the double click's.
        for (const LPARAM event : {LPARAM(0), LPARAM(WM_MOUSEMOVE), LPARAM(WM_LBUTTONUP), LPARAM(0x7FFFFFFF)})
            poster.Post(target, WM_LOADER_TRAY_NOTIFY, 0xDEADBEEF, event);
        // Copied data of every size a peer might send, with any kind.
        for (const DWORD size : {0u, 1u, 527u, 528u, 529u, 4096u, 1u << 20}) {
            std::string bytes(size, '\xA5');
            COPYDATASTRUCT data = {static_cast<ULONG_PTR>(size) * 7 + 1, size, size ? bytes.data() : nullptr};
            DWORD_PTR result = 0;
            SendMessageTimeoutW(target, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data), SMTO_ABORTIFHUNG, 5000,
                                &result);
        }
        EXPECT_TRUE(Answers(target));
        EXPECT_TRUE(Answers(main));
    }
    ExpectGarbageTurnedAwayAndTheJobStillDone(session, main, poster);
}

// A mutation driver: another program posts a seeded random storm of message numbers of the
// application ranges (WM_USER up to 0xBFFF) with random parameters to every window of the
// launcher, with copied data of random sizes and bytes in between.
TEST(HostilePeerTest, ARandomStormOfPostedMessagesIsHarmless)
{
    LauncherSession session;
    ASSERT_TRUE(session.Start(L"--source=QV --token=tk"));
    ASSERT_TRUE(session.WaitVisible());
    const HWND main = session.Window();
    const std::vector<HWND> windows = LauncherWindows(session.Process().Pid(), main);
    ASSERT_GE(windows.size(), 3u);

    // WXLM_STORM_SEED replays a storm that failed.
    const char* fixed = std::getenv("WXLM_STORM_SEED");
    const unsigned seed = fixed ? static_cast<unsigned>(std::strtoul(fixed, nullptr, 10)) : std::random_device{}();
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::mt19937 random(seed);
    std::uniform_int_distribution<UINT> number(WM_USER, 0xBFFF);
    std::uniform_int_distribution<unsigned long long> word;
    PeerPoster poster(main);
    for (int i = 0; i < 20000; ++i) {
        const HWND target = windows[i % windows.size()];
        UINT message = number(random);
        // Half of the storm falls on the launcher's own numbers, where handlers are.
        if (i % 2 == 0)
            message = WM_USER + number(random) % 200;
        if (IsLeftToItsOwnTests(message))
            continue;
        poster.Post(target, message, static_cast<WPARAM>(word(random)), static_cast<LPARAM>(word(random)));
        if (i % 500 == 0) {
            std::string bytes(random() % 4096, '\0');
            for (char& c : bytes)
                c = static_cast<char>(random());
            COPYDATASTRUCT data = {static_cast<ULONG_PTR>(word(random)), static_cast<DWORD>(bytes.size()),
                                   bytes.empty() ? nullptr : bytes.data()};
            DWORD_PTR result = 0;
            SendMessageTimeoutW(target, WM_COPYDATA, static_cast<WPARAM>(word(random)),
                                reinterpret_cast<LPARAM>(&data), SMTO_ABORTIFHUNG, 5000, &result);
            ASSERT_TRUE(Answers(main)) << "after " << i << " messages";
        }
    }
    for (const HWND target : windows)
        EXPECT_TRUE(Answers(target));
    ExpectGarbageTurnedAwayAndTheJobStillDone(session, main, poster);
}

// Settings files that are not what the client and the launcher write: the launcher starts and
// closes as usual, the notice run ends with 0, and the file is left exactly as it was.
TEST(HostilePeerTest, AHostileSettingsFileIsLeftAsItIs)
{
    std::string nested = "<settings>";
    for (int i = 0; i < 100000; ++i)
        nested += "<a>";
    std::string binary(4096, '\0');
    for (size_t i = 0; i < binary.size(); ++i)
        binary[i] = static_cast<char>((i * 131 + 7) & 0xFF);
    struct Case {
        const char* name;
        std::string bytes;
    };
    const Case cases[] = {
        {"huge", "<settings><qvwindowid>1</qvwindowid>" + std::string(3 * 1024 * 1024, ' ') + "</settings>"},
        {"binary", binary},
        {"deeply nested", nested},
        {"not XML", "qvwindowid=1\n"},
    };
    RecorderWindow client;
    ASSERT_TRUE(client.Start(L"client"));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        LauncherSession session;
        ASSERT_TRUE(WriteFileBytes(ClientSettingsPath(), c.bytes));
        ASSERT_TRUE(session.Start(L"--source=QV --token=tk --winid=" + client.HwndText()));
        ASSERT_TRUE(session.WaitVisible());
        EXPECT_EQ(session.CloseWindow(), 0);
        EXPECT_EQ(RunToEnd(MainExePath(), L"{\"type\":1}"), std::optional<DWORD>(0u));
        EXPECT_EQ(ReadFileBytes(ClientSettingsPath()), std::optional<std::string>(c.bytes));
    }
}

TEST(HostilePeerTest, ASettingsPathThatIsAFolderOrLockedIsLeftAsItIs)
{
    RecorderWindow client;
    ASSERT_TRUE(client.Start(L"client"));
    const std::wstring path = ClientSettingsPath();
    {
        LauncherSession session;
        DeleteFileW(path.c_str());
        ASSERT_TRUE(CreateDirectoryW(path.c_str(), nullptr));
        ASSERT_TRUE(session.Start(L"--source=QV --token=tk --winid=" + client.HwndText()));
        ASSERT_TRUE(session.WaitVisible());
        EXPECT_EQ(session.CloseWindow(), 0);
        const size_t before = client.Records().size();
        EXPECT_EQ(RunToEnd(MainExePath(), L"{\"type\":1}"), std::optional<DWORD>(0u));
        EXPECT_EQ(client.Records().size(), before) << "no window named by the settings";
        EXPECT_NE(GetFileAttributesW(path.c_str()) & FILE_ATTRIBUTE_DIRECTORY, 0u);
        RemoveDirectoryW(path.c_str());
    }
    {
        LauncherSession session;
        const std::string bytes = "<settings><qvwindowid>1</qvwindowid></settings>";
        ASSERT_TRUE(WriteFileBytes(path, bytes));
        const HANDLE lock = CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                        FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(lock, INVALID_HANDLE_VALUE);
        ASSERT_TRUE(session.Start(L"--source=QV --token=tk --winid=" + client.HwndText()));
        ASSERT_TRUE(session.WaitVisible());
        EXPECT_EQ(session.CloseWindow(), 0);
        const size_t before = client.Records().size();
        EXPECT_EQ(RunToEnd(MainExePath(), L"{\"type\":1}"), std::optional<DWORD>(0u));
        EXPECT_EQ(client.Records().size(), before) << "the locked settings could not be read";
        CloseHandle(lock);
        EXPECT_EQ(ReadFileBytes(path), std::optional<std::string>(bytes));
    }
}

// A log that cannot be written: its file name taken by a folder, the file locked, or the log
// folder's name taken by a file. The launcher carries on silently and leaves what is there alone.
TEST(HostilePeerTest, ALogThatCannotBeWrittenStopsNothing)
{
    const std::wstring logPath = TodaysLogPath();
    const std::wstring logDir = LogDir();
    const std::wstring aside = logDir + L".aside";
    const std::string kept = "written by someone else\r\n";
    HANDLE lock = INVALID_HANDLE_VALUE;
    struct Blocker {
        const char* what;
        std::function<bool()> block;
        std::function<bool()> unchanged;
        std::function<void()> unblock;
    };
    const Blocker blockers[] = {
        {"a folder named as the log file", [&] { return CreateDirectoryW(logPath.c_str(), nullptr) != 0; },
         [&] { return (GetFileAttributesW(logPath.c_str()) & FILE_ATTRIBUTE_DIRECTORY) != 0; },
         [&] { RemoveDirectoryW(logPath.c_str()); }},
        // Held by another program without sharing. (A read-only file would not do: the tests run as
        // root, and Wine then writes it all the same.)
        {"a log file locked by another program",
         [&] {
             lock = WriteFileBytes(logPath, kept) ? CreateFileW(logPath.c_str(), GENERIC_READ, 0, nullptr,
                                                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)
                                                  : INVALID_HANDLE_VALUE;
             return lock != INVALID_HANDLE_VALUE;
         },
         [&] {
             CloseHandle(lock);
             return ReadFileBytes(logPath) == std::optional<std::string>(kept);
         },
         [&] { DeleteFileW(logPath.c_str()); }},
        // The byte launchers lock to append whole entries, held for good by another program: the
        // launcher waits a little, then writes its entries all the same.
        {"the log's append lock held by another program",
         [&] {
             lock = CreateFileW(logPath.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
             OVERLAPPED region = {};
             region.OffsetHigh = 0x7FFFFFFF;
             return lock != INVALID_HANDLE_VALUE &&
                    LockFileEx(lock, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &region);
         },
         [&] {
             CloseHandle(lock);
             return ReadFileBytes(logPath).value_or("").find("LoadGame start") != std::string::npos;
         },
         [&] { DeleteFileW(logPath.c_str()); }},
        // Every write fails with ERROR_DISK_FULL, as on a full disk.
        {"a log on a full disk", [&] { return LinkToAFullDisk(logPath); },
         [&] { return WritesAsOnAFullDisk(logPath); }, [&] { EXPECT_TRUE(RemoveLink(logPath)); }},
        {"a file named as the log folder",
         [&] { return MoveFileW(logDir.c_str(), aside.c_str()) && WriteFileBytes(logDir, kept); },
         [&] { return ReadFileBytes(logDir) == std::optional<std::string>(kept); },
         [&] {
             DeleteFileW(logDir.c_str());
             MoveFileW(aside.c_str(), logDir.c_str());
         }},
    };
    CreateDirectoryW(logDir.c_str(), nullptr);
    const std::optional<std::string> saved = ReadFileBytes(logPath);
    DeleteFileW(logPath.c_str());
    for (const Blocker& blocker : blockers) {
        SCOPED_TRACE(blocker.what);
        ASSERT_TRUE(blocker.block());
        {
            LauncherSession session;
            session.SetScenario("page *\ncall {\"funcation_name\":\"open_game\"}\n");
            EXPECT_TRUE(session.Start(L"--source=QV --token=tk"));
            EXPECT_EQ(session.WaitExit(), 0);
            EXPECT_TRUE(session.WaitForGameStart());
        }
        EXPECT_TRUE(blocker.unchanged());
        blocker.unblock();
    }
    if (saved)
        WriteFileBytes(logPath, *saved);
}
