#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// Writes zip archives for the tests, including the odd and the broken ones a reader must survive.
namespace wxlmtest {

struct ZipItem {
    std::string name;
    std::string data;
    bool deflate = false;
    bool dataDescriptor = false; // bit 3: the local header carries zeros, a descriptor follows the data
    uint16_t versionMadeBy = 20; // host 0 (FAT)
    uint32_t externalAttributes = 0x20;
    uint16_t dosTime = 0x6000; // 12:00:00
    uint16_t dosDate = 0x5821; // 2024-01-01
    std::string localExtra;
    std::string centralExtra;
    std::string comment;      // the entry's own comment, in its central record
    uint16_t method = 0xFFFF; // 0xFFFF: 0 or 8 after `deflate`
    uint16_t flags = 0;       // added to the ones the writer sets
    // Lies written into the central directory (the local header follows unless localTruth).
    std::optional<uint32_t> crc;
    std::optional<uint32_t> compressedSize;
    std::optional<uint32_t> uncompressedSize;
    bool localTruth = false;
    std::optional<std::string> payload; // replaces the (compressed) bytes written
};

struct ZipImage {
    std::string bytes;
    std::vector<size_t> localOffsets;   // absolute, prefix included
    std::vector<size_t> centralOffsets; // absolute
    size_t endOffset = 0;               // the end-of-central-directory record
};

struct ZipLayout {
    std::string prefix;           // bytes in front of the archive
    bool absoluteOffsets = false; // offsets count the prefix (as after "zip -A")
    std::string comment;
};

ZipItem Entry(std::string name, std::string data, bool deflate = false);
ZipLayout WithPrefix(std::string prefix);

ZipImage BuildZip(const std::vector<ZipItem>& items, const ZipLayout& layout = {});
std::string RawDeflate(const std::string& data);
// An extended-timestamp ("UT") block with the given flag bits and times in that order.
std::string UtExtra(uint8_t flags, const std::vector<uint32_t>& times);
// An extra block of a kind readers skip, carrying size bytes.
std::string OpaqueExtra(uint16_t id, size_t size);
uint32_t Crc32(const std::string& data);

void PutLe16(std::string& bytes, size_t at, uint16_t value);
void PutLe32(std::string& bytes, size_t at, uint32_t value);

} // namespace wxlmtest
