#include "core/SkinZip.h"

#include "GuardedBytes.h"
#include "TestFiles.h"
#include "TestPaths.h"
#include "ZipTestData.h"
#include "ZipWriter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <initializer_list>
#include <map>
#include <random>

using namespace Tarvo;
using namespace wxlmtest;

namespace {

bool OneOf(DWORD code, std::initializer_list<DWORD> allowed)
{
    return std::find(allowed.begin(), allowed.end(), code) != allowed.end();
}

// The corpus under corpus/zip holds mutants of exactly this archive: changing it orphans them.
std::vector<ZipItem> SeedItems()
{
    std::vector<ZipItem> items(5);
    items[0].name = "GameLoader.xml";
    items[0].data = SampleText(1500, 2);
    items[1].name = "img/bg.png";
    items[1].data = SampleNoise(2000, 3);
    items[1].deflate = true;
    items[2].name = "CustomMsgBox.xml";
    items[2].data = SampleText(2500, 4);
    items[2].deflate = true;
    items[2].dataDescriptor = true;
    items[3].name = "img/btn.png";
    items[3].data = SampleText(700, 5);
    items[3].deflate = true;
    items[3].localExtra = UtExtra(3, {1700000000, 1700000001});
    items[3].centralExtra = UtExtra(3, {1700000000});
    items[4].name = "empty/";
    return items;
}

// Sizes, counts and offsets are where a lie hurts most, so whole fields get extreme values too.
std::string Mutate(const std::string& valid, std::mt19937& random)
{
    std::string bytes = valid;
    const int edits = 1 + static_cast<int>(random() % 4);
    for (int i = 0; i < edits && !bytes.empty(); ++i) {
        const size_t at = random() % bytes.size();
        switch (random() % 8) {
        case 0:
            bytes.resize(at);
            break;
        case 1:
        case 2: {
            static const uint32_t extremes[] = {0, 1, 0x7FFFFFFF, 0x80000000, 0xFFFFFFFF, 0xFFFF, 46, 22};
            const uint32_t value = extremes[random() % 8];
            for (size_t b = 0; b < 4 && at + b < bytes.size(); ++b) {
                bytes[at + b] = static_cast<char>(value >> (8 * b));
            }
            break;
        }
        default:
            bytes[at] = static_cast<char>(random() & 0xFF);
            break;
        }
    }
    return bytes;
}

// The outcome of every call on one archive, as one text: the same text means the same path.
std::string Exercise(const std::function<DWORD(CSkinZip&)>& open, const std::vector<ZipItem>& originals, bool inPieces)
{
    std::string trace;
    auto note = [&trace](DWORD code) { trace += std::to_string(code) + ' '; };
    CSkinZip zip;
    const DWORD opened = open(zip);
    note(opened);
    EXPECT_TRUE(OneOf(opened, {SKINZIP_OK, SKINZIP_BADHEADER})) << opened;
    if (opened != SKINZIP_OK) {
        return trace;
    }
    for (int i = 0; i < zip.GetEntryCount(); ++i) {
        SkinZipEntry entry;
        const DWORD got = zip.GetEntry(i, entry);
        note(got);
        EXPECT_TRUE(OneOf(got, {SKINZIP_OK, SKINZIP_BADHEADER, SKINZIP_BADEXTRA})) << got;
        const DWORD want = std::min<DWORD>(entry.uncompressedSize, 1 << 20);
        std::string out(want, '\0');
        const DWORD piece = inPieces ? 997 : std::max<DWORD>(want, 1);
        DWORD code = SKINZIP_MORE;
        std::string joined;
        for (int round = 0; code == SKINZIP_MORE && round < 2000; ++round) {
            code = zip.ExtractToMemory(i, out.data(), std::min<DWORD>(piece, want));
            joined.append(out, 0, std::min<DWORD>(piece, want));
        }
        note(code);
        EXPECT_TRUE(OneOf(code, {SKINZIP_OK, SKINZIP_MORE, SKINZIP_BADHEADER, SKINZIP_INFLATE})) << code;
        if (code == SKINZIP_OK && i < static_cast<int>(originals.size())) {
            joined.resize(entry.uncompressedSize);
            EXPECT_EQ(joined, originals[i].data) << "entry " << i << " reported success with other bytes";
        }
        int found = -1;
        const DWORD find = zip.FindEntry(Widen(originals[i % originals.size()].name).c_str(), found, entry);
        EXPECT_TRUE(OneOf(find, {SKINZIP_OK, SKINZIP_NOTFOUND, SKINZIP_BADHEADER, SKINZIP_BADEXTRA})) << find;
        EXPECT_TRUE(find == SKINZIP_NOTFOUND ? found == -1 : found >= 0 && found < zip.GetEntryCount());
    }
    const DWORD close = zip.Close();
    note(close);
    EXPECT_TRUE(OneOf(close, {SKINZIP_OK, SKINZIP_INFLATE})) << close;
    return trace;
}

std::function<DWORD(CSkinZip&)> FromMemory(const GuardedBytes& bytes)
{
    return [&bytes](CSkinZip& zip) { return zip.OpenMemory(bytes.Data(), bytes.Size()); };
}

std::function<DWORD(CSkinZip&)> FromFile(const std::string& bytes, const std::wstring& path)
{
    EXPECT_TRUE(WriteFileBytes(path, bytes));
    return [path](CSkinZip& zip) { return zip.OpenFile(path.c_str()); };
}

// Set WXLM_ZIP_FINDINGS to a folder to keep one mutant per distinct outcome there (corpus material).
void KeepFinding(const std::string& bytes, size_t number, const std::string& trace)
{
    wchar_t folder[MAX_PATH] = {};
    if (::GetEnvironmentVariableW(L"WXLM_ZIP_FINDINGS", folder, MAX_PATH) == 0) {
        return;
    }
    const std::wstring name = std::wstring(folder) + L"\\mutant-" + std::to_wstring(number);
    WriteFileBytes(name + L".zip", bytes);
    WriteFileBytes(name + L".trace", trace);
}

TEST(SkinZipRobustnessTest, ThousandsOfMutatedArchivesGiveCodesNeverCrashesOrOverreads)
{
    const std::vector<ZipItem> items = SeedItems();
    const std::string valid = BuildZip(items, WithPrefix(std::string(37, '\x90'))).bytes;
    std::mt19937 random(20261210);
    std::map<std::string, size_t> outcomes;
    TempDir dir;
    for (size_t n = 0; n < 4000; ++n) {
        const std::string mutant = Mutate(valid, random);
        GuardedBytes bytes(mutant, n % 2 == 1);
        const std::string trace = Exercise(FromMemory(bytes), items, n % 3 == 0);
        // Now and then the same bytes as a file: its reads go through another path.
        if (n % 40 == 0) {
            EXPECT_EQ(Exercise(FromFile(mutant, dir / L"mutant.zip"), items, false), trace) << "mutant " << n;
        }
        if (outcomes.emplace(trace, n).second) {
            KeepFinding(mutant, n, trace);
        }
        if (HasFailure()) {
            ADD_FAILURE() << "mutant " << n << " (set WXLM_ZIP_FINDINGS to keep it)";
            KeepFinding(mutant, n, trace);
            break;
        }
    }
    EXPECT_GT(outcomes.size(), 20u) << "the mutations should reach many different paths";
}

// Mutants the test above came across, kept with the exact outcome of every call on them: open,
// then GetEntry and extraction of each entry, then Close.
struct CorpusCase {
    const wchar_t* file;
    const char* trace;
};

class SkinZipCorpusTest : public testing::TestWithParam<CorpusCase> {};

TEST_P(SkinZipCorpusTest, KeepsItsOutcome)
{
    const CorpusCase& c = GetParam();
    const auto bytes = ReadFileBytes(SourceDir() + L"\\tests\\unit\\ui\\core\\corpus\\zip\\" + c.file);
    ASSERT_TRUE(bytes.has_value()) << Narrow(c.file);
    for (bool guardFront : {false, true}) {
        GuardedBytes guarded(*bytes, guardFront);
        EXPECT_EQ(Exercise(FromMemory(guarded), SeedItems(), false), c.trace) << Narrow(c.file);
        EXPECT_EQ(Exercise(FromMemory(guarded), SeedItems(), true), c.trace) << Narrow(c.file);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Corpus, SkinZipCorpusTest,
    testing::Values(CorpusCase{L"end-record-unreadable.zip", "1792 "},
                    CorpusCase{L"first-local-header-broken.zip", "0 1792 1792 0 0 0 0 0 0 0 0 0 "},
                    CorpusCase{L"two-local-headers-broken.zip", "0 1792 1792 1792 1792 0 0 0 0 0 0 0 "},
                    CorpusCase{L"extra-field-overrun.zip", "0 0 0 0 0 0 0 2048 0 0 0 0 "},
                    CorpusCase{L"extra-overrun-and-bad-data.zip", "0 0 0 2048 83886080 0 0 0 0 0 0 0 "},
                    CorpusCase{L"deflate-data-broken.zip", "0 0 0 0 83886080 0 0 0 0 0 0 0 "},
                    CorpusCase{L"last-entry-crc-wrong.zip", "0 0 0 0 0 0 0 0 83886080 1792 1792 83886080 "},
                    CorpusCase{L"harmless-change.zip", "0 0 0 0 0 0 0 0 0 0 0 0 "}),
    [](const auto& info) {
        std::string name = Narrow(info.param.file);
        name = name.substr(0, name.find('.'));
        name.erase(std::remove(name.begin(), name.end(), '-'), name.end());
        return name;
    });

} // namespace
