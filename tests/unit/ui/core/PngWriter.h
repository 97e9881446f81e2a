#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace wxlmtest {

// A valid 8-bit RGBA PNG of the given pixels, rows top-down, each pixel 0xAARRGGBB.
std::string EncodePng(int width, int height, const std::vector<uint32_t>& argb);

} // namespace wxlmtest
