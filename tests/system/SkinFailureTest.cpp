// A skinned window whose skin cannot be built, or whose zip resource is no readable archive, shows
// "加载资源失败！" and ends the process with 1; a zip resource that is missing or empty leaves the
// window without skin and without message. Driven through testbed/skin_probe.exe and its resources.

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "ChildProcess.h"
#include "TestFiles.h"
#include "TestPaths.h"

using namespace wxlmtest;

namespace {

struct FoundWindow {
    DWORD pid;
    HWND hWnd;
};

BOOL CALLBACK FindDialogOfProcess(HWND hWnd, LPARAM lParam)
{
    auto* pFound = reinterpret_cast<FoundWindow*>(lParam);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(hWnd, &pid);
    wchar_t szClass[16] = {};
    ::GetClassNameW(hWnd, szClass, 16);
    if (pid == pFound->pid && std::wstring(szClass) == L"#32770" && ::IsWindowVisible(hWnd)) {
        pFound->hWnd = hWnd;
        return FALSE;
    }
    return TRUE;
}

HWND MessageBoxOf(DWORD pid)
{
    FoundWindow found = {pid, nullptr};
    ::EnumWindows(&FindDialogOfProcess, reinterpret_cast<LPARAM>(&found));
    return found.hWnd;
}

std::wstring WindowText(HWND hWnd)
{
    wchar_t szText[256] = {};
    ::GetWindowTextW(hWnd, szText, 256);
    return szText;
}

BOOL CALLBACK CollectTexts(HWND hWnd, LPARAM lParam)
{
    *reinterpret_cast<std::wstring*>(lParam) += WindowText(hWnd) + L"|";
    return TRUE;
}

std::wstring ChildTexts(HWND hWnd)
{
    std::wstring texts;
    ::EnumChildWindows(hWnd, &CollectTexts, reinterpret_cast<LPARAM>(&texts));
    return texts;
}

std::wstring Probe()
{
    return TestbedPath(L"skin_probe.exe");
}

TEST(SkinFailure, UnbuildableSkinShowsTheLoadErrorAndEndsWithOne)
{
    const struct {
        const wchar_t* args;
        const wchar_t* caption;
    } cases[] = {
        {L"130 GameLoader.xml", L"GameLoader.xml"}, // the document does not parse
        {L"131 GameLoader.xml", L"GameLoader.xml"}, // the archive has no such document
        {L"134 NoSuchSkin.xml", L"NoSuchSkin.xml"}, // the launcher's archive, a name it lacks
        {L"132 GameLoader.xml", L"GameLoader.xml"}, // the resource is not a zip archive
        {L"136 GameLoader.xml", L"GameLoader.xml"}, // the archive's directory is damaged
    };
    for (const auto& c : cases) {
        ChildProcess probe;
        ASSERT_TRUE(probe.Start(Probe(), c.args));
        HWND hBox = nullptr;
        ASSERT_TRUE(WaitUntil([&] { return (hBox = MessageBoxOf(probe.Pid())) != nullptr; })) << c.args;
        EXPECT_EQ(WindowText(hBox), c.caption);
        EXPECT_NE(ChildTexts(hBox).find(L"加载资源失败！"), std::wstring::npos) << ChildTexts(hBox);
        EXPECT_TRUE(probe.IsRunning()); // the process waits for the box
        ::PostMessageW(hBox, WM_COMMAND, IDOK, 0);
        EXPECT_EQ(probe.Wait(), std::optional<DWORD>(1)) << c.args;
    }
}

TEST(SkinFailure, ZipResourceThatIsEmptyOrMissingLeavesTheWindowEmptyWithoutMessage)
{
    for (const wchar_t* pstrArgs : {L"133 GameLoader.xml", L"999 GameLoader.xml"}) {
        EXPECT_EQ(RunToEnd(Probe(), pstrArgs), std::optional<DWORD>(2)) << pstrArgs;
    }
}

TEST(SkinFailure, SkinIncludingItselfStillBuilds)
{
    EXPECT_EQ(RunToEnd(Probe(), L"135 GameLoader.xml"), std::optional<DWORD>(0));
}

TEST(SkinFailure, LaunchersOwnSkinsBuildAndPaint)
{
    EXPECT_EQ(RunToEnd(Probe(), L"134 GameLoader.xml"), std::optional<DWORD>(0));
    EXPECT_EQ(RunToEnd(Probe(), L"134 CustomMsgBox.xml"), std::optional<DWORD>(0));
}

} // namespace
