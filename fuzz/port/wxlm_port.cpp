#include "wxlm_port.h"

#include <fcntl.h>
#include <ftw.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstring>
#include <cwctype>
#include <deque>
#include <string>
#include <vector>

namespace {

thread_local DWORD t_lastError = 0;

// Windows-1252 bytes 0x80..0x9F; the five unassigned ones map to the C1 controls as on Windows.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

bool IsAnsi(UINT codePage)
{
    return codePage == CP_ACP || codePage == 1252;
}

char16_t AnsiToUnit(unsigned char byte)
{
    return byte >= 0x80 && byte < 0xA0 ? kCp1252High[byte - 0x80] : static_cast<char16_t>(byte);
}

int UnitToAnsi(uint32_t unit)
{
    if (unit < 0x80 || (unit >= 0xA0 && unit <= 0xFF))
        return static_cast<int>(unit);
    for (int i = 0; i < 32; ++i) {
        if (kCp1252High[i] == unit)
            return 0x80 + i;
    }
    return -1;
}

// UTF-8 decoding as Windows does it: each maximal invalid subpart becomes U+FFFD (or fails the
// call with MB_ERR_INVALID_CHARS); encoded surrogates and overlong forms are invalid.
bool DecodeUtf8(const unsigned char* s, size_t n, bool strict, std::u16string& out)
{
    size_t i = 0;
    while (i < n) {
        const unsigned char c = s[i];
        if (c < 0x80) {
            out += static_cast<char16_t>(c);
            ++i;
            continue;
        }
        int length = 0;
        uint32_t cp = 0;
        unsigned char low = 0x80, high = 0xBF;
        if (c >= 0xC2 && c <= 0xDF) {
            length = 2;
            cp = c & 0x1F;
        } else if (c >= 0xE0 && c <= 0xEF) {
            length = 3;
            cp = c & 0x0F;
            if (c == 0xE0)
                low = 0xA0;
            if (c == 0xED)
                high = 0x9F;
        } else if (c >= 0xF0 && c <= 0xF4) {
            length = 4;
            cp = c & 0x07;
            if (c == 0xF0)
                low = 0x90;
            if (c == 0xF4)
                high = 0x8F;
        }
        size_t j = i + 1;
        bool ok = length > 0;
        for (int k = 1; ok && k < length; ++k, ++j) {
            if (j >= n || s[j] < (k == 1 ? low : 0x80) || s[j] > (k == 1 ? high : 0xBF)) {
                ok = false;
                break;
            }
            cp = (cp << 6) | (s[j] & 0x3F);
        }
        if (!ok) {
            if (strict)
                return false;
            out += u'\uFFFD';
            i = length > 0 ? j : i + 1;
            continue;
        }
        if (cp >= 0x10000) {
            cp -= 0x10000;
            out += static_cast<char16_t>(0xD800 + (cp >> 10));
            out += static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
        } else {
            out += static_cast<char16_t>(cp);
        }
        i = j;
    }
    return true;
}

// Lone surrogates become U+FFFD (or fail the call with WC_ERR_INVALID_CHARS).
bool EncodeUtf8(const wchar_t* w, size_t n, bool strict, std::string& out)
{
    for (size_t i = 0; i < n; ++i) {
        uint32_t cp = static_cast<uint32_t>(w[i]);
        if (cp > 0xFFFF) {
            cp = 0xFFFD; // not a code unit: nothing the harnesses feed
        } else if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < n && static_cast<uint32_t>(w[i + 1]) >= 0xDC00 &&
                   static_cast<uint32_t>(w[i + 1]) <= 0xDFFF) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (static_cast<uint32_t>(w[i + 1]) - 0xDC00);
            ++i;
        } else if (cp >= 0xD800 && cp <= 0xDFFF) {
            if (strict)
                return false;
            cp = 0xFFFD;
        }
        if (cp < 0x80) {
            out += static_cast<char>(cp);
        } else if (cp < 0x800) {
            out += static_cast<char>(0xC0 | (cp >> 6));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else if (cp < 0x10000) {
            out += static_cast<char>(0xE0 | (cp >> 12));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (cp >> 18));
            out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        }
    }
    return true;
}

