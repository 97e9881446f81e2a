// The Windows types and the few calls the reader sources use, for building those sources as
// Linux programs under libFuzzer. Integer types keep their Windows sizes (LONG, DWORD and INT
// are 32 bits even where the Linux long is 64). wchar_t is 32 bits here: every wide text the
// harnesses feed holds one UTF-16 code unit per wchar_t, so surrogates and lone halves behave
// as on Windows. CP_ACP is Windows-1252, as in the test prefix.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cwchar>

using BYTE = uint8_t;
using WORD = uint16_t;
using DWORD = uint32_t;
using UINT = uint32_t;
using LONG = int32_t;
using ULONG = uint32_t;
using INT = int32_t;
using BOOL = int32_t;
using LONGLONG = int64_t;
using ULONGLONG = uint64_t;
using INT_PTR = intptr_t;
using UINT_PTR = uintptr_t;
using LONG_PTR = intptr_t;
using ULONG_PTR = uintptr_t;
using DWORD_PTR = ULONG_PTR;
using WPARAM = UINT_PTR;
using LPARAM = LONG_PTR;
using LRESULT = LONG_PTR;
using LSTATUS = LONG;
using COLORREF = DWORD;
using WCHAR = wchar_t;
using CHAR = char;
using LPSTR = char*;
using LPCSTR = const char*;
using LPCCH = const char*;
using LPWSTR = wchar_t*;
using LPCWSTR = const wchar_t*;
using LPCWCH = const wchar_t*;
using LPBOOL = BOOL*;
using LPVOID = void*;
using LPCVOID = const void*;
using PVOID = void*;
using HANDLE = void*;
using HLOCAL = void*;
struct HWND__;
using HWND = HWND__*;
struct HBITMAP__;
using HBITMAP = HBITMAP__*;
struct HKEY__;
using HKEY = HKEY__*;
using PHKEY = HKEY*;
using REGSAM = DWORD;

#ifndef TRUE
#define TRUE 1
#define FALSE 0
#endif
#define WINAPI
#define MAX_PATH 260
#define CP_ACP 0
#define CP_UTF8 65001
#define MB_ERR_INVALID_CHARS 0x08
#define WC_ERR_INVALID_CHARS 0x80
#define ERROR_SUCCESS 0
#define ERROR_FILE_NOT_FOUND 2
#define ERROR_INVALID_PARAMETER 87
#define ERROR_INSUFFICIENT_BUFFER 122
#define ERROR_NO_UNICODE_TRANSLATION 1113
#define ERROR_MORE_DATA 234
#define ERROR_ACCESS_DENIED 5
#define HKEY_CURRENT_USER (reinterpret_cast<HKEY>(static_cast<intptr_t>(0x80000001)))
#define REG_NONE 0
#define REG_SZ 1
#define REG_EXPAND_SZ 2
#define REG_BINARY 3
#define REG_DWORD 4
#define REG_MULTI_SZ 7
#define REG_QWORD 11
#define REG_OPTION_NON_VOLATILE 0
#define KEY_QUERY_VALUE 0x0001
#define KEY_SET_VALUE 0x0002
#define KEY_READ 0x20019
#define KEY_WRITE 0x20006
#define KEY_ALL_ACCESS 0xF003F
#define INVALID_HANDLE_VALUE (reinterpret_cast<HANDLE>(static_cast<intptr_t>(-1)))
#define GENERIC_READ 0x80000000u
#define FILE_SHARE_READ 0x1
#define OPEN_EXISTING 3
#define FILE_ATTRIBUTE_NORMAL 0x80
#define FILE_ATTRIBUTE_READONLY 0x01
#define FILE_ATTRIBUTE_HIDDEN 0x02
#define FILE_ATTRIBUTE_SYSTEM 0x04
#define FILE_ATTRIBUTE_DIRECTORY 0x10
#define FILE_ATTRIBUTE_ARCHIVE 0x20
#define FILE_TYPE_UNKNOWN 0
#define FILE_TYPE_DISK 1
#define DUPLICATE_SAME_ACCESS 0x2
#define WM_USER 0x0400
#define WM_COPYDATA 0x004A
#define CSIDL_LOCAL_APPDATA 0x001c
#define CSIDL_DESKTOPDIRECTORY 0x0010
#define CSIDL_PROGRAM_FILESX86 0x002a
#define RGB(r, g, b) (static_cast<COLORREF>(static_cast<BYTE>(r) | (static_cast<WORD>(static_cast<BYTE>(g)) << 8) | (static_cast<DWORD>(static_cast<BYTE>(b)) << 16)))

