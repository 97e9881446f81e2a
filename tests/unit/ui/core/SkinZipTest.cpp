#include "core/SkinZip.h"

#include "GuardedBytes.h"
#include "TestFiles.h"
#include "ZipTestData.h"
#include "ZipWriter.h"

#include <gtest/gtest.h>

#include <functional>

using namespace Tarvo;
using namespace wxlmtest;

namespace {

std::vector<ZipItem> SkinItems(bool deflate, bool dataDescriptor)
{
    std::vector<ZipItem> items(3);
    items[0].name = "skin/Window.xml";
    items[0].data = SampleText(5000);
    items[1].name = "empty.txt";
    items[2].name = "img/Back.png";
    items[2].data = SampleNoise(70000); // more than one 16 KiB input block
    for (ZipItem& item : items) {
        item.deflate = deflate;
        item.dataDescriptor = dataDescriptor;
    }
    return items;
}

struct LayoutCase {
    const char* label;
    bool deflate;
    bool dataDescriptor;
    size_t prefix;
    bool absoluteOffsets;
    const char* comment;
};

class SkinZipLayoutTest : public testing::TestWithParam<LayoutCase> {};

TEST_P(SkinZipLayoutTest, EveryEntryComesBackByteForByte)
{
    const LayoutCase& c = GetParam();
    const std::vector<ZipItem> items = SkinItems(c.deflate, c.dataDescriptor);
    const ZipImage image = BuildZip(items, {std::string(c.prefix, 'P'), c.absoluteOffsets, c.comment});
    GuardedBytes bytes(image.bytes);
    CSkinZip zip;
    ASSERT_EQ(zip.OpenMemory(bytes.Data(), bytes.Size()), SKINZIP_OK);
    ASSERT_EQ(zip.GetEntryCount(), 3);
    for (int i = 0; i < 3; ++i) {
        int index = -2;
        SkinZipEntry entry;
        ASSERT_EQ(zip.FindEntry(Widen(items[i].name).c_str(), index, entry), SKINZIP_OK) << items[i].name;
        EXPECT_EQ(index, i);
        EXPECT_EQ(entry.index, i);
        EXPECT_EQ(entry.uncompressedSize, items[i].data.size());
        DWORD code = 0;
        EXPECT_EQ(ExtractWhole(zip, i, code), items[i].data) << items[i].name;
        EXPECT_EQ(code, SKINZIP_OK);
    }
    EXPECT_EQ(zip.Close(), SKINZIP_OK);
    EXPECT_FALSE(zip.IsOpen());
}

INSTANTIATE_TEST_SUITE_P(Layouts, SkinZipLayoutTest,
                         testing::Values(LayoutCase{"Stored", false, false, 0, false, ""},
                                         LayoutCase{"Deflated", true, false, 0, false, ""},
                                         LayoutCase{"Prefix100Stored", false, false, 100, false, ""},
                                         LayoutCase{"Prefix100Deflated", true, false, 100, false, ""},
                                         LayoutCase{"Prefix100AbsoluteOffsets", true, false, 100, true, ""},
                                         LayoutCase{"DataDescriptorStored", false, true, 0, false, ""},
                                         LayoutCase{"DataDescriptorDeflated", true, true, 0, false, ""},
                                         LayoutCase{"Comment", true, false, 0, false, "PK\x05\x06 is not me"}),
                         [](const auto& info) { return std::string(info.param.label); });

TEST(SkinZipTest, FileAndHandleReadTheSameArchiveAndLeaveTheCallersHandleUsable)
{
    for (bool deflate : {false, true}) {
        const std::vector<ZipItem> items = SkinItems(deflate, false);
        TempDir dir;
        ASSERT_TRUE(WriteFileBytes(dir / L"skin.zip", BuildZip(items, WithPrefix(std::string(100, 'P'))).bytes));

        CSkinZip byName;
        ASSERT_EQ(byName.OpenFile((dir / L"skin.zip").c_str()), SKINZIP_OK);
        for (int i : {2, 0, 1}) {
            DWORD code = 0;
            EXPECT_EQ(ExtractWhole(byName, i, code), items[i].data) << i << deflate;
            EXPECT_EQ(code, SKINZIP_OK);
        }

        HANDLE file = ::CreateFileW((dir / L"skin.zip").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE);
        {
            CSkinZip byHandle;
            ASSERT_EQ(byHandle.OpenHandle(file), SKINZIP_OK);
            DWORD code = 0;
            EXPECT_EQ(ExtractWhole(byHandle, 0, code), items[0].data);
            EXPECT_EQ(code, SKINZIP_OK);
        }
        char first[2] = {};
        DWORD read = 0;
        ::SetFilePointer(file, 0, nullptr, FILE_BEGIN);
        EXPECT_TRUE(::ReadFile(file, first, 2, &read, nullptr));
        EXPECT_EQ(std::string(first, 2), "PP");
        ::CloseHandle(file);
    }
}

struct LookupCase {
    const wchar_t* query;
    int index;
};

TEST(SkinZipTest, LookupIgnoresAsciiCaseAndTakesBackslashesForSlashes)
{
    std::vector<ZipItem> items(4);
    items[0].name = "skin/Window.xml";
    items[1].name = "Images/Buttons/Close.PNG";
    items[2].name = std::string(255, 'n');
    items[3].name = std::string(256, 'm');
    CSkinZip zip;
    const ZipImage image = BuildZip(items);
    ASSERT_EQ(zip.OpenMemory(image.bytes.data(), static_cast<DWORD>(image.bytes.size())), SKINZIP_OK);

    const std::wstring n255(255, L'N');
    const std::wstring m256(256, L'm');
    const LookupCase cases[] = {
        {L"skin/Window.xml", 0},
        {L"SKIN/WINDOW.XML", 0},
        {L"skin\\window.xml", 0},
        {L"images\\buttons\\close.png", 1},
        {L"skin/Window.xm", -1},
        {L"skin/Window.xml ", -1},
        {L"", -1},
        {n255.c_str(), 2},
        {m256.c_str(), -1},
    };
    for (const LookupCase& c : cases) {
        int index = -2;
        SkinZipEntry entry;
        const DWORD code = zip.FindEntry(c.query, index, entry);
        EXPECT_EQ(index, c.index) << Narrow(c.query);
        EXPECT_EQ(code, c.index < 0 ? SKINZIP_NOTFOUND : SKINZIP_OK) << Narrow(c.query);
        EXPECT_EQ(CSkinZip::LastError(), code);
    }
}

// Central records are as long as their name, extra field and comment together; comments that
// look like record signatures must not be taken for the next record.
TEST(SkinZipTest, EntriesWithCommentsAndExtraFieldsOfSeveralLengthsAreListedFoundAndExtracted)
{
    struct Shape {
        size_t comment;
        size_t centralExtra; // bytes after the block's 4-byte header; -1: no block
        size_t localExtra;
    };
    const size_t none = static_cast<size_t>(-1);
    const Shape shapes[] = {{1, none, 0}, {0, 0, none}, {7, 3, 12}, {46, none, 5}, {300, 65, none}, {2, 1, 1}};
    std::vector<ZipItem> items;
    for (size_t i = 0; i < std::size(shapes); ++i) {
        ZipItem item = Entry("dir" + std::to_string(i) + "/file" + std::to_string(i) + ".txt",
                             SampleText(100 + 997 * i, static_cast<unsigned>(i + 1)), i % 2 == 1);
        item.comment = std::string(shapes[i].comment, 'c');
        if (item.comment.size() >= 4)
            item.comment.replace(0, 4, "PK\x01\x02"); // a central record's signature
        if (shapes[i].centralExtra != none)
            item.centralExtra = OpaqueExtra(0xCAFE, shapes[i].centralExtra);
        if (shapes[i].localExtra != none)
            item.localExtra = OpaqueExtra(0xBEEF, shapes[i].localExtra);
        items.push_back(std::move(item));
    }
    for (const ZipLayout& layout : {ZipLayout{}, ZipLayout{"stub", false, "archive comment"}}) {
        const ZipImage image = BuildZip(items, layout);
        GuardedBytes bytes(image.bytes);
        CSkinZip zip;
        ASSERT_EQ(zip.OpenMemory(bytes.Data(), bytes.Size()), SKINZIP_OK);
        ASSERT_EQ(zip.GetEntryCount(), static_cast<int>(items.size()));
        for (int i = 0; i < zip.GetEntryCount(); ++i) {
            SkinZipEntry listed;
            ASSERT_EQ(zip.GetEntry(i, listed), SKINZIP_OK) << i;
            EXPECT_EQ(Narrow(listed.name), items[i].name);
            EXPECT_EQ(listed.uncompressedSize, items[i].data.size()) << items[i].name;
            int index = -2;
            SkinZipEntry found;
            ASSERT_EQ(zip.FindEntry(listed.name, index, found), SKINZIP_OK) << items[i].name;
            EXPECT_EQ(index, i);
            DWORD code = 0;
            EXPECT_EQ(ExtractWhole(zip, i, code), items[i].data) << items[i].name;
            EXPECT_EQ(code, SKINZIP_OK) << items[i].name;
        }
    }
}

ULONGLONG Ticks(const FILETIME& ft)
{
    return (static_cast<ULONGLONG>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
}

ULONGLONG UnixTicks(uint32_t seconds)
{
    return seconds * 10000000ULL + 116444736000000000ULL;
}

TEST(SkinZipTest, EntryRecordCarriesNameAttributesAndTimes)
{
    std::vector<ZipItem> items(3);
    items[0].name = "caf\xE9.xml"; // code page 1252
    items[0].externalAttributes = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE;
    items[1].name = "img/";
    items[1].versionMadeBy = 0x0314;               // made on Unix
    items[1].externalAttributes = (040555u << 16); // a directory nobody may write
    items[2].name = "stamped.png";
    items[2].data = "x";
    items[2].localExtra = UtExtra(7, {1700000000, 1700000100, 1600000000});
    items[2].centralExtra = UtExtra(7, {1700000000}); // the central copy holds the modification time only
    const ZipImage image = BuildZip(items);
    CSkinZip zip;
    ASSERT_EQ(zip.OpenMemory(image.bytes.data(), static_cast<DWORD>(image.bytes.size())), SKINZIP_OK);

    SkinZipEntry entry;
    ASSERT_EQ(zip.GetEntry(0, entry), SKINZIP_OK);
    EXPECT_STREQ(entry.name, L"caf\u00E9.xml");
    EXPECT_EQ(entry.attributes, static_cast<DWORD>(FILE_ATTRIBUTE_NORMAL | FILE_ATTRIBUTE_READONLY |
                                                   FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE));
    FILETIME local = {};
    WORD dosDate = 0;
    WORD dosTime = 0;
    ASSERT_TRUE(::FileTimeToLocalFileTime(&entry.modificationTime, &local));
    ASSERT_TRUE(::FileTimeToDosDateTime(&local, &dosDate, &dosTime));
    EXPECT_EQ(dosDate, items[0].dosDate);
    EXPECT_EQ(dosTime, items[0].dosTime);
    EXPECT_EQ(Ticks(entry.accessTime), Ticks(entry.modificationTime));
    EXPECT_EQ(Ticks(entry.creationTime), Ticks(entry.modificationTime));

    ASSERT_EQ(zip.GetEntry(1, entry), SKINZIP_OK);
    EXPECT_EQ(entry.attributes,
              static_cast<DWORD>(FILE_ATTRIBUTE_NORMAL | FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY));

    ASSERT_EQ(zip.GetEntry(2, entry), SKINZIP_OK);
    EXPECT_EQ(Ticks(entry.modificationTime), UnixTicks(1700000000));
    EXPECT_EQ(Ticks(entry.accessTime), UnixTicks(1700000100));
    EXPECT_EQ(Ticks(entry.creationTime), UnixTicks(1600000000));
    EXPECT_EQ(entry.compressedSize, 1u);
    EXPECT_EQ(entry.uncompressedSize, 1u);
}

TEST(SkinZipTest, ASmallBufferReadsAnEntryInPiecesAndAnotherEntryRestartsIt)
{
    for (bool deflate : {false, true}) {
        const std::vector<ZipItem> items = SkinItems(deflate, false);
        const ZipImage image = BuildZip(items);
        CSkinZip zip;
        ASSERT_EQ(zip.OpenMemory(image.bytes.data(), static_cast<DWORD>(image.bytes.size())), SKINZIP_OK);
        char piece[1000];
        std::string joined;
        DWORD code = SKINZIP_MORE;
        for (int round = 0; round < 10 && code == SKINZIP_MORE; ++round) {
            code = zip.ExtractToMemory(0, piece, sizeof piece);
            joined.append(piece, code == SKINZIP_MORE ? sizeof piece : items[0].data.size() - joined.size());
        }
        EXPECT_EQ(code, SKINZIP_OK) << deflate;
        EXPECT_EQ(joined, items[0].data) << deflate;

        ASSERT_EQ(zip.ExtractToMemory(2, piece, sizeof piece), SKINZIP_MORE);
        EXPECT_EQ(ExtractWhole(zip, 0, code), items[0].data);
        EXPECT_EQ(ExtractWhole(zip, 2, code), items[2].data) << "entry 2 starts again from its first byte";
        EXPECT_EQ(code, SKINZIP_OK);
    }
}

TEST(SkinZipTest, MisuseGivesItsOwnCodes)
{
    CSkinZip zip;
    SkinZipEntry entry;
    int index = 7;
    char buffer[16];
    EXPECT_EQ(zip.FindEntry(L"a", index, entry), SKINZIP_NOTOPEN);
    EXPECT_EQ(index, -1);
    EXPECT_EQ(zip.GetEntry(0, entry), SKINZIP_NOTOPEN);
    EXPECT_EQ(zip.ExtractToMemory(0, buffer, sizeof buffer), SKINZIP_NOTOPEN);
    EXPECT_EQ(zip.Close(), SKINZIP_NOTOPEN);
    EXPECT_EQ(CSkinZip::LastError(), SKINZIP_NOTOPEN);

    TempDir dir;
    EXPECT_EQ(zip.OpenFile((dir / L"missing.zip").c_str()), SKINZIP_NOFILE);
    EXPECT_EQ(zip.OpenFile(nullptr), SKINZIP_BADARGS);
    EXPECT_EQ(zip.OpenHandle(nullptr), SKINZIP_BADARGS);
    EXPECT_EQ(zip.OpenHandle(INVALID_HANDLE_VALUE), SKINZIP_BADARGS);
    EXPECT_EQ(zip.OpenMemory(nullptr, 10), SKINZIP_BADARGS);
    HANDLE readEnd = nullptr;
    HANDLE writeEnd = nullptr;
    ASSERT_TRUE(::CreatePipe(&readEnd, &writeEnd, nullptr, 0));
    EXPECT_EQ(zip.OpenHandle(readEnd), SKINZIP_NOTDISK);
    ::CloseHandle(readEnd);
    ::CloseHandle(writeEnd);
    const wchar_t* pipeName = L"\\\\.\\pipe\\wxlm_skinzip_test";
    HANDLE server = ::CreateNamedPipeW(pipeName, PIPE_ACCESS_OUTBOUND, PIPE_TYPE_BYTE, 1, 4096, 4096, 0, nullptr);
    ASSERT_NE(server, INVALID_HANDLE_VALUE);
    EXPECT_EQ(zip.OpenFile(pipeName), SKINZIP_NOFILE) << "a named file that cannot seek does not open";
    ::CloseHandle(server);
    EXPECT_FALSE(zip.IsOpen());

    const ZipImage image = BuildZip(SkinItems(false, false));
    ASSERT_EQ(zip.OpenMemory(image.bytes.data(), static_cast<DWORD>(image.bytes.size())), SKINZIP_OK);
    EXPECT_EQ(zip.OpenMemory(image.bytes.data(), static_cast<DWORD>(image.bytes.size())), SKINZIP_ALREADYOPEN);
    EXPECT_EQ(zip.OpenFile((dir / L"missing.zip").c_str()), SKINZIP_ALREADYOPEN);
    EXPECT_EQ(zip.GetEntry(-1, entry), SKINZIP_BADARGS);
    EXPECT_EQ(zip.GetEntry(3, entry), SKINZIP_BADARGS);
    EXPECT_EQ(zip.ExtractToMemory(3, buffer, sizeof buffer), SKINZIP_BADARGS);
    EXPECT_EQ(zip.ExtractToMemory(0, nullptr, 10), SKINZIP_BADARGS);
    EXPECT_EQ(zip.FindEntry(nullptr, index, entry), SKINZIP_BADARGS);
    EXPECT_EQ(CSkinZip::LastError(), SKINZIP_BADARGS);
    EXPECT_EQ(zip.GetEntry(0, entry), SKINZIP_OK) << "still open after the refused second open";
    EXPECT_EQ(CSkinZip::LastError(), SKINZIP_OK);
}

// ---- Archives that lie ----

using Mutation = std::function<void(ZipImage&)>;

struct BadCase {
    const char* label;
    std::function<std::vector<ZipItem>()> items;
    Mutation mutate;
    DWORD open;
    DWORD entry;   // GetEntry(0) when the archive opened
    DWORD extract; // extracting entry 0 when the archive opened
};

std::vector<ZipItem> OneEntry(bool deflate)
{
    ZipItem item;
    item.name = "Window.xml";
    item.data = SampleText(3000);
    item.deflate = deflate;
    return {item};
}

template <typename Edit> std::function<std::vector<ZipItem>()> EditedEntry(bool deflate, Edit edit)
{
    return [deflate, edit] {
        auto items = OneEntry(deflate);
        edit(items[0]);
        return items;
    };
}

Mutation Truncate(size_t keep)
{
    return [keep](ZipImage& z) { z.bytes.resize(std::min(keep, z.bytes.size())); };
}

Mutation TruncateBy(size_t cut)
{
    return [cut](ZipImage& z) { z.bytes.resize(z.bytes.size() - cut); };
}

Mutation EndField32(size_t field, uint32_t value)
{
    return [field, value](ZipImage& z) { PutLe32(z.bytes, z.endOffset + field, value); };
}

Mutation EndField16(size_t field, uint16_t value)
{
    return [field, value](ZipImage& z) { PutLe16(z.bytes, z.endOffset + field, value); };
}

Mutation CentralField16(size_t field, uint16_t value)
{
    return [field, value](ZipImage& z) { PutLe16(z.bytes, z.centralOffsets[0] + field, value); };
}

Mutation CentralField32(size_t field, uint32_t value)
{
    return [field, value](ZipImage& z) { PutLe32(z.bytes, z.centralOffsets[0] + field, value); };
}

Mutation LocalField16(size_t field, uint16_t value)
{
    return [field, value](ZipImage& z) { PutLe16(z.bytes, z.localOffsets[0] + field, value); };
}

const Mutation kNone = [](ZipImage&) {};
const auto kStored = [] { return OneEntry(false); };
const auto kDeflated = [] { return OneEntry(true); };

class SkinZipBadInputTest : public testing::TestWithParam<BadCase> {};

TEST_P(SkinZipBadInputTest, GivesTheDocumentedCodeWithoutReadingOutsideTheArchive)
{
    const BadCase& c = GetParam();
    ZipImage image = BuildZip(c.items());
    c.mutate(image);
    for (bool guardFront : {false, true}) {
        GuardedBytes bytes(image.bytes, guardFront);
        CSkinZip zip;
        ASSERT_EQ(zip.OpenMemory(bytes.Data(), bytes.Size()), c.open);
        if (c.open != SKINZIP_OK) {
            EXPECT_EQ(zip.GetEntryCount(), 0);
            continue;
        }
        SkinZipEntry entry;
        EXPECT_EQ(zip.GetEntry(0, entry), c.entry);
        std::string buffer(std::min<DWORD>(entry.uncompressedSize, 1 << 20), '\0');
        EXPECT_EQ(zip.ExtractToMemory(0, buffer.data(), static_cast<DWORD>(buffer.size())), c.extract);
        EXPECT_EQ(zip.ExtractToMemory(0, buffer.data(), static_cast<DWORD>(buffer.size())), c.extract)
            << "a second try gives the same answer";
        zip.Close();
    }
}

constexpr DWORD OK = SKINZIP_OK;
constexpr DWORD HDR = SKINZIP_BADHEADER;
constexpr DWORD EXTRA = SKINZIP_BADEXTRA;
constexpr DWORD FLATE = SKINZIP_INFLATE;

INSTANTIATE_TEST_SUITE_P(
    Archives, SkinZipBadInputTest,
    testing::Values(
        BadCase{"Empty", kStored, Truncate(0), HDR, OK, OK},
        BadCase{"ShorterThanAnEndRecord", kStored, Truncate(21), HDR, OK, OK},
        BadCase{"HalfAnArchive", kDeflated, [](ZipImage& z) { z.bytes.resize(z.bytes.size() / 2); }, HDR, OK, OK},
        BadCase{"EndRecordCut", kStored, TruncateBy(1), HDR, OK, OK},
        BadCase{"DirectoryOffsetPastTheEnd", kStored, EndField32(16, 0x7FFFFFF0), HDR, OK, OK},
        BadCase{"DirectorySizePastTheEnd", kStored, EndField32(12, 0xFFFFFFF0), HDR, OK, OK},
        BadCase{"MoreEntriesThanTheDirectoryHolds", kStored,
                [](ZipImage& z) {
                    PutLe16(z.bytes, z.endOffset + 8, 40);
                    PutLe16(z.bytes, z.endOffset + 10, 40);
                },
                HDR, OK, OK},
        BadCase{"OneEntryMoreThanWritten", kStored,
                [](ZipImage& z) {
                    PutLe16(z.bytes, z.endOffset + 8, 2);
                    PutLe16(z.bytes, z.endOffset + 10, 2);
                    PutLe32(z.bytes, z.endOffset + 12, 46 * 2); // room claimed, but no second header
                    PutLe32(z.bytes, z.endOffset + 16, static_cast<uint32_t>(z.centralOffsets[0] - 46));
                },
                HDR, OK, OK},
        BadCase{"SecondDisk", kStored, EndField16(4, 1), HDR, OK, OK},
        BadCase{"EntryCountsDiffer", kStored, EndField16(8, 0), HDR, OK, OK},
        BadCase{"NameLengthPastTheEnd", kStored, CentralField16(28, 0xFFF0), HDR, OK, OK},
        BadCase{"ExtraLengthPastTheEnd", kStored, CentralField16(30, 200), HDR, OK, OK},
        BadCase{"CentralSignatureBroken", kStored, CentralField16(0, 0x4b51), HDR, OK, OK},
        BadCase{"LocalOffsetIntoTheDirectory", kStored, CentralField32(42, 100), HDR, OK, OK},
        BadCase{"CompressedSizePastTheData", kStored, CentralField32(20, 0x10000000), HDR, OK, OK},
        BadCase{"LocalSignatureBroken", kStored, LocalField16(2, 0x0404), OK, HDR, HDR},
        BadCase{"LocalNameLengthPastTheData", kDeflated, LocalField16(26, 0xFFFF), OK, HDR, HDR},
        BadCase{"LocalMethodDiffers", kDeflated, LocalField16(8, 0), OK, HDR, HDR},
        BadCase{"LocalSizesDiffer",
                EditedEntry(true,
                            [](ZipItem& i) {
                                i.uncompressedSize = 2999;
                                i.localTruth = true;
                            }),
                kNone, OK, HDR, HDR},
        BadCase{"StoredSizesDiffer", EditedEntry(false, [](ZipItem& i) { i.uncompressedSize = 2000; }), kNone, OK, HDR,
                HDR},
        BadCase{"DeflatedSizeBeyondAnyRatio", EditedEntry(true, [](ZipItem& i) { i.uncompressedSize = 0xFFFFFF00; }),
                kNone, OK, HDR, HDR},
        BadCase{"DeflatedLongerThanItsData", EditedEntry(true, [](ZipItem& i) { i.uncompressedSize = 3500; }), kNone,
                OK, OK, FLATE},
        BadCase{"DeflatedShorterThanItsData", EditedEntry(true, [](ZipItem& i) { i.uncompressedSize = 2500; }), kNone,
                OK, OK, FLATE},
        BadCase{"DescriptorEntryLyingInTheDirectory",
                EditedEntry(true,
                            [](ZipItem& i) {
                                i.dataDescriptor = true;
                                i.uncompressedSize = 2999;
                            }),
                kNone, OK, OK, FLATE},
        BadCase{"WrongCrcStored", EditedEntry(false, [](ZipItem& i) { i.crc = 0x12345678; }), kNone, OK, OK, FLATE},
        BadCase{"WrongCrcDeflated", EditedEntry(true, [](ZipItem& i) { i.crc = 0; }), kNone, OK, OK, FLATE},
        BadCase{"BrokenDeflateData", EditedEntry(true, [](ZipItem& i) { i.payload = std::string(400, '\xFF'); }), kNone,
                OK, OK, FLATE},
        BadCase{"DeflateDataCut", EditedEntry(true, [](ZipItem& i) { i.payload = RawDeflate(i.data).substr(0, 40); }),
                kNone, OK, OK, FLATE},
        BadCase{"UnknownMethod", EditedEntry(true, [](ZipItem& i) { i.method = 12; }), kNone, OK, OK, FLATE},
        BadCase{"Encrypted", EditedEntry(false, [](ZipItem& i) { i.flags = 1; }), kNone, OK, OK, FLATE},
        BadCase{"ExtraFieldPastItsHeader",
                EditedEntry(false, [](ZipItem& i) { i.localExtra = UtExtra(1, {1}).substr(0, 7); }), kNone, OK, EXTRA,
                OK},
        BadCase{"CentralExtraPastItsHeader",
                EditedEntry(false, [](ZipItem& i) { i.centralExtra = std::string("UT\x09\x00\x01", 5); }), kNone, OK,
                EXTRA, OK},
        BadCase{"TimestampShorterThanItsFlags",
                EditedEntry(false, [](ZipItem& i) { i.localExtra = UtExtra(7, {1700000000}); }), kNone, OK, OK, OK}),
    [](const auto& info) { return std::string(info.param.label); });

TEST(SkinZipTest, AWrongCrcIsReportedByTheExtractionAndAgainByClose)
{
    const ZipImage image = BuildZip({EditedEntry(true, [](ZipItem& i) { i.crc = 1; })()[0], OneEntry(false)[0]});
    CSkinZip zip;
    ASSERT_EQ(zip.OpenMemory(image.bytes.data(), static_cast<DWORD>(image.bytes.size())), SKINZIP_OK);
    DWORD code = 0;
    ExtractWhole(zip, 0, code);
    EXPECT_EQ(code, SKINZIP_INFLATE);
    EXPECT_EQ(zip.Close(), SKINZIP_INFLATE);

    ASSERT_EQ(zip.OpenMemory(image.bytes.data(), static_cast<DWORD>(image.bytes.size())), SKINZIP_OK);
    ExtractWhole(zip, 0, code);
    ExtractWhole(zip, 1, code);
    EXPECT_EQ(code, SKINZIP_OK);
    EXPECT_EQ(zip.Close(), SKINZIP_OK) << "the verdict belongs to the entry read last";
}

} // namespace