int Fail(DWORD code)
{
    t_lastError = code;
    return 0;
}

std::string NarrowPath(const wchar_t* path)
{
    std::string narrow;
    EncodeUtf8(path, std::wcslen(path), false, narrow);
    for (char& c : narrow) {
        if (c == '\\')
            c = '/';
    }
    return narrow;
}

std::wstring WidePath(const std::string& narrow)
{
    std::u16string units;
    DecodeUtf8(reinterpret_cast<const unsigned char*>(narrow.data()), narrow.size(), false, units);
    return std::wstring(units.begin(), units.end());
}

std::deque<wxlm_port::PostedMessage>& Posted()
{
    static std::deque<wxlm_port::PostedMessage> posted;
    return posted;
}

struct FileHandle {
    int fd;
};

} // namespace

DWORD GetLastError()
{
    return t_lastError;
}

void SetLastError(DWORD code)
{
    t_lastError = code;
}

int MultiByteToWideChar(UINT codePage, DWORD flags, LPCCH bytes, int byteCount, LPWSTR wide, int wideCount)
{
    if (!bytes || byteCount == 0 || byteCount < -1 || wideCount < 0)
        return Fail(ERROR_INVALID_PARAMETER);
    const size_t n = byteCount == -1 ? std::strlen(bytes) + 1 : static_cast<size_t>(byteCount);
    std::u16string units;
    if (codePage == CP_UTF8) {
        if (!DecodeUtf8(reinterpret_cast<const unsigned char*>(bytes), n, (flags & MB_ERR_INVALID_CHARS) != 0, units))
            return Fail(ERROR_NO_UNICODE_TRANSLATION);
    } else if (IsAnsi(codePage)) {
        for (size_t i = 0; i < n; ++i)
            units += AnsiToUnit(static_cast<unsigned char>(bytes[i]));
    } else {
        return Fail(ERROR_INVALID_PARAMETER);
    }
    if (units.size() > INT_MAX)
        return Fail(ERROR_INSUFFICIENT_BUFFER);
    if (wideCount == 0)
        return static_cast<int>(units.size());
    if (!wide || units.size() > static_cast<size_t>(wideCount))
        return Fail(ERROR_INSUFFICIENT_BUFFER);
    for (size_t i = 0; i < units.size(); ++i)
        wide[i] = static_cast<wchar_t>(units[i]);
    return static_cast<int>(units.size());
}

int WideCharToMultiByte(UINT codePage, DWORD flags, LPCWCH wide, int wideCount, LPSTR bytes, int byteCount,
                        LPCCH defaultChar, LPBOOL usedDefault)
{
    if (!wide || wideCount == 0 || wideCount < -1 || byteCount < 0)
        return Fail(ERROR_INVALID_PARAMETER);
    const size_t n = wideCount == -1 ? std::wcslen(wide) + 1 : static_cast<size_t>(wideCount);
    std::string out;
    if (codePage == CP_UTF8) {
        if (defaultChar || usedDefault)
            return Fail(ERROR_INVALID_PARAMETER);
        if (!EncodeUtf8(wide, n, (flags & WC_ERR_INVALID_CHARS) != 0, out))
            return Fail(ERROR_NO_UNICODE_TRANSLATION);
    } else if (IsAnsi(codePage)) {
        bool defaulted = false;
        for (size_t i = 0; i < n; ++i) {
            const int byte = UnitToAnsi(static_cast<uint32_t>(wide[i]));
            if (byte < 0) {
                defaulted = true;
                out += defaultChar ? *defaultChar : '?';
            } else {
                out += static_cast<char>(byte);
            }
        }
        if (usedDefault)
            *usedDefault = defaulted;
    } else {
        return Fail(ERROR_INVALID_PARAMETER);
    }
    if (out.size() > INT_MAX)
        return Fail(ERROR_INSUFFICIENT_BUFFER);
    if (byteCount == 0)
        return static_cast<int>(out.size());
    if (!bytes || out.size() > static_cast<size_t>(byteCount))
        return Fail(ERROR_INSUFFICIENT_BUFFER);
    std::memcpy(bytes, out.data(), out.size());
    return static_cast<int>(out.size());
}

