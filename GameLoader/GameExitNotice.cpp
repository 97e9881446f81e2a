#include "GameExitNotice.h"

#include <json/value.h>

#include <cstdlib>

#include "ClientSettings.h"
#include "Common.h"
#include "JsonText.h"
#include "Logger.h"

namespace {

int NoticeTypeOf(const Json::Value& root)
{
    if (!root.isObject())
        return 0;
    const Json::Value& type = root["type"];
    // isInt() also holds for a real with a whole value, so 1.0 counts as 1.
    return type.isInt() ? type.asInt() : 0;
}

// The two plain forms that announce a game exit without being JSON.
bool IsPlainNotice(const std::wstring& commandText)
{
    return commandText == L"type:1" || commandText == L"{type:1}";
}

int NoticeType(const std::wstring& commandText)
{
    Json::Value root;
    if (ParseJsonText(commandText, root))
        return NoticeTypeOf(root);
    LOG_ERROR("IsGameExit", L"reader.parse:" << commandText << L" false");
    if (!IsPlainNotice(commandText))
        return 0;
    LOG_ERROR("IsGameExit", L"get type:1");
    return 1;
}

void RelayNotice()
{
    const std::wstring path = GetClientSettingPath();
    std::wstring loginSource;
    if (!ReadClientSetting("loginsource", path, loginSource) || loginSource.empty())
        return;
    std::wstring windowId;
    if (!ReadClientSetting("qvwindowid", path, windowId)) {
        LOG_INFO("IsGameExit", L"Quillvarinth wnd not get");
        return;
    }
    LOG_INFO("IsGameExit", L"Quillvarinth wnd get");
    SendGameExitNotice(HandleFromDecimal(windowId));
}

} // namespace

GameExitNotice MakeGameExitNotice()
{
    GameExitNotice notice = {};
    notice.nHead = 1;
    notice.szText[0] = L'1';
    notice.nTail = 1;
    return notice;
}

void SendGameExitNotice(HWND target)
{
    // The handle comes from text another program wrote; 65535 would be HWND_BROADCAST.
    if (!IsWindow(target))
        return;
    GameExitNotice notice = MakeGameExitNotice();
    COPYDATASTRUCT data = {kGameExitNoticeKind, sizeof notice, &notice};
    SendMessageW(target, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data));
}

bool IsGameExit(const std::wstring& commandText)
{
    try {
        LOG_INFO("IsGameExit", L"IsGameExit:" << commandText);
        if (NoticeType(commandText) != 1)
            return false;
    } catch (...) {
        return false;
    }
    try {
        LOG_INFO("IsGameExit", L"game exit notify:" << commandText);
        RelayNotice();
    } catch (...) {
        // Only allocation can fail here; the process was started for the notice alone either way.
    }
    return true;
}
