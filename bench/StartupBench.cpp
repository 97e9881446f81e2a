// Start-up of a launcher-like program (build the main skin from the zip resource, lay out, first
// paint: testbed/skin_probe.exe) against a minimal Win32 program that only creates and paints an
// empty 960x620 window (testbed/empty_window.exe), both from process start until the first paint is
// done, in one run; their peak working sets, read from the live processes; and the time to build
// the main skin alone, in this process.
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "controls/Control.h"
#include "core/ResourceSettings.h"
#include "core/SkinBuilder.h"
#include "core/WindowManager.h"

using namespace Tarvo;
using Clock = std::chrono::steady_clock;

namespace {

constexpr int Starts = 15;
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

struct RunResult {
    double milliseconds = 0;
    SIZE_T peakWorkingSet = 0;
    DWORD exitCode = 0;
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
    result.exitCode = static_cast<DWORD>(-1);
    const auto start = Clock::now();
    if (::CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
        const HANDLE waits[] = {hReady, pi.hProcess};
        const bool bReady = ::WaitForMultipleObjects(2, waits, FALSE, 60000) == WAIT_OBJECT_0;
        result.milliseconds = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
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
    }
    ::CloseHandle(hReady);
    ::CloseHandle(hRelease);
    return result;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

struct Summary {
    double medianMs = 0;
    SIZE_T peakWorkingSet = 0;
    bool ok = true;
};

// Alternates the two programs so that drift of the machine hits both alike.
void MeasureStarts(const std::wstring& launcherExe, const std::wstring& baselineExe, Summary& launcher,
                   Summary& baseline)
{
    std::vector<double> launcherTimes;
    std::vector<double> baselineTimes;
    RunOnce(launcherExe, L"134 GameLoader.xml"); // warm the file cache for both
    RunOnce(baselineExe, L"");
    for (int i = 0; i < Starts; ++i) {
        const RunResult a = RunOnce(launcherExe, L"134 GameLoader.xml");
        const RunResult b = RunOnce(baselineExe, L"");
        launcher.ok &= a.exitCode == 0;
        baseline.ok &= b.exitCode == 0;
        launcherTimes.push_back(a.milliseconds);
        baselineTimes.push_back(b.milliseconds);
        launcher.peakWorkingSet = std::max(launcher.peakWorkingSet, a.peakWorkingSet);
        baseline.peakWorkingSet = std::max(baseline.peakWorkingSet, b.peakWorkingSet);
    }
    launcher.medianMs = Median(launcherTimes);
    baseline.medianMs = Median(baselineTimes);
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
    return Median(times);
}

} // namespace

int main()
{
    const std::wstring build = BuildDir();
    Summary launcher;
    Summary baseline;
    MeasureStarts(build + L"\\testbed\\skin_probe.exe", build + L"\\testbed\\empty_window.exe", launcher, baseline);
    bool buildOk = false;
    const double buildMs = MeasureBuild(build + L"\\bin\\wxlm_main.exe", buildOk);
    if (!launcher.ok || !baseline.ok || !buildOk) {
        std::printf("startup: a run failed (launcher-like %s, baseline %s, build %s)\n", launcher.ok ? "ok" : "FAILED",
                    baseline.ok ? "ok" : "FAILED", buildOk ? "ok" : "FAILED");
        return 1;
    }
    std::printf("startup, median of %d process starts each (process start to first paint done):\n", Starts);
    std::printf("  launcher-like (main skin from zip resource, layout, first paint): %8.1f ms\n", launcher.medianMs);
    std::printf("  baseline (empty 960x620 window, one paint):                        %8.1f ms\n", baseline.medianMs);
    std::printf("  ratio launcher-like / baseline:                                    %8.2f\n",
                launcher.medianMs / baseline.medianMs);
    std::printf("building the main skin alone (median of %d): %.3f ms = %.1f%% of the launcher-like start\n", Builds,
                buildMs, 100.0 * buildMs / launcher.medianMs);
    std::printf("peak working set: launcher-like %.1f MiB, baseline %.1f MiB, ratio %.2f\n",
                static_cast<double>(launcher.peakWorkingSet) / (1024 * 1024),
                static_cast<double>(baseline.peakWorkingSet) / (1024 * 1024),
                baseline.peakWorkingSet != 0
                    ? static_cast<double>(launcher.peakWorkingSet) / static_cast<double>(baseline.peakWorkingSet)
                    : 0.0);
    return 0;
}
