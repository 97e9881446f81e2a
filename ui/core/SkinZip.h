#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

namespace Tarvo {

// Result codes of every CSkinZip operation; the most recent one is kept in CSkinZip::LastError().
enum : DWORD {
    SKINZIP_OK = 0,
    SKINZIP_NODUPLICATE = 0x100, // the handle could not be duplicated
    SKINZIP_NOFILE = 0x200,      // the file could not be opened, or it cannot seek
    SKINZIP_NOTFOUND = 0x500,
    SKINZIP_MORE = 0x600,      // the buffer is full and the entry has more bytes: call again
    SKINZIP_BADHEADER = 0x700, // an end record, directory entry or local header is unreadable or inconsistent
    SKINZIP_BADEXTRA = 0x800,  // an extra field runs past its header
    SKINZIP_BADARGS = 0x10000,
    SKINZIP_NOTOPEN = 0x80000,
    SKINZIP_ALREADYOPEN = 0x1000000,
    SKINZIP_NOTDISK = 0x2000000,
    SKINZIP_INFLATE = 0x5000000, // read error, broken deflate data, wrong size or CRC, unsupported method
};

struct SkinZipEntry {
    int index = -1;
    WCHAR name[MAX_PATH] = {};
    DWORD attributes = 0;
    FILETIME accessTime = {};
    FILETIME creationTime = {};
    FILETIME modificationTime = {};
    DWORD compressedSize = 0;
    DWORD uncompressedSize = 0;
};

// Reader of one zip archive in a disk file or in memory (stored and deflated entries). Every
// offset and size of the end record and the central directory is checked against the archive
// when it opens; a local header is checked when its entry is used. Nothing is decrypted.
class CSkinZip {
public:
    CSkinZip();
    ~CSkinZip();
    CSkinZip(const CSkinZip&) = delete;
    CSkinZip& operator=(const CSkinZip&) = delete;

    DWORD OpenFile(LPCWSTR path);
    // The handle is duplicated; the caller keeps its own.
    DWORD OpenHandle(HANDLE file);
    // The block is not copied and must outlive this object (or its Close()).
    DWORD OpenMemory(const void* bytes, DWORD size);
    // SKINZIP_INFLATE when the entry last read to its end had a wrong CRC.
    DWORD Close();
    bool IsOpen() const { return m_source != nullptr; }

    int GetEntryCount() const { return static_cast<int>(m_entries.size()); }
    // Name compare ignores the case of ASCII letters; a backslash in the name matches a slash.
    // index is -1 when nothing is found.
    DWORD FindEntry(LPCWSTR name, int& index, SkinZipEntry& entry);
    DWORD GetEntry(int index, SkinZipEntry& entry);
    // Writes up to size uncompressed bytes of the entry. SKINZIP_MORE when the buffer filled up
    // first: the next call with the same index continues. The sizes and the CRC are checked once
    // the last byte has been produced; a mismatch is SKINZIP_INFLATE.
    DWORD ExtractToMemory(int index, void* buffer, DWORD size);

    static DWORD LastError();

    // Where the archive's bytes come from: a block of memory or a disk file.
    class Source;

private:
    class EntryStream;
    struct CentralRecord {
        uint16_t versionMadeBy;
        uint16_t flags;
        uint16_t method;
        uint16_t dosTime;
        uint16_t dosDate;
        uint32_t crc;
        uint32_t compressedSize;
        uint32_t uncompressedSize;
        uint32_t externalAttributes;
        uint32_t localOffset; // from the start of the archive proper (the prefix not counted)
        const char* name;     // into m_directory
        uint16_t nameLength;
        const BYTE* extra; // into m_directory
        uint16_t extraLength;
    };
    struct LocalRecord {
        uint64_t dataOffset; // absolute, in the source
        const BYTE* extra;   // into the caller's buffer
        uint16_t extraLength;
    };

    DWORD Open(std::unique_ptr<Source> source);
    DWORD ReadDirectory();
    DWORD ParseDirectory(uint32_t count);
    DWORD ReadLocalHeader(const CentralRecord& record, std::vector<BYTE>& header, LocalRecord& local) const;
    DWORD FillEntry(int index, SkinZipEntry& entry) const;
    DWORD Extract(int index, BYTE* buffer, DWORD size);
    DWORD StartEntry(int index);
    void FinishEntry();
    void IndexNames();

    std::unique_ptr<Source> m_source;
    std::vector<BYTE> m_directory;
    std::vector<CentralRecord> m_entries;
    std::vector<std::pair<uint32_t, int>> m_nameIndex; // (hash of the case-folded name, index), sorted
    uint64_t m_nPrefix = 0;
    uint64_t m_nDirectoryStart = 0; // absolute; every entry's data lies before it
    int64_t m_nLocalBias = 0;       // UTC minus local time, in FILETIME ticks
    std::unique_ptr<EntryStream> m_stream;
    DWORD m_dwClosedVerdict = SKINZIP_OK;
};

} // namespace Tarvo
