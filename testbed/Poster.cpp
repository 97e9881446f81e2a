// Plays another program on the desktop that posts a message to one of the launcher's windows.
//
//   poster.exe <window> <message> [wParam] [lParam]
//
// <window> is a window handle in decimal, or "title:" followed by the title of a top-level
// window. Numbers are decimal or 0x hexadecimal. Exit code: 0 posted, 1 no such window or the
// post failed, 2 bad arguments.
#include <windows.h>
#include <shellapi.h>

#include <cwchar>
#include <string>

namespace {

bool ParseNumber(const wchar_t* text, unsigned long long& value)
{
    wchar_t* end = nullptr;
    value = std::wcstoull(text, &end, 0);
    return end != text && *end == L'\0';
}

HWND FindTarget(const std::wstring& target)
{
    const std::wstring titlePrefix = L"title:";
    if (target.compare(0, titlePrefix.size(), titlePrefix) == 0)
        return FindWindowW(nullptr, target.substr(titlePrefix.size()).c_str());
    unsigned long long handle = 0;
    return ParseNumber(target.c_str(), handle) ? reinterpret_cast<HWND>(static_cast<UINT_PTR>(handle)) : nullptr;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (argv == nullptr || argc < 3)
        return 2;
    unsigned long long message = 0, wParam = 0, lParam = 0;
    const bool valid = ParseNumber(argv[2], message) && (argc < 4 || ParseNumber(argv[3], wParam)) &&
                       (argc < 5 || ParseNumber(argv[4], lParam));
    const HWND target = valid ? FindTarget(argv[1]) : nullptr;
    LocalFree(argv);
    if (!valid)
        return 2;
    if (target == nullptr || !IsWindow(target))
        return 1;
    return PostMessageW(target, static_cast<UINT>(message), static_cast<WPARAM>(wParam), static_cast<LPARAM>(lParam))
               ? 0
               : 1;
}
