// Extracting every entry of a skin-sized archive with CSkinZip, against the bare zlib work the
// same bytes need (inflate or copy, plus the CRC), measured in the same run.
#include "BenchSummary.h"
#include "core/SkinZip.h"

// The archive is written by the tests' own zip writer; sharing it keeps one writer in the repo.
#include "../tests/unit/ui/core/ZipWriter.cpp"

#include <zlib.h>

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <random>
#include <string>
#include <vector>

using namespace Tarvo;
using namespace wxlmtest;

namespace {

constexpr int kEntries = 300;
constexpr int kRounds = 31;

std::string Content(int i, std::mt19937& random)
{
    const size_t size = 2000 + random() % 14000;
    std::string out;
    if (i % 3 == 0) {
        out.resize(size);
        for (char& c : out) {
            c = static_cast<char>(random());
        }
        return out;
    }
    static const char* const words[] = {"<Button ", "name=\"b\" ", "pos=\"10,10,80,30\" ", "/>\r\n", "text=\"x\" "};
    while (out.size() < size) {
        out += words[random() % 5];
        out += std::to_string(random() % 500);
    }
    return out;
}

std::vector<ZipItem> Items()
{
    std::mt19937 random(7);
    std::vector<ZipItem> items;
    for (int i = 0; i < kEntries; ++i) {
        items.push_back(Entry("skin/img/part" + std::to_string(i) + (i % 3 == 0 ? ".png" : ".xml"), Content(i, random),
                              i % 3 != 0));
    }
    return items;
}

double Milliseconds(const std::function<size_t()>& work, size_t& check)
{
    const auto start = std::chrono::steady_clock::now();
    check = work();
    const std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - start;
    return took.count();
}

size_t Digest(const std::string& bytes)
{
    return bytes.size() + (bytes.empty() ? 0 : static_cast<unsigned char>(bytes[bytes.size() / 2]));
}

// The least any reader must do: inflate or copy each entry and checksum it.
size_t Baseline(const std::vector<ZipItem>& items, const std::vector<std::string>& payloads)
{
    size_t total = 0;
    std::string out;
    for (size_t i = 0; i < items.size(); ++i) {
        out.resize(items[i].data.size());
        if (items[i].deflate) {
            z_stream z = {};
            inflateInit2(&z, -MAX_WBITS);
            z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(payloads[i].data()));
            z.avail_in = static_cast<uInt>(payloads[i].size());
            z.next_out = reinterpret_cast<Bytef*>(out.data());
            z.avail_out = static_cast<uInt>(out.size());
            inflate(&z, Z_FINISH);
            inflateEnd(&z);
        } else {
            std::copy(payloads[i].begin(), payloads[i].end(), out.begin());
        }
        const uLong crc = crc32(0, reinterpret_cast<const Bytef*>(out.data()), static_cast<uInt>(out.size()));
        total += Digest(out) + (crc == 0x12345678 ? 1 : 0);
    }
    return total;
}

size_t ExtractAll(CSkinZip& zip, const std::vector<ZipItem>& items)
{
    size_t total = 0;
    std::string out;
    for (const ZipItem& item : items) {
        int index = -1;
        SkinZipEntry entry;
        const std::wstring name(item.name.begin(), item.name.end());
        if (zip.FindEntry(name.c_str(), index, entry) != SKINZIP_OK) {
            return 0;
        }
        out.resize(entry.uncompressedSize);
        if (zip.ExtractToMemory(index, out.data(), entry.uncompressedSize) != SKINZIP_OK) {
            return 0;
        }
        total += Digest(out);
    }
    return total;
}

// The two halves of ExtractAll alone: every lookup, then every extraction by index.
size_t FindAll(CSkinZip& zip, const std::vector<std::wstring>& names)
{
    size_t total = 0;
    for (const std::wstring& name : names) {
        int index = -1;
        SkinZipEntry entry;
        total += zip.FindEntry(name.c_str(), index, entry) == SKINZIP_OK ? entry.uncompressedSize : 0;
    }
    return total;
}

