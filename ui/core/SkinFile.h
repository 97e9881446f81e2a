#pragma once

#include <windows.h>

#include <memory>

namespace Tarvo {

enum class SkinFileResult {
    Ok,
    ZipOpenFailed,
    NotInZip,
    Empty,
    TooLarge,
    UnzipFailed,
    FileOpenFailed,
    FileReadFailed,
};

struct SkinFileBytes {
    std::unique_ptr<BYTE[]> pData;
    DWORD dwSize = 0;
};

// The bytes of one skin file, read whole: from the configured zip (the cached archive, or the
// zip file opened for this read) or else from the resource folder.
class CSkinFileUI {
public:
    static constexpr DWORD MAX_DOCUMENT_SIZE = 4 * 1024 * 1024;

    static SkinFileResult Read(LPCWSTR pstrName, DWORD dwMaxSize, SkinFileBytes& bytes);
    // A file by its own path (absolute, or relative to the current folder).
    static SkinFileResult ReadFile(LPCWSTR pstrPath, DWORD dwMaxSize, SkinFileBytes& bytes);
    // The text a skin document reports for a failed read; empty for Ok.
    static LPCWSTR Message(SkinFileResult result);
};

} // namespace Tarvo
