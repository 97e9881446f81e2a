#include "core/SkinZip.h"

#include "core/UIHandle.h"

#define ZLIB_CONST
#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <cwchar>

namespace Tarvo {

namespace {

constexpr uint32_t kEndRecordSignature = 0x06054b50;
constexpr uint32_t kCentralSignature = 0x02014b50;
constexpr uint32_t kLocalSignature = 0x04034b50;
constexpr DWORD kEndRecordSize = 22;
constexpr DWORD kEndSearchSpan = 65535;
constexpr DWORD kCentralHeaderSize = 46;
constexpr DWORD kLocalHeaderSize = 30;
constexpr DWORD kInputBlock = 16 * 1024;
constexpr uint16_t kFlagEncrypted = 0x0001;
constexpr uint16_t kFlagDataDescriptor = 0x0008;
constexpr uint16_t kMethodStored = 0;
constexpr uint16_t kMethodDeflate = 8;
constexpr uint16_t kExtendedTimestampId = 0x5455; // "UT"
constexpr int kLongestFindableName = 255;
// Deflate cannot expand data by more than about 1032:1; a larger claim is a lie.
constexpr uint64_t kDeflateMaxRatio = 1032;

DWORD s_dwLastError = SKINZIP_OK;

DWORD Report(DWORD code)
{
    s_dwLastError = code;
    return code;
}

uint16_t Le16(const BYTE* p)
{
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
}
uint32_t Le32(const BYTE* p)
{
    return Le16(p) | (static_cast<uint32_t>(Le16(p + 2)) << 16);
}

char FoldAscii(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// FNV-1a over the bytes with ASCII letters folded to lower case.
uint32_t FoldedHash(const char* name, size_t length)
{
    uint32_t hash = 2166136261u;
    for (size_t i = 0; i < length; ++i) {
        hash = (hash ^ static_cast<unsigned char>(FoldAscii(name[i]))) * 16777619u;
    }
    return hash;
}

bool EqualsIgnoringAsciiCase(const char* a, const char* b, size_t length)
{
    for (size_t i = 0; i < length; ++i) {
        if (FoldAscii(a[i]) != FoldAscii(b[i])) {
            return false;
        }
    }
    return true;
}

// DOS times are local. LocalFileTimeToFileTime applies the bias in force now, whatever the date,
// so taking that bias once per archive gives the same answer for a fraction of the cost.
int64_t LocalTimeBias()
{
    constexpr int64_t kReference = 130000000000000000LL;
    FILETIME local;
    local.dwLowDateTime = static_cast<DWORD>(kReference);
    local.dwHighDateTime = static_cast<DWORD>(kReference >> 32);
    FILETIME utc = {};
    if (!::LocalFileTimeToFileTime(&local, &utc)) {
        return 0;
    }
    return static_cast<int64_t>((static_cast<uint64_t>(utc.dwHighDateTime) << 32) | utc.dwLowDateTime) - kReference;
}

FILETIME FileTimeFromDos(uint16_t dosDate, uint16_t dosTime, int64_t bias)
{
    FILETIME local = {};
    if (!::DosDateTimeToFileTime(dosDate, dosTime, &local)) {
        return FILETIME{};
    }
    const uint64_t ticks = ((static_cast<uint64_t>(local.dwHighDateTime) << 32) | local.dwLowDateTime) + bias;
    FILETIME utc;
    utc.dwLowDateTime = static_cast<DWORD>(ticks);
    utc.dwHighDateTime = static_cast<DWORD>(ticks >> 32);
    return utc;
}

FILETIME FileTimeFromUnix(uint32_t seconds)
{
    const int64_t ticks = static_cast<int64_t>(static_cast<int32_t>(seconds)) * 10000000 + 116444736000000000LL;
    FILETIME ft;
    ft.dwLowDateTime = static_cast<DWORD>(ticks);
    ft.dwHighDateTime = static_cast<DWORD>(static_cast<uint64_t>(ticks) >> 32);
    return ft;
}

DWORD AttributesFromExternal(uint16_t versionMadeBy, uint32_t external)
{
    DWORD attributes = FILE_ATTRIBUTE_NORMAL;
    const DWORD dosBits = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                          FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_ARCHIVE;
    attributes |= external & dosBits;
    constexpr uint16_t kHostUnix = 3;
    const uint32_t mode = external >> 16;
    if ((versionMadeBy >> 8) == kHostUnix && mode != 0) {
        if ((mode & 0170000) == 0040000) {
            attributes |= FILE_ATTRIBUTE_DIRECTORY;
        }
        if ((mode & 0200) == 0) {
            attributes |= FILE_ATTRIBUTE_READONLY;
        }
    }
    return attributes;
}

// Reads the "UT" block of an extra field: modification, access and creation time, each present
// when its flag bit is set (the central copy usually carries only the first).
DWORD ApplyExtendedTimestamp(const BYTE* extra, uint16_t length, SkinZipEntry& entry)
{
    size_t pos = 0;
    while (length - pos >= 4) {
        const uint16_t id = Le16(extra + pos);
        const uint16_t size = Le16(extra + pos + 2);
        pos += 4;
        if (size > length - pos) {
            return SKINZIP_BADEXTRA;
        }
        if (id == kExtendedTimestampId && size >= 1) {
            const BYTE flags = extra[pos];
            FILETIME* targets[] = {&entry.modificationTime, &entry.accessTime, &entry.creationTime};
            size_t at = 1;
            for (int bit = 0; bit < 3 && at + 4 <= size; ++bit) {
                if (flags & (1 << bit)) {
                    *targets[bit] = FileTimeFromUnix(Le32(extra + pos + at));
                    at += 4;
                }
            }
        }
        pos += size;
    }
    return SKINZIP_OK;
}

bool PlausibleSizes(uint16_t flags, uint16_t method, uint32_t compressed, uint32_t uncompressed)
{
    if (flags & kFlagEncrypted) {
        return true;
    }
    if (method == kMethodStored) {
        return compressed == uncompressed;
    }
    if (method == kMethodDeflate) {
        return uncompressed <= static_cast<uint64_t>(compressed) * kDeflateMaxRatio + 1024;
    }
    return true;
}

} // namespace

class CSkinZip::Source {
public:
    virtual ~Source() = default;
    virtual uint64_t Size() const = 0;
    virtual bool ReadAt(uint64_t offset, void* destination, DWORD length) const = 0;
    // The bytes in place when the source holds them in memory, else null.
    virtual const BYTE* View(uint64_t /*offset*/, DWORD /*length*/) const { return nullptr; }

protected:
    bool InRange(uint64_t offset, DWORD length) const { return length <= Size() && offset <= Size() - length; }
};

namespace {

class MemorySource : public CSkinZip::Source {
public:
    MemorySource(const void* bytes, DWORD size) : m_pBytes(static_cast<const BYTE*>(bytes)), m_nSize(size) {}
    uint64_t Size() const override { return m_nSize; }
    bool ReadAt(uint64_t offset, void* destination, DWORD length) const override
    {
        if (!InRange(offset, length)) {
            return false;
        }
        if (length == 0) {
            return true;
        }
        std::memcpy(destination, m_pBytes + offset, length);
        return true;
    }
    const BYTE* View(uint64_t offset, DWORD length) const override
    {
        return InRange(offset, length) ? m_pBytes + offset : nullptr;
    }

private:
    const BYTE* m_pBytes;
    DWORD m_nSize;
};

class FileSource : public CSkinZip::Source {
public:
    FileSource(CUIKernelHandle file, uint64_t size) : m_file(std::move(file)), m_nSize(size) {}
    uint64_t Size() const override { return m_nSize; }
    // Headers and small blocks come from a read-ahead window: one system call serves many of them.
    bool ReadAt(uint64_t offset, void* destination, DWORD length) const override
    {
        if (!InRange(offset, length)) {
            return false;
        }
        if (length == 0) {
            return true;
        }
        if (length > kWindowSize) {
            return ReadDirect(offset, destination, length);
        }
        if (offset < m_nWindowStart || offset + length > m_nWindowStart + m_window.size()) {
            m_window.resize(static_cast<size_t>(std::min<uint64_t>(kWindowSize, m_nSize - offset)));
            m_nWindowStart = offset;
            if (!ReadDirect(offset, m_window.data(), static_cast<DWORD>(m_window.size()))) {
                m_window.clear();
                return false;
            }
        }
        std::memcpy(destination, m_window.data() + (offset - m_nWindowStart), length);
        return true;
    }

private:
    static constexpr DWORD kWindowSize = 64 * 1024;