size_t ExtractByIndex(CSkinZip& zip, const std::vector<ZipItem>& items)
{
    size_t total = 0;
    std::string out;
    for (size_t i = 0; i < items.size(); ++i) {
        out.resize(items[i].data.size());
        if (zip.ExtractToMemory(static_cast<int>(i), out.data(), static_cast<DWORD>(out.size())) == SKINZIP_OK) {
            total += Digest(out);
        }
    }
    return total;
}

} // namespace

int main()
{
    const std::vector<ZipItem> items = Items();
    std::vector<std::string> payloads;
    for (const ZipItem& item : items) {
        payloads.push_back(item.deflate ? RawDeflate(item.data) : item.data);
    }
    const std::string archive = BuildZip(items).bytes;

    wchar_t folder[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, folder);
    const std::wstring path = std::wstring(folder) + L"bench_SkinZipBench.zip";
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    ::WriteFile(file, archive.data(), static_cast<DWORD>(archive.size()), &written, nullptr);
    ::CloseHandle(file);

    const std::function<size_t()> baselineWork = [&] { return Baseline(items, payloads); };
    const std::function<size_t()> memoryWork = [&] {
        CSkinZip zip;
        return zip.OpenMemory(archive.data(), static_cast<DWORD>(archive.size())) == SKINZIP_OK ? ExtractAll(zip, items)
                                                                                                : 0;
    };
    const std::function<size_t()> fileWork = [&] {
        CSkinZip zip;
        return zip.OpenFile(path.c_str()) == SKINZIP_OK ? ExtractAll(zip, items) : 0;
    };
    // Interleaved rounds, the median of each: the machine is shared, and a busy moment should not
    // favour one side.
    size_t expected = 0;
    size_t fromMemory = 0;
    size_t fromFile = 0;
    std::vector<double> baselines;
    std::vector<double> memories;
    std::vector<double> disks;
    for (int round = 0; round < kRounds; ++round) {
        baselines.push_back(Milliseconds(baselineWork, expected));
        memories.push_back(Milliseconds(memoryWork, fromMemory));
        disks.push_back(Milliseconds(fileWork, fromFile));
    }
    const double baseline = bench::Median(baselines);
    const double memory = bench::Median(memories);
    const double disk = bench::Median(disks);
    ::DeleteFileW(path.c_str());
    std::vector<std::wstring> names;
    for (const ZipItem& item : items) {
        names.emplace_back(item.name.begin(), item.name.end());
    }
    std::vector<double> finds;
    std::vector<double> extracts;
    {
        CSkinZip zip;
        zip.OpenMemory(archive.data(), static_cast<DWORD>(archive.size()));
        size_t check = 0;
        for (int round = 0; round < kRounds; ++round) {
            finds.push_back(Milliseconds([&] { return FindAll(zip, names); }, check));
            extracts.push_back(Milliseconds([&] { return ExtractByIndex(zip, items); }, check));
        }
    }

    size_t bytes = 0;
    for (const ZipItem& item : items) {
        bytes += item.data.size();
    }
    std::printf("archive: %d entries, %zu bytes unpacked, %zu packed; median of %d rounds\n", kEntries, bytes,
                archive.size(), kRounds);
    std::printf("baseline (zlib inflate/copy + crc32):   %8.2f ms\n", baseline);
    std::printf("CSkinZip from memory (find + extract):  %8.2f ms  ratio %.2f x baseline\n", memory, memory / baseline);
    std::printf("CSkinZip from a file (find + extract):  %8.2f ms  ratio %.2f x baseline\n", disk, disk / baseline);
    std::printf("  of which: every lookup alone %.2f ms, every extraction by index alone %.2f ms\n",
                bench::Median(finds), bench::Median(extracts));
    if (fromMemory != expected || fromFile != expected) {
        std::printf("FAILED: the reader produced other bytes than the baseline\n");
        return 1;
    }
    char szValue[64];
    char szBaseline[64];
    std::snprintf(szValue, sizeof szValue, "%.2f ms from memory", memory);
    std::snprintf(szBaseline, sizeof szBaseline, "%.2f ms bare zlib", baseline);
    bench::SummaryLine("skin zip find + extract", szValue, szBaseline, memory / baseline, 1.15);
    return 0;
}