DWORD CharUpperBuffW(LPWSTR text, DWORD length)
{
    for (DWORD i = 0; i < length; ++i)
        text[i] = static_cast<wchar_t>(std::towupper(static_cast<wint_t>(text[i])));
    return length;
}

DWORD CharLowerBuffW(LPWSTR text, DWORD length)
{
    for (DWORD i = 0; i < length; ++i)
        text[i] = static_cast<wchar_t>(std::towlower(static_cast<wint_t>(text[i])));
    return length;
}

int _wcsicmp(const wchar_t* a, const wchar_t* b)
{
    return wcscasecmp(a, b);
}

int _vsnwprintf(wchar_t* buffer, size_t count, const wchar_t* format, va_list args)
{
    std::vector<wchar_t> whole(count + 1);
    const int written = vswprintf(whole.data(), whole.size(), format, args);
    if (written < 0 || static_cast<size_t>(written) > count) {
        std::wmemcpy(buffer, whole.data(), count);
        return -1;
    }
    std::wmemcpy(buffer, whole.data(), static_cast<size_t>(written) + (static_cast<size_t>(written) < count ? 1 : 0));
    return written;
}

// Whole-range reads clamp as the Windows CRT does: _wtoi gives INT_MAX/INT_MIN on overflow.
int _wtoi(const wchar_t* text)
{
    const long long value = std::wcstoll(text, nullptr, 10);
    return static_cast<int>(value < INT_MIN ? INT_MIN : value > INT_MAX ? INT_MAX : value);
}

int64_t _wtoi64(const wchar_t* text)
{
    return std::wcstoll(text, nullptr, 10);
}

LPWSTR GetCommandLineW()
{
    static wchar_t line[] = L"wxlm_main.exe";
    return line;
}

// The documented splitting rules: the program name ends at the next quote when it starts with
// one, else at the first blank or tab; then arguments are separated by blanks and tabs, quotes
// group, 2n backslashes before a quote give n and the quote groups, 2n+1 give n and a literal
// quote, other backslashes are literal, and "" inside quotes is a literal quote.
LPWSTR* CommandLineToArgvW(LPCWSTR commandLine, int* count)
{
    if (!count) {
        t_lastError = ERROR_INVALID_PARAMETER;
        return nullptr;
    }
    std::vector<std::wstring> args;
    if (!commandLine || !*commandLine) {
        args.push_back(L"C:\\Program Files\\wxlm\\wxlm_main.exe");
    } else {
        const wchar_t* s = commandLine;
        std::wstring first;
        if (*s == L'"') {
            ++s;
            while (*s && *s != L'"')
                first += *s++;
            if (*s == L'"')
                ++s;
        } else {
            while (*s && *s != L' ' && *s != L'\t')
                first += *s++;
        }
        args.push_back(first);
        for (;;) {
            while (*s == L' ' || *s == L'\t')
                ++s;
            if (!*s)
                break;
            std::wstring arg;
            bool quoted = false;
            while (*s && (quoted || (*s != L' ' && *s != L'\t'))) {
                if (*s == L'\\') {
                    size_t backslashes = 0;
                    while (*s == L'\\') {
                        ++backslashes;
                        ++s;
                    }
                    if (*s == L'"') {
                        arg.append(backslashes / 2, L'\\');
                        if (backslashes % 2) {
                            arg += L'"';
                            ++s;
                        }
                    } else {
                        arg.append(backslashes, L'\\');
                    }
                } else if (*s == L'"') {
                    ++s;
                    if (quoted && *s == L'"') {
                        arg += L'"';
                        ++s;
                    } else {
                        quoted = !quoted;
                    }
                } else {
                    arg += *s++;
                }
            }
            args.push_back(arg);
        }
    }
    size_t chars = 0;
    for (const std::wstring& arg : args)
        chars += arg.size() + 1;
    const size_t table = (args.size() + 1) * sizeof(LPWSTR);
    auto* block = static_cast<char*>(std::malloc(table + chars * sizeof(wchar_t)));
    if (!block)
        return nullptr;
    auto** argv = reinterpret_cast<LPWSTR*>(block);
    auto* text = reinterpret_cast<wchar_t*>(block + table);
    for (size_t i = 0; i < args.size(); ++i) {
        argv[i] = text;
        std::wmemcpy(text, args[i].c_str(), args[i].size() + 1);
        text += args[i].size() + 1;
    }
    argv[args.size()] = nullptr;
    *count = static_cast<int>(args.size());
    return argv;
}