    // Positioned reads: a duplicated handle shares its file pointer with the caller's.
    bool ReadDirect(uint64_t offset, void* destination, DWORD length) const
    {
        OVERLAPPED at = {};
        at.Offset = static_cast<DWORD>(offset);
        at.OffsetHigh = static_cast<DWORD>(offset >> 32);
        DWORD dwRead = 0;
        return ::ReadFile(m_file.Get(), destination, length, &dwRead, &at) && dwRead == length;
    }

    CUIKernelHandle m_file;
    uint64_t m_nSize;
    mutable std::vector<BYTE> m_window;
    mutable uint64_t m_nWindowStart = 0;
};

std::unique_ptr<CSkinZip::Source> MakeFileSource(CUIKernelHandle file)
{
    LARGE_INTEGER size = {};
    if (::GetFileType(file.Get()) != FILE_TYPE_DISK || !::GetFileSizeEx(file.Get(), &size) || size.QuadPart < 0) {
        return nullptr;
    }
    return std::make_unique<FileSource>(std::move(file), static_cast<uint64_t>(size.QuadPart));
}

} // namespace

// The bytes of one entry being produced, possibly over several calls.
class CSkinZip::EntryStream {
public:
    EntryStream(const Source& source, int index, uint16_t method, uint64_t dataOffset, uint32_t compressed,
                uint32_t uncompressed)
        : m_source(source), m_nIndex(index), m_nMethod(method), m_nReadPos(dataOffset), m_nCompressedLeft(compressed),
          m_nUncompressed(uncompressed)
    {
    }
    ~EntryStream()
    {
        if (m_bInflating) {
            inflateEnd(&m_z);
        }
    }
    EntryStream(const EntryStream&) = delete;
    EntryStream& operator=(const EntryStream&) = delete;

