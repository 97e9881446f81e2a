#pragma once

#include <string>
#include <vector>

namespace guitest {

// One frame of a test GIF: the whole image in one palette colour, shown for delay × 10 ms.
struct GifFrame {
    unsigned char colorIndex; // 0 red, 1 green, 2 blue, 3 white
    unsigned short delay;
};

// The bytes of a GIF89a of cx × cy pixels with the given frames (none: a file without images).
std::string MakeGif(int cx, int cy, const std::vector<GifFrame>& frames);

} // namespace guitest