HLOCAL LocalFree(HLOCAL memory)
{
    std::free(memory);
    return nullptr;
}

FILE* _wfopen(const wchar_t* path, const wchar_t* mode)
{
    std::string narrowMode;
    EncodeUtf8(mode, std::wcslen(mode), false, narrowMode);
    return std::fopen(NarrowPath(path).c_str(), narrowMode.c_str());
}

BOOL PathFileExistsW(LPCWSTR path)
{
    return path && access(NarrowPath(path).c_str(), F_OK) == 0;
}

BOOL CreateDirectoryW(LPCWSTR path, SECURITY_ATTRIBUTES*)
{
    return mkdir(NarrowPath(path).c_str(), 0700) == 0;
}

BOOL SHGetSpecialFolderPathW(HWND, LPWSTR path, int csidl, BOOL)
{
    if (csidl != CSIDL_LOCAL_APPDATA)
        return FALSE;
    const std::wstring dir = WidePath(wxlm_port::LocalAppDataDir());
    if (dir.size() >= MAX_PATH)
        return FALSE;
    std::wmemcpy(path, dir.c_str(), dir.size() + 1);
    return TRUE;
}

DWORD GetModuleFileNameW(void*, LPWSTR path, DWORD size)
{
    static const wchar_t name[] = L"C:\\Program Files\\wxlm\\wxlm_main.exe";
    const DWORD length = static_cast<DWORD>(std::wcslen(name));
    if (size == 0)
        return 0;
    const DWORD copied = length < size ? length : size - 1;
    std::wmemcpy(path, name, copied);
    path[copied] = L'\0';
    return length < size ? length : size;
}

HANDLE CreateFileW(LPCWSTR path, DWORD, DWORD, SECURITY_ATTRIBUTES*, DWORD, DWORD, HANDLE)
{
    const int fd = open(NarrowPath(path).c_str(), O_RDONLY);
    if (fd < 0) {
        t_lastError = ERROR_FILE_NOT_FOUND;
        return INVALID_HANDLE_VALUE;
    }
    return new FileHandle{fd};
}

BOOL CloseHandle(HANDLE handle)
{
    if (!handle || handle == INVALID_HANDLE_VALUE)
        return FALSE;
    auto* file = static_cast<FileHandle*>(handle);
    close(file->fd);
    delete file;
    return TRUE;
}

BOOL ReadFile(HANDLE handle, LPVOID buffer, DWORD length, DWORD* read, OVERLAPPED* overlapped)
{
    auto* file = static_cast<FileHandle*>(handle);
    ssize_t got;
    if (overlapped) {
        const off_t at = static_cast<off_t>((static_cast<uint64_t>(overlapped->OffsetHigh) << 32) | overlapped->Offset);
        got = pread(file->fd, buffer, length, at);
    } else {
        got = ::read(file->fd, buffer, length);
    }
    if (got < 0)
        return FALSE;
    if (read)
        *read = static_cast<DWORD>(got);
    return TRUE;
}

DWORD GetFileType(HANDLE handle)
{
    struct stat info;
    if (!handle || handle == INVALID_HANDLE_VALUE || fstat(static_cast<FileHandle*>(handle)->fd, &info) != 0)
        return FILE_TYPE_UNKNOWN;
    return S_ISREG(info.st_mode) ? FILE_TYPE_DISK : FILE_TYPE_UNKNOWN;
}

