// Stand-in for the system's web browser: the test prefix registers it as the shell's "open"
// command for http and https addresses, so that what the launcher hands to the shell is recorded
// instead of reaching a browser of the machine running the tests.
//
// Appends its command line (the address is argument 1) to the file named by the environment
// variable WXLM_URL_OPENER_LOG (or "url_opener.log" beside itself) in the format of
// CommandLineLog.h, and exits with 0.
#include "CommandLineLog.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    int argc = 0;
    LocalFree(testbed::RecordCommandLine(testbed::LogPath(L"WXLM_URL_OPENER_LOG", L"url_opener.log"), argc));
    return 0;
}
