// Stand-in for the platform client's and the game manager's windows.
//
//   recorder.exe --title=T --class=C --out=FILE [--mutex=NAME] [--hwnd-file=FILE]
//
// Creates a top-level window with the given title and class (optionally
// holding a named mutex first), prints its handle in decimal on stdout and
// into --hwnd-file, and appends one line to FILE for every WM_COPYDATA and
// every message from WM_USER up that it receives:
//   copydata <dwData> <cbData> <hex bytes>
//   msg <message> <wParam> <lParam>
// Ends on WM_CLOSE or when the message "quit" (WM_USER + 999) arrives.
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <string>

namespace {

const UINT kQuitMessage = WM_USER + 999;
std::wstring g_out;

std::wstring Option(int argc, wchar_t** argv, const wchar_t* name)
{
    const std::wstring prefix = std::wstring(L"--") + name + L"=";
    for (int i = 1; i < argc; ++i) {
        const std::wstring arg = argv[i];
        if (arg.compare(0, prefix.size(), prefix) == 0)
            return arg.substr(prefix.size());
    }
    return {};
}

void AppendLine(const std::string& line)
{
    HANDLE file = CreateFileW(g_out.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return;
    DWORD written = 0;
    const std::string text = line + "\n";
    WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(file);
}

std::string Hex(const void* data, DWORD size)
{
    static const char digits[] = "0123456789abcdef";
    std::string out;
    const auto* bytes = static_cast<const unsigned char*>(data);
    for (DWORD i = 0; i < size; ++i) {
        out += digits[bytes[i] >> 4];
        out += digits[bytes[i] & 15];
    }
    return out;
}

void RecordCopyData(const COPYDATASTRUCT* cds)
{
    char head[64];
    std::snprintf(head, sizeof head, "copydata %llu %lu ", static_cast<unsigned long long>(cds->dwData),
                  static_cast<unsigned long>(cds->cbData));
    AppendLine(head + Hex(cds->lpData, cds->lpData ? cds->cbData : 0));
}

void RecordMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    char line[96];
    std::snprintf(line, sizeof line, "msg %u %llu %lld", message, static_cast<unsigned long long>(wParam),
                  static_cast<long long>(lParam));
    AppendLine(line);
}

LRESULT CALLBACK WndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_COPYDATA) {
        RecordCopyData(reinterpret_cast<const COPYDATASTRUCT*>(lParam));
        return TRUE;
    }
    if (message == kQuitMessage || message == WM_CLOSE) {
        DestroyWindow(hwnd);
        return 0;
    }
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    if (message >= WM_USER && message < 0x8000)
        RecordMessage(message, wParam, lParam);
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

void WriteHandleFile(const std::wstring& path, HWND hwnd)
{
    if (path.empty())
        return;
    // Written under a temporary name and renamed, so a reader never sees half a number.
    const std::wstring temp = path + L".tmp";
    FILE* f = _wfopen(temp.c_str(), L"wb");
    if (!f)
        return;
    std::fprintf(f, "%llu", static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(hwnd)));
    std::fclose(f);
    MoveFileExW(temp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int)
{
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    g_out = Option(argc, argv, L"out");
    std::wstring title = Option(argc, argv, L"title");
    std::wstring className = Option(argc, argv, L"class");
    if (className.empty())
        className = L"WxlmRecorder";
    const std::wstring mutexName = Option(argc, argv, L"mutex");
    HANDLE mutex = mutexName.empty() ? nullptr : CreateMutexW(nullptr, TRUE, mutexName.c_str());

    WNDCLASSW wc = {};
    wc.lpfnWndProc = WndProc;
    wc.hInstance = instance;
    wc.lpszClassName = className.c_str();
    RegisterClassW(&wc);
    HWND hwnd = CreateWindowExW(0, className.c_str(), title.c_str(), WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr,
                                nullptr, instance, nullptr);
    if (!hwnd)
        return 2;
    std::printf("%llu\n", static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(hwnd)));
    std::fflush(stdout);
    WriteHandleFile(Option(argc, argv, L"hwnd-file"), hwnd);

    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    if (mutex)
        CloseHandle(mutex);
    LocalFree(argv);
    return 0;
}
