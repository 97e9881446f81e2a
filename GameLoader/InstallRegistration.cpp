#include "InstallRegistration.h"

#include <windows.h>
#include <shlwapi.h>

#include <algorithm>
#include <array>
#include <utility>

#include "Common.h"
#include "RegistryText.h"
#include "ShellLink.h"
#include "ScopedHandle.h"

namespace {

struct RegKeyTraits {
    using Handle = HKEY;
    static Handle Invalid() { return nullptr; }
    static bool IsValid(Handle key) { return key != nullptr; }
    static void Close(Handle key) { RegCloseKey(key); }
};
using UniqueRegKey = ScopedHandle<RegKeyTraits>;

const wchar_t kUninstallRoot[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
const wchar_t kDisplayVersion[] = L"3.0.3.5";
constexpr size_t kValueBufferBytes = 520; // 259 characters and the terminator

std::wstring UninstallKeyPath(const std::wstring& gameId)
{
    return std::wstring(kUninstallRoot) + L"\\" + gameId;
}

// Opens, or with create set opens or creates, a key under HKEY_CURRENT_USER; invalid on failure.
UniqueRegKey OpenUserKey(const std::wstring& path, REGSAM access, bool create)
{
    HKEY key = nullptr;
    const LSTATUS status = create ? RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr,
                                                    REG_OPTION_NON_VOLATILE, access, nullptr, &key, nullptr)
                                  : RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, access, &key);
    return UniqueRegKey(status == ERROR_SUCCESS ? key : nullptr);
}

std::wstring ReadUninstallText(const std::wstring& gameId, const wchar_t* valueName)
{
    const UniqueRegKey key = OpenUserKey(UninstallKeyPath(gameId), KEY_READ, false);
    if (!key)
        return {};
    std::array<BYTE, kValueBufferBytes> buffer = {};
    DWORD type = REG_NONE;
    DWORD size = static_cast<DWORD>(buffer.size());
    if (RegQueryValueExW(key.Get(), valueName, nullptr, &type, buffer.data(), &size) != ERROR_SUCCESS)
        return {};
    return RegistryTextFromData(type, buffer.data(), std::min<size_t>(size, buffer.size()));
}

std::wstring FolderWithSeparator(std::wstring path)
{
    std::replace(path.begin(), path.end(), L'/', L'\\');
    const size_t cut = path.rfind(L'\\');
    return cut == std::wstring::npos ? path : path.substr(0, cut + 1);
}

std::wstring UninstallerPath(const std::wstring& installDir)
{
    std::wstring name = GameId;
    CharUpperBuffW(name.data(), 1);
    return installDir + L"\\" + name + L"GameLauncherUninst.exe";
}

bool SetText(HKEY key, const wchar_t* name, const std::wstring& value)
{
    const std::vector<BYTE> data = RegistryDataFromText(value);
    return RegSetValueExW(key, name, 0, REG_SZ, data.data(), static_cast<DWORD>(data.size())) == ERROR_SUCCESS;
}

void DeleteUninstallEntry(const std::wstring& gameId)
{
    const UniqueRegKey root = OpenUserKey(kUninstallRoot, KEY_ALL_ACCESS, true);
    if (root)
        SHDeleteKeyW(root.Get(), gameId.c_str());
}

} // namespace

std::wstring GetRegisteredInstallDir(const std::wstring& gameId)
{
    return FolderWithSeparator(ReadUninstallText(gameId, L"DisplayIcon"));
}

std::wstring GetBagFileParam(const std::wstring& gameId)
{
    return ReadUninstallText(gameId, L"FileParam");
}

void RefreshInstallRegistration(const std::wstring& installDir, const std::wstring& source)
{
    DeleteDesktopShortcut();
    DeleteUninstallEntry(GameId);
    CreateDesktopShortcut(installDir, source);
    WriteUninstallEntry(installDir);
}

void WriteUninstallEntry(const std::wstring& installDir)
{
    const UniqueRegKey key = OpenUserKey(UninstallKeyPath(GameId), KEY_WRITE, true);
    if (!key)
        return;
    const std::array<std::pair<const wchar_t*, std::wstring>, 5> values = {{
        {L"DisplayVersion", kDisplayVersion},
        {L"DisplayIcon", GetInstalledLauncherPath(installDir)},
        {L"DisplayName", WindowTitle},
        {L"Publisher", L""},
        {L"UninstallString", UninstallerPath(installDir)},
    }};
    for (const auto& [name, value] : values)
        if (!SetText(key.Get(), name, value))
            return;
}
