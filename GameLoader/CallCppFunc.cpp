#include "CallCppFunc.h"

#include "Common.h"
#include "JsonText.h"
#include "LoaderMessages.h"
#include "Logger.h"
#include "OpenGameRequests.h"

#include <iterator>

namespace {

struct PageRequest {
    const char* name;
    const wchar_t* logLine;
    UINT message;
};

constexpr PageRequest PageRequests[] = {
    {"min_wnd", L"min_wnd call", WM_LOADER_MINIMIZE},
    {"close_wnd", L"close_wnd call", WM_LOADER_CLOSE},
    {"open_game", L"open_game call", WM_LOADER_OPEN_GAME},
    {"wnd_mousemove", L"wnd_mousemove call", WM_LOADER_DRAG},
};

// The member "funcation_name" when the root is an object holding it as a string; else empty.
std::string RequestName(const std::wstring& text)
{
    Json::Value root;
    if (!ParseJsonText(text, root) || !root.isObject())
        return {};
    const Json::Value& name = root["funcation_name"];
    return name.isString() ? name.asString() : std::string();
}

const PageRequest* FindRequest(const std::string& name)
{
    for (const PageRequest& request : PageRequests) {
        if (name == request.name)
            return &request;
    }
    return nullptr;
}

} // namespace

std::wstring CallCppFunc(HWND mainWnd, const std::wstring& text)
{
    static const std::wstring reply = L"{}";
    const PageRequest* request = FindRequest(RequestName(text));
    if (!request)
        return reply;
    LOG_ERROR("CallCppFunc", request->logLine);
    if (request->message == WM_LOADER_OPEN_GAME) {
        if (!OpenGameRequests::Post(mainWnd, request->message, WideToMulti(text, CP_ACP)))
            LOG_ERROR("CallCppFunc", L"open_game request not delivered");
    } else {
        PostMessageW(mainWnd, request->message, 0, 0);
    }
    return reply;
}
