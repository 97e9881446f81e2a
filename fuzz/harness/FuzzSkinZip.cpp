// Skin archives: the zip reader from memory and from a file.
#include "core/SkinZip.h"

#include <port/include/wxlm_port.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

// Every entry found, looked up again by its name, and extracted whole and in small pieces.
void ReadAll(Tarvo::CSkinZip& zip)
{
    std::vector<BYTE> buffer;
    BYTE piece[700];
    for (int i = 0; i < zip.GetEntryCount(); ++i) {
        Tarvo::SkinZipEntry entry;
        if (zip.GetEntry(i, entry) != Tarvo::SKINZIP_OK)
            continue;
        int found = -1;
        Tarvo::SkinZipEntry again;
        zip.FindEntry(entry.name, found, again);
        // The reader refuses sizes the data cannot hold; a bounded buffer keeps a lying header cheap.
        buffer.resize(entry.uncompressedSize < (1u << 20) ? entry.uncompressedSize : (1u << 20));
        zip.ExtractToMemory(i, buffer.data(), static_cast<DWORD>(buffer.size()));
        for (int round = 0; round < 64 && zip.ExtractToMemory(i, piece, sizeof piece) == Tarvo::SKINZIP_MORE; ++round) {
        }
    }
    Tarvo::SkinZipEntry missing;
    int index = -1;
    zip.FindEntry(L"GameLoader.xml", index, missing);
    zip.ExtractToMemory(zip.GetEntryCount(), piece, sizeof piece);
}

std::string ArchivePath()
{
    return std::string(wxlm_port::LocalAppDataDir()) + "/skin.zip";
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    {
        Tarvo::CSkinZip zip;
        if (zip.OpenMemory(data, static_cast<DWORD>(size)) == Tarvo::SKINZIP_OK)
            ReadAll(zip);
    }
    const std::string path = ArchivePath();
    if (FILE* file = std::fopen(path.c_str(), "wb")) {
        std::fwrite(data, 1, size, file);
        std::fclose(file);
        Tarvo::CSkinZip zip;
        const std::wstring widePath(path.begin(), path.end());
        if (zip.OpenFile(widePath.c_str()) == Tarvo::SKINZIP_OK)
            ReadAll(zip);
    }
    return 0;
}
