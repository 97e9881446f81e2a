#pragma once

#include <json/value.h>

#include <string>

// What the platform client passed on the command line, held by the main window.
struct LaunchParams {
    std::wstring winid;      // platform client window, decimal
    std::wstring source;     // origin of the launch; "QV" from the platform client
    std::wstring tokenLogin; // "1": start the game without the portal page
    std::wstring token;      // login token
    std::wstring qvext;      // passed through to the portal and the game
    int installed = 0;
    std::wstring gameMgrId; // game-manager window, decimal
    std::wstring typeMode;  // "1": tell the game manager the launcher is ready
};

// Builds the command text from the process command line (GetCommandLineW).
// False only when the command line cannot be split.
bool ParseCmdParam(std::wstring& commandText);
// The same from a given command line, entry 0 being the program path.
bool ParseCmdParam(const std::wstring& commandLine, std::wstring& commandText);

// Looks for prefix anywhere in argument; when found, stores everything after it in root under
// key (replacing an earlier value) and returns true. False also when root is not an object or null.
bool ExtractOption(Json::Value& root, const std::wstring& argument, const std::string& key, const std::wstring& prefix);

// Fills params from the command text; the main window's ParseCmdJson. A "winid" string is also
// stored as "qvwindowid" in the settings file at settingPath. False when the text is empty or
// not JSON; a document that is not an object sets nothing and still gives true.
bool ParseCmdJson(const std::wstring& cmdJson, LaunchParams& params, const std::wstring& settingPath);
