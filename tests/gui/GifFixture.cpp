#include "GifFixture.h"

namespace guitest {

namespace {

constexpr int kMinCodeSize = 2;
constexpr unsigned kClearCode = 1u << kMinCodeSize;
constexpr unsigned kEndCode = kClearCode + 1;
constexpr int kCodeWidth = kMinCodeSize + 1;

void PutWord(std::string& out, unsigned value)
{
    out += static_cast<char>(value & 0xFF);
    out += static_cast<char>((value >> 8) & 0xFF);
}

// Codes packed least significant bit first.
class BitWriter {
public:
    void Put(unsigned code)
    {
        for (int i = 0; i < kCodeWidth; ++i) {
            m_byte |= ((code >> i) & 1u) << m_bits;
            if (++m_bits == 8) {
                Flush();
            }
        }
    }
    std::string Finish()
    {
        if (m_bits > 0) {
            Flush();
        }
        return m_bytes;
    }

private:
    void Flush()
    {
        m_bytes += static_cast<char>(m_byte);
        m_byte = 0;
        m_bits = 0;
    }
    std::string m_bytes;
    unsigned m_byte = 0;
    int m_bits = 0;
};

// LZW data that never grows the code width: a clear code before every two pixels keeps the
// decoder's table at one entry.
std::string SolidImageData(int nPixels, unsigned colorIndex)
{
    BitWriter writer;
    for (int i = 0; i < nPixels; i += 2) {
        writer.Put(kClearCode);
        writer.Put(colorIndex);
        if (i + 1 < nPixels) {
            writer.Put(colorIndex);
        }
    }
    writer.Put(kEndCode);
    const std::string data = writer.Finish();
    std::string blocks;
    for (size_t pos = 0; pos < data.size(); pos += 255) {
        const std::string block = data.substr(pos, 255);
        blocks += static_cast<char>(block.size());
        blocks += block;
    }
    return blocks + '\0';
}

} // namespace

std::string MakeGif(int cx, int cy, const std::vector<GifFrame>& frames)
{
    std::string out = "GIF89a";
    PutWord(out, static_cast<unsigned>(cx));
    PutWord(out, static_cast<unsigned>(cy));
    out += '\x91'; // global table of 4 colours
    out += '\x03'; // background: white
    out += '\0';
    out += std::string("\xFF\x00\x00\x00\xFF\x00\x00\x00\xFF\xFF\xFF\xFF", 12);
    for (const GifFrame& frame : frames) {
        out += std::string("\x21\xF9\x04\x04", 4); // graphic control: keep the frame
        PutWord(out, frame.delay);
        out += std::string("\x00\x00", 2);
        out += '\x2C';
        PutWord(out, 0);
        PutWord(out, 0);
        PutWord(out, static_cast<unsigned>(cx));
        PutWord(out, static_cast<unsigned>(cy));
        out += '\0';
        out += static_cast<char>(kMinCodeSize);
        out += SolidImageData(cx * cy, frame.colorIndex);
    }
    out += '\x3B';
    return out;
}

} // namespace guitest
