// Start-up of a launcher-like program (build the main skin from the zip resource, lay out, first
// paint: testbed/skin_probe.exe) against a minimal Win32 program that only creates and paints an
// empty 960x620 window (testbed/empty_window.exe), both from process start until the first paint is
// done, in one run, with the moments in between that the programs report (testbed/Handshake.h);
// their peak working sets, read from the live processes; the real wxlm_main.exe from process start
// until its portal request reaches the stand-in browser; and the time to build the main skin alone,
// in this process.
#include <windows.h>
#include <psapi.h>
#include <shlobj.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "BenchSummary.h"
#include "controls/Control.h"
#include "core/ResourceSettings.h"
#include "core/SkinBuilder.h"
#include "core/WindowManager.h"

using namespace Tarvo;
using Clock = std::chrono::steady_clock;

namespace {

constexpr int Starts = 15;
constexpr int LauncherStarts = 9;
constexpr int Builds = 200;

std::wstring BuildDir()
{
    wchar_t szPath[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, szPath, MAX_PATH);
    std::wstring path(szPath);
    path.resize(path.find_last_of(L'\\')); // bench
    path.resize(path.find_last_of(L'\\')); // the build folder
    return path;
}

std::wstring TempFolder()
{
    wchar_t szTemp[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, szTemp);
    return szTemp;
}

std::string ReadFileBytes(const std::wstring& path, bool& exists)
{
    const HANDLE hFile = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                       nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    exists = hFile != INVALID_HANDLE_VALUE;
    std::string bytes;
    if (!exists) {
        return bytes;
    }
    char buffer[4096];
    DWORD read = 0;
    while (::ReadFile(hFile, buffer, sizeof buffer, &read, nullptr) && read > 0) {
        bytes.append(buffer, read);
    }
    ::CloseHandle(hFile);
    return bytes;
}

void WriteFileBytes(const std::wstring& path, const std::string& bytes)
{
    const HANDLE hFile =
        ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (hFile != INVALID_HANDLE_VALUE) {
        DWORD written = 0;
        ::WriteFile(hFile, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
        ::CloseHandle(hFile);
    }
}

double TicksToMs(LONGLONG ticks)
{
    LARGE_INTEGER frequency;
    ::QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(ticks) / static_cast<double>(frequency.QuadPart);
}

LONGLONG Now()
{
    LARGE_INTEGER now;
    ::QueryPerformanceCounter(&now);
    return now.QuadPart;
}

// Moments (ms after process start) read from a marks file of "<what>\t<counter>" lines.
std::map<std::string, double> ReadMarks(const std::wstring& path, LONGLONG start)
{
    bool exists = false;
    std::istringstream lines(ReadFileBytes(path, exists));
    ::DeleteFileW(path.c_str());
    std::map<std::string, double> marks;
    std::string line;
    while (std::getline(lines, line)) {
        const size_t tab = line.find('\t');
        if (tab != std::string::npos) {
            marks[line.substr(0, tab)] = TicksToMs(std::stoll(line.substr(tab + 1)) - start);
        }
    }
    return marks;
}

struct RunResult {
    double milliseconds = 0;
    SIZE_T peakWorkingSet = 0;
    DWORD exitCode = static_cast<DWORD>(-1);
    std::map<std::string, double> marks;
};

// The child signals "<name>-ready" after its first paint and waits for "<name>-release" (see
// testbed/Handshake.h), so its working set is read while it still exists.
RunResult RunOnce(const std::wstring& exe, const std::wstring& args)
{
    static int s_nRun = 0;
    const std::wstring name =
        L"wxlm-startup-bench-" + std::to_wstring(::GetCurrentProcessId()) + L"-" + std::to_wstring(++s_nRun);
    const HANDLE hReady = ::CreateEventW(nullptr, TRUE, FALSE, (name + L"-ready").c_str());
    const HANDLE hRelease = ::CreateEventW(nullptr, TRUE, FALSE, (name + L"-release").c_str());
    std::wstring commandLine = L"\"" + exe + L"\" " + args + L" --handshake " + name;
    STARTUPINFOW si = {};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi = {};
    RunResult result;
    const LONGLONG start = Now();
    if (::CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
        const HANDLE waits[] = {hReady, pi.hProcess};
        const bool bReady = ::WaitForMultipleObjects(2, waits, FALSE, 60000) == WAIT_OBJECT_0;
        result.milliseconds = TicksToMs(Now() - start);
        PROCESS_MEMORY_COUNTERS counters = {};
        counters.cb = sizeof(counters);
        if (bReady && ::GetProcessMemoryInfo(pi.hProcess, &counters, sizeof(counters))) {
            result.peakWorkingSet = counters.PeakWorkingSetSize;
        }
        ::SetEvent(hRelease);
        ::WaitForSingleObject(pi.hProcess, 60000);
        ::GetExitCodeProcess(pi.hProcess, &result.exitCode);
        if (!bReady) {
            result.exitCode = static_cast<DWORD>(-1);
        }
        ::CloseHandle(pi.hThread);
        ::CloseHandle(pi.hProcess);
        result.marks = ReadMarks(TempFolder() + name + L".marks", start);
    }
    ::CloseHandle(hReady);
    ::CloseHandle(hRelease);
    return result;
}

struct Summary {
    std::vector<double> times;
    std::vector<double> peaks;
    std::map<std::string, std::vector<double>> marks;
    bool ok = true;

    void Add(const RunResult& run)
    {
        ok &= run.exitCode == 0;
        times.push_back(run.milliseconds);
        peaks.push_back(static_cast<double>(run.peakWorkingSet) / (1024 * 1024));
        for (const auto& [what, ms] : run.marks) {
            marks[what].push_back(ms);
        }
    }
    double MedianMs() const { return bench::Median(times); }
    // The moment the program's first paint was done, as it reported it (0 when it did not): later
    // work, such as the drop shadow drawn once the window has painted, is not part of it.
    double MedianFirstPaintMs() const
    {
        const auto it = marks.find("first paint done");
        return it != marks.end() && it->second.size() == times.size() ? bench::Median(it->second) : 0;
    }
    double MedianPeakMiB() const { return bench::Median(peaks); }
};

// Alternates the two programs so that drift of the machine hits both alike.
// Also the baseline with one layered window of the drop shadow's size: what the shadow costs
// under this system before any framework code runs (the memory floor of a shadowed window).
void MeasureStarts(const std::wstring& launcherExe, const std::wstring& baselineExe, Summary& launcher,
                   Summary& baseline, Summary& layered)
{
    RunOnce(launcherExe, L"134 GameLoader.xml"); // warm the file cache for both
    RunOnce(baselineExe, L"");
    for (int i = 0; i < Starts; ++i) {
        launcher.Add(RunOnce(launcherExe, L"134 GameLoader.xml"));
        baseline.Add(RunOnce(baselineExe, L""));
        layered.Add(RunOnce(baselineExe, L"--layered-window"));
    }
}

HWND WindowOfProcess(DWORD processId)
{
    struct Search {
        DWORD processId;
        HWND found;
    } search = {processId, nullptr};
    ::EnumWindows(
        [](HWND hWnd, LPARAM lParam) -> BOOL {
            auto* pSearch = reinterpret_cast<Search*>(lParam);
            DWORD owner = 0;
            ::GetWindowThreadProcessId(hWnd, &owner);
            wchar_t szClass[64] = {};
            ::GetClassNameW(hWnd, szClass, 64);
            if (owner == pSearch->processId && std::wstring(szClass) == L"GameLoaderResClass") {
                pSearch->found = hWnd;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// One start of wxlm_main.exe with the stand-in browser recording: ms from process start until the
// navigation to the portal has reached the browser (0 when it never came), then the window is
// closed as the system closes it. The browser sets an event when it has the request, as the
// baseline does after its first paint; polling its record file instead would add the polling's
// delay and take the processor from the launcher while it starts.
double RunLauncherOnce(const std::wstring& exe, SIZE_T& workingSet)
{
    const std::wstring record = TempFolder() + L"wxlm-startup-bench-browser.log";
    ::DeleteFileW(record.c_str());
    ::SetEnvironmentVariableW(L"WXLM_PORTAL_RECORD", record.c_str());
    const std::wstring eventName = L"wxlm-startup-bench-navigation-" + std::to_wstring(::GetCurrentProcessId());
    const HANDLE hNavigated = ::CreateEventW(nullptr, TRUE, FALSE, eventName.c_str());
    ::SetEnvironmentVariableW(L"WXLM_PORTAL_NAVIGATION_EVENT", eventName.c_str());
    std::wstring commandLine = L"\"" + exe + L"\" --source=QV --token=tk";
    // The launcher echoes its log lines to its standard error; they do not belong in the report and
    // go to a temporary file. Not to NUL: Wine writes to the host's /dev/null hundreds of times
    // slower than to a file or a pipe (near 3 ms a write here, against a few microseconds), which
    // no user's launcher pays (started by the client, a launcher has no standard handles).
    SECURITY_ATTRIBUTES inherit = {sizeof(inherit), nullptr, TRUE};
    const std::wstring echo = TempFolder() + L"wxlm-startup-bench-echo.txt";
    const HANDLE hEcho = ::CreateFileW(echo.c_str(), GENERIC_READ | GENERIC_WRITE,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, &inherit, CREATE_ALWAYS,
                                      FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    STARTUPINFOW si = {};
    si.cb = sizeof(si);
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdInput = si.hStdOutput = si.hStdError = hEcho;
    PROCESS_INFORMATION pi = {};
    const LONGLONG start = Now();
    const BOOL bStarted =
        ::CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi);
    ::CloseHandle(hEcho);
    ::SetEnvironmentVariableW(L"WXLM_PORTAL_NAVIGATION_EVENT", nullptr);
    if (!bStarted) {
        ::CloseHandle(hNavigated);
        return 0;
    }
    const HANDLE waits[] = {hNavigated, pi.hProcess};
    double milliseconds = ::WaitForMultipleObjects(2, waits, FALSE, 30000) == WAIT_OBJECT_0 ? TicksToMs(Now() - start) : 0;
    ::CloseHandle(hNavigated);
    bool exists = false;
    if (ReadFileBytes(record, exists).find("navigate\t") == std::string::npos) {
        milliseconds = 0;
    }
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof(counters);
    workingSet = ::GetProcessMemoryInfo(pi.hProcess, &counters, sizeof(counters)) ? counters.PeakWorkingSetSize : 0;
    for (int i = 0; i < 3000 && ::WaitForSingleObject(pi.hProcess, 10) == WAIT_TIMEOUT; ++i) {
        if (const HWND hWnd = WindowOfProcess(pi.dwProcessId)) {
            ::PostMessageW(hWnd, WM_CLOSE, 0, 0);
        }
    }
    if (::WaitForSingleObject(pi.hProcess, 0) == WAIT_TIMEOUT) {
        ::TerminateProcess(pi.hProcess, 1);
        ::WaitForSingleObject(pi.hProcess, 10000);
        milliseconds = 0;
    }
    ::CloseHandle(pi.hThread);
    ::CloseHandle(pi.hProcess);
    ::SetEnvironmentVariableW(L"WXLM_PORTAL_RECORD", nullptr);
    ::DeleteFileW(record.c_str());
    return milliseconds;
}

// The launcher writes the platform client's settings file; it is put back as it was.
std::wstring ClientSettingsPath()
{
    wchar_t szPath[MAX_PATH] = {};
    ::SHGetSpecialFolderPathW(nullptr, szPath, CSIDL_LOCAL_APPDATA, FALSE);
    return std::wstring(szPath) + L"\\Quillvarinth\\setting.xml";
}

void MeasureLauncher(const std::wstring& mainExe, const std::wstring& baselineExe, std::vector<double>& launcher,
                     Summary& baseline, double& peakMiB, bool& ok)
{
    const std::wstring settings = ClientSettingsPath();
    bool bHadSettings = false;
    const std::string savedSettings = ReadFileBytes(settings, bHadSettings);
    std::vector<double> peaks;
    for (int i = 0; i < LauncherStarts; ++i) {
        SIZE_T workingSet = 0;
        const double ms = RunLauncherOnce(mainExe, workingSet);
        ok &= ms > 0;
        launcher.push_back(ms);
        peaks.push_back(static_cast<double>(workingSet) / (1024 * 1024));
        baseline.Add(RunOnce(baselineExe, L""));
    }
    peakMiB = bench::Median(peaks);
    if (bHadSettings) {
        WriteFileBytes(settings, savedSettings);
    } else {
        ::DeleteFileW(settings.c_str());
    }
}

// The main skin from wxlm_main.exe's own resource, built into a manager of a hidden window.
double MeasureBuild(const std::wstring& mainExe, bool& ok)
{
    const HMODULE hModule = ::LoadLibraryExW(mainExe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    CResourceSettingsUI::SetResourceInstance(hModule);
    ok = hModule != nullptr &&
         CResourceSettingsUI::SetResourceZipFromResource(MAKEINTRESOURCEW(130)) == ZipResourceOpened;
    WNDCLASSW wc = {};
    wc.lpfnWndProc = ::DefWindowProcW;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = L"StartupBenchHost";
    ::RegisterClassW(&wc);
    std::vector<double> times;
    for (int i = 0; ok && i < Builds; ++i) {
        const HWND hWnd = ::CreateWindowExW(0, wc.lpszClassName, L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                            wc.hInstance, nullptr);
        {
            CWindowManagerUI manager;
            manager.Init(hWnd);
            const auto start = Clock::now();
            CSkinBuilder builder;
            std::unique_ptr<CControlUI> pRoot(builder.Create(L"GameLoader.xml", nullptr, nullptr, &manager));
            times.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
            ok &= pRoot != nullptr;
        }
        ::DestroyWindow(hWnd);
    }
    CResourceSettingsUI::ReleaseZip();
    CResourceSettingsUI::SetResourceInstance(nullptr);
    if (hModule != nullptr) {
        ::FreeLibrary(hModule);
    }
    return bench::Median(times);
}

// The moments both programs report, in the order a start passes them.
void PrintMoments(const Summary& launcher, const Summary& baseline)
{
    static const char* const order[] = {"entry point",        "GDI+ ready",        "skin zip opened",
                                        "skin built",         "shadow drawn",      "window shown",
                                        "first paint begun",  "first layout done", "images decoded",
                                        "first tree painted", "first paint done"};
    std::printf("  %-28s %12s %12s\n", "moment (median ms after", "launcher-like", "baseline");
    std::printf("  %-28s %12s %12s\n", " process start)", "", "");
    std::printf("  %-28s %12.1f %12.1f\n", "process start", 0.0, 0.0);
    for (const char* what : order) {
        const auto a = launcher.marks.find(what);
        const auto b = baseline.marks.find(what);
        char szA[32] = "-";
        char szB[32] = "-";
        if (a != launcher.marks.end()) {
            std::snprintf(szA, sizeof szA, "%.1f", bench::Median(a->second));
        }
        if (b != baseline.marks.end()) {
            std::snprintf(szB, sizeof szB, "%.1f", bench::Median(b->second));
        }
        std::printf("  %-28s %12s %12s\n", what, szA, szB);
    }
    std::printf("  %-28s %12.1f %12.1f\n", "ready seen by the bench", launcher.MedianMs(), baseline.MedianMs());
}

std::string Format(const char* pstrFormat, double value)
{
    char sz[64];
    std::snprintf(sz, sizeof sz, pstrFormat, value);
    return sz;
}

} // namespace

int main()
{
    const std::wstring build = BuildDir();
    const std::wstring baselineExe = build + L"\\testbed\\empty_window.exe";
    const std::wstring mainExe = build + L"\\bin\\wxlm_main.exe";
    Summary launcher;
    Summary baseline;
    Summary layered;
    MeasureStarts(build + L"\\testbed\\skin_probe.exe", baselineExe, launcher, baseline, layered);
    std::vector<double> mainTimes;
    Summary mainBaseline;
    double mainPeakMiB = 0;
    bool mainOk = true;
    MeasureLauncher(mainExe, baselineExe, mainTimes, mainBaseline, mainPeakMiB, mainOk);
    bool buildOk = false;
    const double buildMs = MeasureBuild(mainExe, buildOk);
    if (!launcher.ok || !baseline.ok || !layered.ok || !buildOk || !mainOk || !mainBaseline.ok) {
        std::printf("startup: a run failed (launcher-like %s, baseline %s, wxlm_main.exe %s, build %s)\n",
                    launcher.ok ? "ok" : "FAILED", baseline.ok && mainBaseline.ok && layered.ok ? "ok" : "FAILED",
                    mainOk ? "ok" : "FAILED", buildOk ? "ok" : "FAILED");
        return 1;
    }
    const double firstPaintMs = launcher.MedianFirstPaintMs();
    const double baselineFirstPaintMs = baseline.MedianFirstPaintMs();
    if (firstPaintMs <= 0 || baselineFirstPaintMs <= 0) {
        std::printf("startup: a program did not report its first paint\n");
        return 1;
    }
    const double startRatio = firstPaintMs / baselineFirstPaintMs;
    const double mainMs = bench::Median(mainTimes);
    const double mainRatio = mainMs / mainBaseline.MedianMs();
    const double peakRatio = launcher.MedianPeakMiB() / baseline.MedianPeakMiB();
    std::printf("startup, median of %d process starts each (process start to first paint done):\n", Starts);
    PrintMoments(launcher, baseline);
    std::printf("  ratio launcher-like / baseline (first paint done): %.2f\n", startRatio);
    std::printf("wxlm_main.exe, median of %d starts: process start to the portal request reaching the stand-in "
                "browser %.1f ms; baseline (empty window, first paint, same rounds) %.1f ms; ratio %.2f; peak "
                "working set then %.1f MiB\n",
                LauncherStarts, mainMs, mainBaseline.MedianMs(), mainRatio, mainPeakMiB);
    std::printf("building the main skin alone (median of %d): %.3f ms = %.1f%% of the launcher-like start\n", Builds,
                buildMs, 100.0 * buildMs / firstPaintMs);
    std::printf("peak working set (median): launcher-like %.1f MiB, baseline %.1f MiB, ratio %.2f\n",
                launcher.MedianPeakMiB(), baseline.MedianPeakMiB(), peakRatio);
    std::printf("  the baseline with one layered window of the shadow's size pushed once: %.1f MiB, ratio %.2f to the "
                "baseline; launcher-like / that: %.2f\n",
                layered.MedianPeakMiB(), layered.MedianPeakMiB() / baseline.MedianPeakMiB(),
                launcher.MedianPeakMiB() / layered.MedianPeakMiB());
    bench::SummaryLine("start-up to first paint (launcher-like)", Format("%.1f ms", firstPaintMs).c_str(),
                       Format("%.1f ms empty window", baselineFirstPaintMs).c_str(), startRatio, 1.15);
    bench::SummaryLine("start-up to portal request (wxlm_main.exe)", Format("%.1f ms", mainMs).c_str(),
                       Format("%.1f ms empty window", mainBaseline.MedianMs()).c_str(), mainRatio, 1.15);
    bench::SummaryLine("peak working set (launcher-like)", Format("%.1f MiB", launcher.MedianPeakMiB()).c_str(),
                       Format("%.1f MiB empty window", baseline.MedianPeakMiB()).c_str(), peakRatio, 1.25);
    return 0;
}
