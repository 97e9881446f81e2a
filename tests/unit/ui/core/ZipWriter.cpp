#include "ZipWriter.h"

#include <zlib.h>

namespace wxlmtest {

namespace {

void Add16(std::string& out, uint16_t v)
{
    out.push_back(static_cast<char>(v & 0xFF));
    out.push_back(static_cast<char>(v >> 8));
}

void Add32(std::string& out, uint32_t v)
{
    Add16(out, static_cast<uint16_t>(v & 0xFFFF));
    Add16(out, static_cast<uint16_t>(v >> 16));
}

struct Written {
    uint16_t flags;
    uint16_t method;
    uint32_t crc;
    uint32_t compressed;
    uint32_t uncompressed;
};

Written Describe(const ZipItem& item, const std::string& payload)
{
    Written w;
    w.flags = static_cast<uint16_t>(item.flags | (item.dataDescriptor ? 0x0008 : 0));
    w.method = item.method != 0xFFFF ? item.method : (item.deflate ? 8 : 0);
    w.crc = Crc32(item.data);
    w.compressed = static_cast<uint32_t>(payload.size());
    w.uncompressed = static_cast<uint32_t>(item.data.size());
    return w;
}

Written Lied(const ZipItem& item, Written w)
{
    w.crc = item.crc.value_or(w.crc);
    w.compressed = item.compressedSize.value_or(w.compressed);
    w.uncompressed = item.uncompressedSize.value_or(w.uncompressed);
    return w;
}

void WriteLocal(std::string& out, const ZipItem& item, const Written& w)
{
    Add32(out, 0x04034b50);
    Add16(out, 20);
    Add16(out, w.flags);
    Add16(out, w.method);
    Add16(out, item.dosTime);
    Add16(out, item.dosDate);
    const bool zeros = item.dataDescriptor;
    Add32(out, zeros ? 0 : w.crc);
    Add32(out, zeros ? 0 : w.compressed);
    Add32(out, zeros ? 0 : w.uncompressed);
    Add16(out, static_cast<uint16_t>(item.name.size()));
    Add16(out, static_cast<uint16_t>(item.localExtra.size()));
    out += item.name;
    out += item.localExtra;
}

void WriteCentral(std::string& out, const ZipItem& item, const Written& w, uint32_t localOffset)
{
    Add32(out, 0x02014b50);
    Add16(out, item.versionMadeBy);
    Add16(out, 20);
    Add16(out, w.flags);
    Add16(out, w.method);
    Add16(out, item.dosTime);
    Add16(out, item.dosDate);
    Add32(out, w.crc);
    Add32(out, w.compressed);
    Add32(out, w.uncompressed);
    Add16(out, static_cast<uint16_t>(item.name.size()));
    Add16(out, static_cast<uint16_t>(item.centralExtra.size()));
    Add16(out, static_cast<uint16_t>(item.comment.size()));
    Add16(out, 0); // disk
    Add16(out, 0); // internal attributes
    Add32(out, item.externalAttributes);
    Add32(out, localOffset);
    out += item.name;
    out += item.centralExtra;
    out += item.comment;
}

} // namespace

ZipItem Entry(std::string name, std::string data, bool deflate)
{
    ZipItem item;
    item.name = std::move(name);
    item.data = std::move(data);
    item.deflate = deflate;
    return item;
}

ZipLayout WithPrefix(std::string prefix)
{
    ZipLayout layout;
    layout.prefix = std::move(prefix);
    return layout;
}

uint32_t Crc32(const std::string& data)
{
    return static_cast<uint32_t>(crc32(0, reinterpret_cast<const Bytef*>(data.data()), static_cast<uInt>(data.size())));
}

std::string RawDeflate(const std::string& data)
{
    z_stream z = {};
    deflateInit2(&z, 9, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
    std::string out(deflateBound(&z, static_cast<uLong>(data.size())), '\0');
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
    z.avail_in = static_cast<uInt>(data.size());
    z.next_out = reinterpret_cast<Bytef*>(out.data());
    z.avail_out = static_cast<uInt>(out.size());
    deflate(&z, Z_FINISH);
    out.resize(z.total_out);
    deflateEnd(&z);
    return out;
}

std::string UtExtra(uint8_t flags, const std::vector<uint32_t>& times)
{
    std::string out;
    Add16(out, 0x5455);
    Add16(out, static_cast<uint16_t>(1 + 4 * times.size()));
    out.push_back(static_cast<char>(flags));
    for (uint32_t t : times) {
        Add32(out, t);
    }
    return out;
}

std::string OpaqueExtra(uint16_t id, size_t size)
{
    std::string out;
    Add16(out, id);
    Add16(out, static_cast<uint16_t>(size));
    for (size_t i = 0; i < size; ++i) {
        out.push_back(static_cast<char>('a' + i % 26));
    }
    return out;
}

void PutLe16(std::string& bytes, size_t at, uint16_t value)
{
    bytes[at] = static_cast<char>(value & 0xFF);
    bytes[at + 1] = static_cast<char>(value >> 8);
}

void PutLe32(std::string& bytes, size_t at, uint32_t value)
{
    PutLe16(bytes, at, static_cast<uint16_t>(value & 0xFFFF));
    PutLe16(bytes, at + 2, static_cast<uint16_t>(value >> 16));
}

ZipImage BuildZip(const std::vector<ZipItem>& items, const ZipLayout& layout)
{
    ZipImage image;
    std::string& out = image.bytes;
    out = layout.prefix;
    const size_t base = layout.absoluteOffsets ? 0 : layout.prefix.size();
    std::vector<Written> central;
    for (const ZipItem& item : items) {
        const std::string payload = item.payload.value_or(item.deflate ? RawDeflate(item.data) : item.data);
        const Written truth = Describe(item, payload);
        const Written lie = Lied(item, truth);
        image.localOffsets.push_back(out.size());
        WriteLocal(out, item, item.localTruth ? truth : lie);
        out += payload;
        if (item.dataDescriptor) {
            Add32(out, 0x08074b50);
            Add32(out, truth.crc);
            Add32(out, truth.compressed);
            Add32(out, truth.uncompressed);
        }
        central.push_back(lie);
    }
    const size_t directoryStart = out.size();
    for (size_t i = 0; i < items.size(); ++i) {
        image.centralOffsets.push_back(out.size());
        WriteCentral(out, items[i], central[i], static_cast<uint32_t>(image.localOffsets[i] - base));
    }
    image.endOffset = out.size();
    Add32(out, 0x06054b50);
    Add16(out, 0);
    Add16(out, 0);
    Add16(out, static_cast<uint16_t>(items.size()));
    Add16(out, static_cast<uint16_t>(items.size()));
    Add32(out, static_cast<uint32_t>(image.endOffset - directoryStart));
    Add32(out, static_cast<uint32_t>(directoryStart - base));
    Add16(out, static_cast<uint16_t>(layout.comment.size()));
    out += layout.comment;
    return image;
}

} // namespace wxlmtest