    bool Start()
    {
        if (m_nMethod == kMethodStored) {
            return true;
        }
        m_bInflating = inflateInit2(&m_z, -MAX_WBITS) == Z_OK;
        return m_bInflating;
    }

    int Index() const { return m_nIndex; }
    bool IsComplete() const { return m_nProduced == m_nUncompressed; }
    uint32_t Crc() const { return m_nCrc; }

    // False on a read error, broken deflate data or a stream that ends before its size.
    bool Read(BYTE* out, DWORD size)
    {
        const DWORD want = std::min<DWORD>(size, m_nUncompressed - m_nProduced);
        const bool ok = m_nMethod == kMethodStored ? Copy(out, want) : Inflate(out, want);
        if (ok) {
            m_nCrc = crc32(m_nCrc, out, want);
            m_nProduced += want;
        }
        return ok;
    }

private:
    bool Copy(BYTE* out, DWORD want)
    {
        if (!m_source.ReadAt(m_nReadPos, out, want)) {
            return false;
        }
        m_nReadPos += want;
        return true;
    }

    // Bytes held in memory are handed to zlib in place, all at once; a file is read in blocks.
    bool Refill()
    {
        const BYTE* view = m_source.View(m_nReadPos, m_nCompressedLeft);
        const DWORD block = view != nullptr ? m_nCompressedLeft : std::min<DWORD>(kInputBlock, m_nCompressedLeft);
        if (view == nullptr) {
            m_input.resize(kInputBlock);
            if (!m_source.ReadAt(m_nReadPos, m_input.data(), block)) {
                return false;
            }
        }
        m_nReadPos += block;
        m_nCompressedLeft -= block;
        m_z.next_in = view != nullptr ? view : m_input.data();
        m_z.avail_in = block;
        return true;
    }