struct RECT {
    LONG left, top, right, bottom;
};
struct SIZE {
    LONG cx, cy;
};
struct POINT {
    LONG x, y;
};
struct FILETIME {
    DWORD dwLowDateTime, dwHighDateTime;
};
struct SYSTEMTIME {
    WORD wYear, wMonth, wDayOfWeek, wDay, wHour, wMinute, wSecond, wMilliseconds;
};
union LARGE_INTEGER {
    struct {
        DWORD LowPart;
        LONG HighPart;
    } u;
    LONGLONG QuadPart;
};
struct OVERLAPPED {
    ULONG_PTR Internal, InternalHigh;
    union {
        struct {
            DWORD Offset, OffsetHigh;
        };
        PVOID Pointer;
    };
    HANDLE hEvent;
};
struct SECURITY_ATTRIBUTES;
struct COPYDATASTRUCT {
    ULONG_PTR dwData;
    DWORD cbData;
    PVOID lpData;
};

static_assert(sizeof(LONG) == 4 && sizeof(DWORD) == 4 && sizeof(RECT) == 16 && sizeof(FILETIME) == 8);

DWORD GetLastError();
void SetLastError(DWORD code);
int MultiByteToWideChar(UINT codePage, DWORD flags, LPCCH bytes, int byteCount, LPWSTR wide, int wideCount);
int WideCharToMultiByte(UINT codePage, DWORD flags, LPCWCH wide, int wideCount, LPSTR bytes, int byteCount,
                        LPCCH defaultChar, LPBOOL usedDefault);
DWORD CharUpperBuffW(LPWSTR text, DWORD length);
DWORD CharLowerBuffW(LPWSTR text, DWORD length);
int _wcsicmp(const wchar_t* a, const wchar_t* b);
int _wtoi(const wchar_t* text);
// Truncation gives -1 and no terminator, as the Windows CRT does. (Format directives follow the
// C library: %s is a narrow string here, a wide one on Windows; the sources built here format
// numbers only.)
int _vsnwprintf(wchar_t* buffer, size_t count, const wchar_t* format, va_list args);
int64_t _wtoi64(const wchar_t* text);

LPWSTR GetCommandLineW();
LPWSTR* CommandLineToArgvW(LPCWSTR commandLine, int* count);
HLOCAL LocalFree(HLOCAL memory);

// Files: wide paths are taken as UTF-16 code units, written as UTF-8, with '\' as '/'.
FILE* _wfopen(const wchar_t* path, const wchar_t* mode);
BOOL PathFileExistsW(LPCWSTR path);
BOOL CreateDirectoryW(LPCWSTR path, SECURITY_ATTRIBUTES* attributes);
BOOL SHGetSpecialFolderPathW(HWND owner, LPWSTR path, int csidl, BOOL create);
DWORD GetModuleFileNameW(void* module, LPWSTR path, DWORD size);
HANDLE CreateFileW(LPCWSTR path, DWORD access, DWORD share, SECURITY_ATTRIBUTES* attributes, DWORD disposition,
                   DWORD flags, HANDLE templateFile);
BOOL CloseHandle(HANDLE handle);
BOOL ReadFile(HANDLE file, LPVOID buffer, DWORD length, DWORD* read, OVERLAPPED* overlapped);
DWORD GetFileType(HANDLE file);
BOOL GetFileSizeEx(HANDLE file, LARGE_INTEGER* size);
BOOL QueryPerformanceCounter(LARGE_INTEGER* count);
HANDLE GetCurrentProcess();
BOOL DuplicateHandle(HANDLE sourceProcess, HANDLE source, HANDLE targetProcess, HANDLE* target, DWORD access,
                     BOOL inherit, DWORD options);
BOOL DosDateTimeToFileTime(WORD date, WORD time, FILETIME* fileTime);
BOOL LocalFileTimeToFileTime(const FILETIME* local, FILETIME* utc);

// The registry: one in-memory hive under HKEY_CURRENT_USER, private to the process. Key and value
// names compare without case (ASCII), values are typed byte strings as on Windows, and a read into
// a buffer too small fails with ERROR_MORE_DATA and the size needed.
LSTATUS RegCreateKeyExW(HKEY parent, LPCWSTR subKey, DWORD reserved, LPWSTR className, DWORD options, REGSAM access,
                        SECURITY_ATTRIBUTES* attributes, PHKEY result, DWORD* disposition);
LSTATUS RegOpenKeyExW(HKEY parent, LPCWSTR subKey, DWORD options, REGSAM access, PHKEY result);
LSTATUS RegCloseKey(HKEY key);
LSTATUS RegQueryValueExW(HKEY key, LPCWSTR name, DWORD* reserved, DWORD* type, BYTE* data, DWORD* bytes);
LSTATUS RegSetValueExW(HKEY key, LPCWSTR name, DWORD reserved, DWORD type, const BYTE* data, DWORD bytes);
LSTATUS SHDeleteKeyW(HKEY parent, LPCWSTR subKey);

// No window exists in a harness: IsWindow is false, sends go nowhere, posts are recorded.
BOOL IsWindow(HWND window);
LRESULT SendMessageW(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
BOOL PostMessageW(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
BOOL DeleteObject(void* object);

namespace wxlm_port {
struct PostedMessage {
    HWND window;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};
// Messages posted since the last call, oldest first.
size_t TakePosted(PostedMessage* out, size_t capacity);
// The per-process folder standing for the local application data folder (UTF-8 path).
const char* LocalAppDataDir();
} // namespace wxlm_port
