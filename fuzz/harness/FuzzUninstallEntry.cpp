// The values of the game's uninstall entry: whatever type and data another program stored,
// both readers give what Windows' registry holds as text (or nothing); and an entry written
// by the launcher reads back its install folder, leaving the other programs' values alone.
#include "FuzzText.h"
#include "Common.h"
#include "InstallRegistration.h"
#include "ShellLink.h"

#include <port/include/wxlm_port.h>

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

const std::wstring kEntry = std::wstring(L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\") + GameId;
constexpr size_t kReadLimitBytes = 520;

DWORD ValueType(FuzzedDataProvider& provider)
{
    static const DWORD kTypes[] = {REG_SZ, REG_EXPAND_SZ, REG_MULTI_SZ, REG_BINARY, REG_DWORD, REG_NONE, REG_QWORD};
    const uint8_t pick = provider.ConsumeIntegral<uint8_t>();
    return pick < 200 ? kTypes[pick % 7] : pick; // now and then a type no one defines
}

void Store(const wchar_t* name, DWORD type, const std::string& bytes)
{
    HKEY key = nullptr;
    CheckThat(RegCreateKeyExW(HKEY_CURRENT_USER, kEntry.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_WRITE,
                              nullptr, &key, nullptr) == ERROR_SUCCESS,
              "the stand-in registry refused a key");
    CheckThat(RegSetValueExW(key, name, 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
                             static_cast<DWORD>(bytes.size())) == ERROR_SUCCESS,
              "the stand-in registry refused a value");
    RegCloseKey(key);
}

bool IsText(DWORD type)
{
    return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ;
}

// What a reader should give for a stored value: its UTF-16LE units (an odd byte padded with
// zero) up to the first NUL, when it is text and fits the reader's buffer.
std::wstring Expected(DWORD type, std::string bytes)
{
    if (!IsText(type) || bytes.size() > kReadLimitBytes)
        return L"";
    bytes.push_back('\0');
    const std::wstring units = Utf16Units(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    return units.substr(0, units.find(L'\0'));
}

std::wstring Slashed(std::wstring path)
{
    std::replace(path.begin(), path.end(), L'/', L'\\');
    return path;
}

// The install folder is the value's text up to and with its last separator ('/' read as '\'),
// or the whole text where there is none.
void CheckFolder(const std::wstring& displayIcon, const std::wstring& folder)
{
    const std::wstring slashed = Slashed(displayIcon);
    const size_t cut = slashed.rfind(L'\\');
    AssertSameText("install folder", cut == std::wstring::npos ? slashed : slashed.substr(0, cut + 1), folder);
}

void CheckStoredValues(DWORD iconType, const std::string& icon, DWORD paramType, const std::string& param)
{
    const std::wstring displayIcon = Expected(iconType, icon);
    AssertSameText("file parameter", Expected(paramType, param), GetBagFileParam(GameId));
    CheckFolder(displayIcon, GetRegisteredInstallDir(GameId));
    // Another game's entry is another key.
    AssertSameText("other game's folder", L"", GetRegisteredInstallDir(L"wxlm_other"));
}

void CheckWrittenEntry(const std::wstring& installDir, const std::wstring& paramBefore)
{
    WriteUninstallEntry(installDir);
    const std::wstring launcher = GetInstalledLauncherPath(installDir);
    const std::wstring stored = launcher.substr(0, launcher.find(L'\0'));
    const std::wstring folder = GetRegisteredInstallDir(GameId);
    if ((launcher.size() + 1) * 2 > kReadLimitBytes) {
        AssertSameText("folder of an entry too long to read", L"", folder);
    } else {
        CheckFolder(stored, folder);
        if (stored == launcher)
            AssertSameText("install folder written and read", Slashed(installDir) + L"\\", folder);
    }
    AssertSameText("file parameter after the entry was written", paramBefore, GetBagFileParam(GameId));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider provider(data, size);
    SHDeleteKeyW(HKEY_CURRENT_USER, kEntry.c_str());
    const bool entryThere = provider.ConsumeBool();
    const DWORD iconType = ValueType(provider);
    const std::string icon = provider.ConsumeRandomLengthString(600);
    const DWORD paramType = ValueType(provider);
    const std::string param = provider.ConsumeRandomLengthString(600);
    const std::string dirBytes = provider.ConsumeRemainingBytesAsString();
    const std::wstring installDir = FuzzWideText(reinterpret_cast<const uint8_t*>(dirBytes.data()), dirBytes.size());

    if (entryThere) {
        Store(L"DisplayIcon", iconType, icon);
        Store(L"FileParam", paramType, param);
        CheckStoredValues(iconType, icon, paramType, param);
    } else {
        AssertSameText("folder without an entry", L"", GetRegisteredInstallDir(GameId));
        AssertSameText("file parameter without an entry", L"", GetBagFileParam(GameId));
    }
    CheckWrittenEntry(installDir, entryThere ? Expected(paramType, param) : L"");
    return 0;
}