    // Every round either consumes input, produces output or fails, so lying data cannot loop.
    // Asked for the rest of the entry, zlib may inflate straight into the caller's buffer
    // (Z_FINISH) instead of copying everything through its window as well; it then reports an
    // input block that ran out as Z_BUF_ERROR, and the next block follows.
    bool Inflate(BYTE* out, DWORD want)
    {
        const int flush = want == m_nUncompressed - m_nProduced ? Z_FINISH : Z_NO_FLUSH;
        m_z.next_out = out;
        m_z.avail_out = want;
        while (m_z.avail_out > 0) {
            if (m_z.avail_in == 0 && m_nCompressedLeft > 0 && !Refill()) {
                return false;
            }
            const int rc = inflate(&m_z, flush);
            if (rc == Z_STREAM_END) {
                return m_z.avail_out == 0;
            }
            // Z_FINISH reports a full buffer before the end of the stream as Z_BUF_ERROR.
            if (m_z.avail_out == 0 && (rc == Z_OK || rc == Z_BUF_ERROR)) {
                return true;
            }
            const bool bBlockUsedUp = rc == Z_BUF_ERROR && m_z.avail_in == 0 && m_nCompressedLeft > 0;
            if (rc != Z_OK && !bBlockUsedUp) {
                return false;
            }
        }
        return true;
    }

