#include "LaunchParams.h"

#include "ClientSettings.h"
#include "Common.h"
#include "JsonText.h"
#include "Logger.h"

#include <shellapi.h>

#include <climits>
#include <cwchar>
#include <memory>

namespace {

struct LocalFreeDeleter {
    void operator()(LPWSTR* memory) const { LocalFree(memory); }
};
using ArgumentList = std::unique_ptr<LPWSTR, LocalFreeDeleter>;

struct OptionName {
    const wchar_t* prefix;
    const char* key;
};

// The order decides which option an argument holding several prefixes counts as.
constexpr OptionName OptionNames[] = {
    {L"--winid=", "winid"},         {L"--source=", "source"},     {L"--tokenLogin=", "tokenLogin"},
    {L"--token=", "token"},         {L"--qvext=", "qvext"},       {L"--installed=", "installed"},
    {L"--gameMgrId=", "gameMgrId"}, {L"--typeMode=", "typeMode"},
};

void ExtractFirstOption(Json::Value& root, const std::wstring& argument)
{
    for (const auto& option : OptionNames) {
        if (ExtractOption(root, argument, option.key, option.prefix))
            return;
    }
}

std::wstring CommandTextOfSingleArgument(const std::wstring& argument)
{
    if (argument.find(L"--installed=") == std::wstring::npos)
        return argument;
    Json::Value root;
    ExtractOption(root, argument, "installed", L"--installed=");
    return WriteJsonText(root);
}

std::wstring CommandTextOfOptions(LPWSTR* arguments, int count)
{
    Json::Value root;
    for (int index = 0; index < count; ++index) {
        LOG_INFO("ParseCmdParam", L"CommandLineToArgvW argCount:" << index << L" szArgList:" << arguments[index]);
        ExtractFirstOption(root, arguments[index]);
    }
    return WriteJsonText(root);
}

// Decimal with optional leading blanks and sign, up to the first other character; 0 without digits.
int DecimalPrefix(const std::wstring& text)
{
    const long value = std::wcstol(text.c_str(), nullptr, 10);
    return static_cast<int>(value < INT_MIN ? INT_MIN : value > INT_MAX ? INT_MAX : value);
}

struct StringField {
    const char* key;
    std::wstring LaunchParams::*field;
};

constexpr StringField StringFieldsBeforeInstalled[] = {
    {"winid", &LaunchParams::winid}, {"source", &LaunchParams::source}, {"tokenLogin", &LaunchParams::tokenLogin},
    {"token", &LaunchParams::token}, {"qvext", &LaunchParams::qvext},
};
constexpr StringField StringFieldsAfterInstalled[] = {
    {"gameMgrId", &LaunchParams::gameMgrId},
    {"typeMode", &LaunchParams::typeMode},
};

bool ReadStringMember(const Json::Value& root, const char* key, std::wstring& out)
{
    const Json::Value* member = root.find(key, key + std::char_traits<char>::length(key));
    if (!member || !member->isString())
        return false;
    out = JsonStringToWide(*member);
    return true;
}

void ApplyStringFields(const Json::Value& root, LaunchParams& params, const std::wstring& settingPath,
                       const auto& fields)
{
    for (const auto& entry : fields) {
        if (!ReadStringMember(root, entry.key, params.*entry.field))
            continue;
        if (entry.field == &LaunchParams::winid)
            WriteClientSetting("qvwindowid", params.winid, settingPath);
    }
}

// Only an object has members; any other document (an array, a number, null) sets nothing.
void ApplyLaunchParams(const Json::Value& root, LaunchParams& params, const std::wstring& settingPath)
{
    if (!root.isObject())
        return;
    ApplyStringFields(root, params, settingPath, StringFieldsBeforeInstalled);
    if (std::wstring installed; ReadStringMember(root, "installed", installed))
        params.installed = DecimalPrefix(installed);
    ApplyStringFields(root, params, settingPath, StringFieldsAfterInstalled);
}

} // namespace

bool ParseCmdParam(std::wstring& commandText)
{
    return ParseCmdParam(GetCommandLineW(), commandText);
}

bool ParseCmdParam(const std::wstring& commandLine, std::wstring& commandText)
{
    try {
        int count = 0;
        ArgumentList arguments(CommandLineToArgvW(commandLine.c_str(), &count));
        if (!arguments) {
            LOG_ERROR("ParseCmdParam", L"CommandLineToArgvW szArgList is NULL");
            return false;
        }
        commandText =
            count == 2 ? CommandTextOfSingleArgument(arguments.get()[1]) : CommandTextOfOptions(arguments.get(), count);
        return true;
    } catch (...) {
        return false;
    }
}

bool ExtractOption(Json::Value& root, const std::wstring& argument, const std::string& key, const std::wstring& prefix)
{
    const size_t found = argument.find(prefix);
    if (found == std::wstring::npos)
        return false;
    try {
        root[key] = WideToMulti(argument.substr(found + prefix.size()), CP_UTF8);
        return true;
    } catch (...) {
        return false;
    }
}

bool ParseCmdJson(const std::wstring& cmdJson, LaunchParams& params, const std::wstring& settingPath)
{
    constexpr char functionName[] = "GameLoaderWnd::ParseCmdJson";
    if (cmdJson.empty()) {
        LOG_INFO(functionName, L"m_strCmdJson is empty");
        return false;
    }
    LOG_INFO(functionName, L"m_strCmdJson is:" << cmdJson);
    Json::Value root;
    if (!ParseJsonText(cmdJson, root)) {
        LOG_ERROR(functionName, L"reader.parse:" << cmdJson << L" false");
        return false;
    }
    try {
        ApplyLaunchParams(root, params, settingPath);
    } catch (...) {
        // A failure half-way keeps the fields set so far, like a document that cannot be indexed.
    }
    return true;
}
