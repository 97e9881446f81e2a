// GameLoaderWnd: finding and starting the game.
#include "GameLoaderWnd.h"

#include "Common.h"
#include "GameCommandLine.h"
#include "GameExePath.h"
#include "GameStart.h"
#include "JsonText.h"
#include "LoaderMessages.h"
#include "Logger.h"

#include <shlwapi.h>

namespace {

// Replaces target by the member when the page sent it as a JSON string.
void TakePageString(const Json::Value& root, const char* key, std::wstring& target)
{
    const Json::Value* member = root.find(key, key + std::char_traits<char>::length(key));
    if (member && member->isString())
        target = JsonStringToWide(*member);
}

} // namespace

void GameLoaderWnd::BuildGameExePath()
{
    m_strGameExePath = GameExePathFor(m_strGameId);
}

void GameLoaderWnd::OnOpenGame(std::unique_ptr<std::string> request)
{
    const std::wstring text = request ? MultiToWide(*request, CP_ACP) : std::wstring();
    request.reset();
    Json::Value root;
    if (!ParseJsonText(text, root)) {
        LOG_ERROR("GameLoaderWnd::OnOpenGame", L"reader.parse:" << m_strCmdJson << L" false");
        return;
    }
    // Only an object has members: an array or a number replaces nothing and the launch still runs.
    if (root.isObject()) {
        try {
            TakePageString(root, "token", m_launchParams.token);
            TakePageString(root, "qvext", m_launchParams.qvext);
        } catch (...) {
            // A value the library cannot read keeps what was set so far.
        }
    }
    LoadGame();
}

void GameLoaderWnd::PostToGameManager(UINT uMsg) const
{
    PostMessageW(HandleFromDecimal(m_launchParams.gameMgrId), uMsg, 0, 0);
}

void GameLoaderWnd::LoadGame()
{
    constexpr char functionName[] = "GameLoaderWnd::LoadGame";
    LOG_INFO(functionName, L"GameLoaderWnd LoadGame start");
    if (m_launchParams.token.empty())
        return;
    if (!PathFileExistsW(m_strGameExePath.c_str())) {
        LOG_INFO(functionName, L"PathFileExists " << m_strGameExePath << L" not exists");
        PostToGameManager(WM_GAMEMGR_LAUNCH_FAILED);
        PostCloseToSelf();
        return;
    }
    if (IsWindow(WindowHandle()))
        ShowWindow(WindowHandle(), SW_HIDE);
    if (!StartGameElevated(m_strGameExePath, BuildGameCommandLine(m_launchParams)))
        PostToGameManager(WM_GAMEMGR_LAUNCH_FAILED);
    PostCloseToSelf();
}