    const Source& m_source;
    int m_nIndex;
    uint16_t m_nMethod;
    uint64_t m_nReadPos;
    uint32_t m_nCompressedLeft;
    uint32_t m_nUncompressed;
    uint32_t m_nProduced = 0;
    uint32_t m_nCrc = 0;
    z_stream m_z = {};
    bool m_bInflating = false;
    std::vector<BYTE> m_input;
};

CSkinZip::CSkinZip() = default;

CSkinZip::~CSkinZip() = default;

DWORD CSkinZip::LastError()
{
    return s_dwLastError;
}

DWORD CSkinZip::OpenFile(LPCWSTR path)
{
    if (IsOpen()) {
        return Report(SKINZIP_ALREADYOPEN);
    }
    if (path == nullptr) {
        return Report(SKINZIP_BADARGS);
    }
    CUIKernelHandle file(
        ::CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.IsValid()) {
        return Report(SKINZIP_NOFILE);
    }
    auto source = MakeFileSource(std::move(file));
    if (!source) {
        return Report(SKINZIP_NOFILE);
    }
    return Open(std::move(source));
}

DWORD CSkinZip::OpenHandle(HANDLE file)
{
    if (IsOpen()) {
        return Report(SKINZIP_ALREADYOPEN);
    }
    if (file == nullptr || file == INVALID_HANDLE_VALUE) {
        return Report(SKINZIP_BADARGS);
    }
    if (::GetFileType(file) != FILE_TYPE_DISK) {
        return Report(SKINZIP_NOTDISK);
    }
    HANDLE duplicate = nullptr;
    if (!::DuplicateHandle(::GetCurrentProcess(), file, ::GetCurrentProcess(), &duplicate, 0, FALSE,
                           DUPLICATE_SAME_ACCESS)) {
        return Report(SKINZIP_NODUPLICATE);
    }
    auto source = MakeFileSource(CUIKernelHandle(duplicate));
    if (!source) {
        return Report(SKINZIP_NOTDISK);
    }
    return Open(std::move(source));
}

DWORD CSkinZip::OpenMemory(const void* bytes, DWORD size)
{
    if (IsOpen()) {
        return Report(SKINZIP_ALREADYOPEN);
    }
    if (bytes == nullptr) {
        return Report(SKINZIP_BADARGS);
    }
    return Open(std::make_unique<MemorySource>(bytes, size));
}

DWORD CSkinZip::Open(std::unique_ptr<Source> source)
{
    m_source = std::move(source);
    m_dwClosedVerdict = SKINZIP_OK;
    m_nLocalBias = LocalTimeBias();
    const DWORD code = ReadDirectory();
    if (code != SKINZIP_OK) {
        m_entries.clear();
        m_directory.clear();
        m_source.reset();
    } else {
        IndexNames();
    }
    return Report(code);
}

// Lookups go through the hashes of the names; equal hashes stay in directory order, so the first
// matching entry still wins.
void CSkinZip::IndexNames()
{
    m_nameIndex.clear();
    m_nameIndex.reserve(m_entries.size());
    for (size_t i = 0; i < m_entries.size(); ++i) {
        m_nameIndex.emplace_back(FoldedHash(m_entries[i].name, m_entries[i].nameLength), static_cast<int>(i));
    }
    std::sort(m_nameIndex.begin(), m_nameIndex.end());
}

DWORD CSkinZip::Close()
{
    if (!IsOpen()) {
        return Report(SKINZIP_NOTOPEN);
    }
    FinishEntry();
    m_entries.clear();
    m_nameIndex.clear();
    m_directory.clear();
    m_source.reset();
    return Report(std::exchange(m_dwClosedVerdict, SKINZIP_OK));
}

// The end record is the last signature within the final 64 KiB; whatever stands in front of the
// archive (a loader stub) shows as the gap between the record and the end of the directory.
DWORD CSkinZip::ReadDirectory()
{
    const uint64_t size = m_source->Size();
    if (size < kEndRecordSize) {
        return SKINZIP_BADHEADER;
    }
    const DWORD tailLength = static_cast<DWORD>(std::min<uint64_t>(size, kEndSearchSpan));
    std::vector<BYTE> tail(tailLength);
    if (!m_source->ReadAt(size - tailLength, tail.data(), tailLength)) {
        return SKINZIP_BADHEADER;
    }
    int64_t at = static_cast<int64_t>(tailLength) - kEndRecordSize;
    while (at >= 0 && Le32(&tail[at]) != kEndRecordSignature) {
        --at;
    }
    if (at < 0) {
        return SKINZIP_BADHEADER;
    }
    const BYTE* end = &tail[at];
    const uint64_t endPos = size - tailLength + at;
    const uint16_t entriesHere = Le16(end + 8);
    const uint16_t entriesTotal = Le16(end + 10);
    const uint32_t directorySize = Le32(end + 12);
    const uint32_t directoryOffset = Le32(end + 16);
    if (Le16(end + 4) != 0 || Le16(end + 6) != 0 || entriesHere != entriesTotal) {
        return SKINZIP_BADHEADER;
    }
    if (static_cast<uint64_t>(directoryOffset) + directorySize > endPos ||
        static_cast<uint64_t>(entriesTotal) * kCentralHeaderSize > directorySize) {
        return SKINZIP_BADHEADER;
    }
    m_nPrefix = endPos - directoryOffset - directorySize;
    m_nDirectoryStart = m_nPrefix + directoryOffset;
    m_directory.resize(directorySize);
    if (!m_source->ReadAt(m_nDirectoryStart, m_directory.data(), directorySize)) {
        return SKINZIP_BADHEADER;
    }
    return ParseDirectory(entriesTotal);
}

DWORD CSkinZip::ParseDirectory(uint32_t count)
{
    m_entries.clear();
    m_entries.reserve(count);
    const uint64_t directoryOffset = m_nDirectoryStart - m_nPrefix;
    size_t pos = 0;
    for (uint32_t i = 0; i < count; ++i) {
        const size_t left = m_directory.size() - pos;
        const BYTE* p = m_directory.data() + pos;
        if (left < kCentralHeaderSize || Le32(p) != kCentralSignature) {
            return SKINZIP_BADHEADER;
        }
        CentralRecord record;
        record.versionMadeBy = Le16(p + 4);
        record.flags = Le16(p + 8);
        record.method = Le16(p + 10);
        record.dosTime = Le16(p + 12);
        record.dosDate = Le16(p + 14);
        record.crc = Le32(p + 16);
        record.compressedSize = Le32(p + 20);
        record.uncompressedSize = Le32(p + 24);
        record.nameLength = Le16(p + 28);
        record.extraLength = Le16(p + 30);
        const size_t total = kCentralHeaderSize + record.nameLength + record.extraLength + Le16(p + 32);
        record.externalAttributes = Le32(p + 38);
        record.localOffset = Le32(p + 42);
        record.name = reinterpret_cast<const char*>(p + kCentralHeaderSize);
        record.extra = p + kCentralHeaderSize + record.nameLength;
        if (total > left ||
            static_cast<uint64_t>(record.localOffset) + kLocalHeaderSize + record.compressedSize > directoryOffset) {
            return SKINZIP_BADHEADER;
        }
        m_entries.push_back(record);
        pos += total;
    }
    return SKINZIP_OK;
}

DWORD CSkinZip::ReadLocalHeader(const CentralRecord& record, std::vector<BYTE>& extra, LocalRecord& local) const
{
    const uint64_t at = m_nPrefix + record.localOffset;
    BYTE h[kLocalHeaderSize];
    if (!m_source->ReadAt(at, h, kLocalHeaderSize) || Le32(h) != kLocalSignature) {
        return SKINZIP_BADHEADER;
    }
    const uint16_t flags = Le16(h + 6);
    const bool describedLater = ((flags | record.flags) & kFlagDataDescriptor) != 0;
    if (Le16(h + 8) != record.method ||
        (!describedLater && (Le32(h + 14) != record.crc || Le32(h + 18) != record.compressedSize ||
                             Le32(h + 22) != record.uncompressedSize))) {
        return SKINZIP_BADHEADER;
    }
    const uint16_t nameLength = Le16(h + 26);
    const uint16_t extraLength = Le16(h + 28);
    local.dataOffset = at + kLocalHeaderSize + nameLength + extraLength;
    if (local.dataOffset + record.compressedSize > m_nDirectoryStart ||
        !PlausibleSizes(record.flags, record.method, record.compressedSize, record.uncompressedSize)) {
        return SKINZIP_BADHEADER;
    }
    extra.resize(extraLength);
    if (!m_source->ReadAt(at + kLocalHeaderSize + nameLength, extra.data(), extraLength)) {
        return SKINZIP_BADHEADER;
    }
    local.extra = extra.data();
    local.extraLength = extraLength;
    return SKINZIP_OK;
}

DWORD CSkinZip::FillEntry(int index, SkinZipEntry& entry) const
{
    const CentralRecord& record = m_entries[index];
    entry = SkinZipEntry();
    entry.index = index;
    const int nameBytes = std::min<int>(record.nameLength, MAX_PATH - 1);
    const int nameChars = ::MultiByteToWideChar(CP_ACP, 0, record.name, nameBytes, entry.name, MAX_PATH - 1);
    entry.name[std::max(nameChars, 0)] = L'\0';
    entry.attributes = AttributesFromExternal(record.versionMadeBy, record.externalAttributes);
    entry.modificationTime = FileTimeFromDos(record.dosDate, record.dosTime, m_nLocalBias);
    entry.accessTime = entry.modificationTime;
    entry.creationTime = entry.modificationTime;
    entry.compressedSize = record.compressedSize;
    entry.uncompressedSize = record.uncompressedSize;

    DWORD code = ApplyExtendedTimestamp(record.extra, record.extraLength, entry);
    if (code != SKINZIP_OK) {
        return code;
    }
    std::vector<BYTE> extra;
    LocalRecord local = {};
    code = ReadLocalHeader(record, extra, local);
    if (code != SKINZIP_OK) {
        return code;
    }
    return ApplyExtendedTimestamp(local.extra, local.extraLength, entry);
}

DWORD CSkinZip::GetEntry(int index, SkinZipEntry& entry)
{
    if (!IsOpen()) {
        return Report(SKINZIP_NOTOPEN);
    }
    if (index < 0 || index >= GetEntryCount()) {
        return Report(SKINZIP_BADARGS);
    }
    return Report(FillEntry(index, entry));
}

DWORD CSkinZip::FindEntry(LPCWSTR name, int& index, SkinZipEntry& entry)
{
    index = -1;
    if (!IsOpen()) {
        return Report(SKINZIP_NOTOPEN);
    }
    if (name == nullptr) {
        return Report(SKINZIP_BADARGS);
    }
    const size_t length = std::wcslen(name);
    if (length > kLongestFindableName) {
        return Report(SKINZIP_NOTFOUND);
    }
    // Slashes are swapped before the conversion: in a double-byte code page 0x5C can be a trail byte.
    WCHAR wide[kLongestFindableName + 1];
    std::replace_copy(name, name + length + 1, wide, L'\\', L'/');
    char wanted[MAX_PATH];
    const int bytes = ::WideCharToMultiByte(CP_ACP, 0, wide, -1, wanted, MAX_PATH, nullptr, nullptr);
    if (bytes <= 0) {
        return Report(SKINZIP_NOTFOUND);
    }
    const size_t wantedLength = static_cast<size_t>(bytes - 1);
    const uint32_t hash = FoldedHash(wanted, wantedLength);
    auto it = std::lower_bound(m_nameIndex.begin(), m_nameIndex.end(), std::make_pair(hash, -1));
    for (; it != m_nameIndex.end() && it->first == hash; ++it) {
        const CentralRecord& record = m_entries[it->second];
        if (record.nameLength == wantedLength && EqualsIgnoringAsciiCase(record.name, wanted, wantedLength)) {
            index = it->second;
            return Report(FillEntry(index, entry));
        }
    }
    return Report(SKINZIP_NOTFOUND);
}

DWORD CSkinZip::ExtractToMemory(int index, void* buffer, DWORD size)
{
    if (!IsOpen()) {
        return Report(SKINZIP_NOTOPEN);
    }
    if (index < 0 || index >= GetEntryCount() || (buffer == nullptr && size > 0)) {
        return Report(SKINZIP_BADARGS);
    }
    return Report(Extract(index, static_cast<BYTE*>(buffer), size));
}

DWORD CSkinZip::Extract(int index, BYTE* buffer, DWORD size)
{
    if (!m_stream || m_stream->Index() != index) {
        const DWORD code = StartEntry(index);
        if (code != SKINZIP_OK) {
            return code;
        }
    }
    if (!m_stream->Read(buffer, size)) {
        m_stream.reset();
        return SKINZIP_INFLATE;
    }
    if (!m_stream->IsComplete()) {
        return SKINZIP_MORE;
    }
    FinishEntry();
    return m_dwClosedVerdict;
}

DWORD CSkinZip::StartEntry(int index)
{
    FinishEntry();
    const CentralRecord& record = m_entries[index];
    std::vector<BYTE> extra;
    LocalRecord local = {};
    const DWORD code = ReadLocalHeader(record, extra, local);
    if (code != SKINZIP_OK) {
        return code;
    }
    if ((record.flags & kFlagEncrypted) || (record.method != kMethodStored && record.method != kMethodDeflate)) {
        return SKINZIP_INFLATE;
    }
    auto stream = std::make_unique<EntryStream>(*m_source, index, record.method, local.dataOffset,
                                                record.compressedSize, record.uncompressedSize);
    if (!stream->Start()) {
        return SKINZIP_INFLATE;
    }
    m_stream = std::move(stream);
    return SKINZIP_OK;
}

// Compares the CRC once every byte of the entry has been produced; a partly read entry has no verdict.
void CSkinZip::FinishEntry()
{
    if (m_stream && m_stream->IsComplete()) {
        m_dwClosedVerdict = m_stream->Crc() == m_entries[m_stream->Index()].crc ? SKINZIP_OK : SKINZIP_INFLATE;
    }
    m_stream.reset();
}

} // namespace Tarvo
