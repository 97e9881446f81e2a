#include "ZipTestData.h"

#include <random>

namespace wxlmtest {

std::string SampleText(size_t size, unsigned seed)
{
    static const char* const words[] = {"<Window ",         "size=\"960,620\" ",        "<Button ",
                                        "name=\"close\" ",  "normalimage=\"btn.png\" ", "/>\r\n",
                                        "<VerticalLayout>", "text=\"Orvendale\" "};
    std::mt19937 random(seed);
    std::string out;
    while (out.size() < size) {
        out += words[random() % 8];
        out += std::to_string(random() % 1000);
    }
    out.resize(size);
    return out;
}

std::string SampleNoise(size_t size, unsigned seed)
{
    std::mt19937 random(seed);
    std::string out(size, '\0');
    for (char& c : out) {
        c = static_cast<char>(random() & 0xFF);
    }
    return out;
}

std::string ExtractWhole(Tarvo::CSkinZip& zip, int index, DWORD& code)
{
    Tarvo::SkinZipEntry entry;
    code = zip.GetEntry(index, entry);
    if (code != Tarvo::SKINZIP_OK) {
        return {};
    }
    std::string out(entry.uncompressedSize, '\0');
    code = zip.ExtractToMemory(index, out.data(), static_cast<DWORD>(out.size()));
    return out;
}

} // namespace wxlmtest
