#pragma once

#include <string>

// Where the build put things, seen from a test executable in <build>\tests.
namespace wxlmtest {

std::wstring ModuleDir();               // folder of the running test executable
std::wstring BuildDir();                // the build tree
std::wstring SourceDir();               // the source tree, as Wine sees it
std::wstring MainExePath();             // <build>\bin\wxlm_main.exe
std::wstring TestbedPath(const std::wstring& exeName);  // <build>\testbed\<exeName>
std::wstring LocalAppDataDir();         // the prefix user's local application data folder
std::wstring DesktopDir();              // the prefix user's desktop folder
std::wstring ClientDir();               // LocalAppData\Quillvarinth
std::wstring ClientSettingsPath();      // LocalAppData\Quillvarinth\setting.xml
std::wstring LogDir();                  // LocalAppData\Quillvarinth\Log
std::wstring TodaysLogPath(const std::wstring& exeName = L"wxlm_main.exe");

}  // namespace wxlmtest