BOOL GetFileSizeEx(HANDLE handle, LARGE_INTEGER* size)
{
    struct stat info;
    if (fstat(static_cast<FileHandle*>(handle)->fd, &info) != 0)
        return FALSE;
    size->QuadPart = info.st_size;
    return TRUE;
}

// Nanoseconds of the monotonic clock: a counter of fixed frequency, as on Windows.
BOOL QueryPerformanceCounter(LARGE_INTEGER* count)
{
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    count->QuadPart = static_cast<LONGLONG>(now.tv_sec) * 1000000000LL + now.tv_nsec;
    return TRUE;
}

HANDLE GetCurrentProcess()
{
    return reinterpret_cast<HANDLE>(static_cast<intptr_t>(-1));
}

BOOL DuplicateHandle(HANDLE, HANDLE source, HANDLE, HANDLE* target, DWORD, BOOL, DWORD)
{
    const int fd = dup(static_cast<FileHandle*>(source)->fd);
    if (fd < 0)
        return FALSE;
    *target = new FileHandle{fd};
    return TRUE;
}

// FAT dates: day 1..31, month 1..12, years 1980..2107; seconds in pairs 0..29, minutes 0..59,
// hours 0..23. Anything else fails, as on Windows.
BOOL DosDateTimeToFileTime(WORD date, WORD time, FILETIME* fileTime)
{
    const int day = date & 0x1F, month = (date >> 5) & 0x0F, year = 1980 + (date >> 9);
    const int seconds = (time & 0x1F) * 2, minutes = (time >> 5) & 0x3F, hours = time >> 11;
    static const int daysIn[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    if (month < 1 || month > 12 || day < 1 || day > daysIn[month - 1] + (month == 2 && leap) || seconds > 59 ||
        minutes > 59 || hours > 23)
        return FALSE;
    int64_t days = 0;
    for (int y = 1601; y < year; ++y)
        days += ((y % 4 == 0 && y % 100 != 0) || y % 400 == 0) ? 366 : 365;
    for (int m = 1; m < month; ++m)
        days += daysIn[m - 1] + (m == 2 && leap);
    days += day - 1;
    const uint64_t ticks = ((static_cast<uint64_t>(days) * 86400 + hours * 3600 + minutes * 60 + seconds) * 10000000ULL);
    fileTime->dwLowDateTime = static_cast<DWORD>(ticks);
    fileTime->dwHighDateTime = static_cast<DWORD>(ticks >> 32);
    return TRUE;
}

// The harness process runs in UTC.
BOOL LocalFileTimeToFileTime(const FILETIME* local, FILETIME* utc)
{
    *utc = *local;
    return TRUE;
}

BOOL IsWindow(HWND)
{
    return FALSE;
}

LRESULT SendMessageW(HWND, UINT, WPARAM, LPARAM)
{
    return 0;
}

BOOL PostMessageW(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    Posted().push_back({window, message, wParam, lParam});
    return TRUE;
}

namespace wxlm_port {

size_t TakePosted(PostedMessage* out, size_t capacity)
{
    size_t taken = 0;
    while (taken < capacity && !Posted().empty()) {
        out[taken++] = Posted().front();
        Posted().pop_front();
    }
    return taken;
}

namespace {

int RemoveEntry(const char* path, const struct stat*, int, struct FTW*)
{
    return remove(path);
}

struct PrivateFolder {
    std::string path;
    PrivateFolder()
    {
        const char* base = std::getenv("TMPDIR");
        path = std::string(base && *base ? base : "/tmp") + "/wxlm-fuzz-XXXXXX";
        if (!mkdtemp(path.data()))
            std::abort();
    }
    ~PrivateFolder() { nftw(path.c_str(), RemoveEntry, 16, FTW_DEPTH | FTW_PHYS); }
};

} // namespace

// Each harness process has its own folder, removed when it ends, so runs never share files.
const char* LocalAppDataDir()
{
    static const PrivateFolder folder;
    return folder.path.c_str();
}

} // namespace wxlm_port
