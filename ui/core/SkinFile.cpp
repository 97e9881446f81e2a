#include "core/SkinFile.h"

#include "core/ResourceSettings.h"
#include "core/SkinZip.h"
#include "core/UIHandle.h"

#include <new>

namespace Tarvo {

namespace {

bool Allocate(SkinFileBytes& bytes, DWORD dwSize)
{
    bytes.pData.reset(new (std::nothrow) BYTE[dwSize]);
    bytes.dwSize = bytes.pData ? dwSize : 0;
    return bytes.pData != nullptr;
}

SkinFileResult ReadFromZip(CSkinZip& zip, LPCWSTR pstrName, DWORD dwMaxSize, SkinFileBytes& bytes)
{
    int nIndex = -1;
    SkinZipEntry entry;
    zip.FindEntry(pstrName, nIndex, entry);
    if (nIndex < 0) {
        return SkinFileResult::NotInZip;
    }
    if (entry.uncompressedSize == 0) {
        return SkinFileResult::Empty;
    }
    if (entry.uncompressedSize > dwMaxSize) {
        return SkinFileResult::TooLarge;
    }
    if (!Allocate(bytes, entry.uncompressedSize)) {
        return SkinFileResult::UnzipFailed;
    }
    const DWORD code = zip.ExtractToMemory(nIndex, bytes.pData.get(), bytes.dwSize);
    if (code != SKINZIP_OK && code != SKINZIP_MORE) {
        bytes = SkinFileBytes();
        return SkinFileResult::UnzipFailed;
    }
    return SkinFileResult::Ok;
}

SkinFileResult ReadFromConfiguredZip(LPCWSTR pstrName, DWORD dwMaxSize, SkinFileBytes& bytes)
{
    if (CResourceSettingsUI::IsZipCached()) {
        CSkinZip* pZip = CResourceSettingsUI::ZipHandle();
        return pZip != nullptr ? ReadFromZip(*pZip, pstrName, dwMaxSize, bytes) : SkinFileResult::ZipOpenFailed;
    }
    CSkinZip zip;
    const CUIString path = CResourceSettingsUI::ResourcePath() + CResourceSettingsUI::ResourceZip();
    if (zip.OpenFile(path) != SKINZIP_OK) {
        return SkinFileResult::ZipOpenFailed;
    }
    return ReadFromZip(zip, pstrName, dwMaxSize, bytes);
}

} // namespace

SkinFileResult CSkinFileUI::Read(LPCWSTR pstrName, DWORD dwMaxSize, SkinFileBytes& bytes)
{
    bytes = SkinFileBytes();
    if (pstrName == nullptr) {
        return SkinFileResult::FileOpenFailed;
    }
    if (!CResourceSettingsUI::ResourceZip().IsEmpty()) {
        return ReadFromConfiguredZip(pstrName, dwMaxSize, bytes);
    }
    return ReadFile(CResourceSettingsUI::ResourcePath() + pstrName, dwMaxSize, bytes);
}

SkinFileResult CSkinFileUI::ReadFile(LPCWSTR pstrPath, DWORD dwMaxSize, SkinFileBytes& bytes)
{
    bytes = SkinFileBytes();
    CUIKernelHandle file(
        ::CreateFileW(pstrPath, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.IsValid()) {
        return SkinFileResult::FileOpenFailed;
    }
    LARGE_INTEGER size = {};
    if (!::GetFileSizeEx(file.Get(), &size)) {
        return SkinFileResult::FileReadFailed;
    }
    if (size.QuadPart == 0) {
        return SkinFileResult::Empty;
    }
    if (size.QuadPart > dwMaxSize) {
        return SkinFileResult::TooLarge;
    }
    if (!Allocate(bytes, static_cast<DWORD>(size.QuadPart))) {
        return SkinFileResult::FileReadFailed;
    }
    DWORD dwRead = 0;
    if (!::ReadFile(file.Get(), bytes.pData.get(), bytes.dwSize, &dwRead, nullptr) || dwRead != bytes.dwSize) {
        bytes = SkinFileBytes();
        return SkinFileResult::FileReadFailed;
    }
    return SkinFileResult::Ok;
}

LPCWSTR CSkinFileUI::Message(SkinFileResult result)
{
    switch (result) {
    case SkinFileResult::Ok:
        return L"";
    case SkinFileResult::ZipOpenFailed:
        return L"Error opening zip file";
    case SkinFileResult::NotInZip:
        return L"Could not find ziped file";
    case SkinFileResult::Empty:
        return L"File is empty";
    case SkinFileResult::TooLarge:
        return L"File too large";
    case SkinFileResult::UnzipFailed:
        return L"Could not unzip file";
    case SkinFileResult::FileOpenFailed:
        return L"Error opening file";
    case SkinFileResult::FileReadFailed:
        return L"Could not read file";
    }
    return L"";
}

} // namespace Tarvo
