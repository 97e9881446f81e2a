#pragma once

#include <windows.h>

#include <functional>
#include <string>

namespace wxlmtest {

// A 24-bit bottom-up BMP of pixel(x, y) (0xRRGGBB); the image loader reads it as opaque.
std::string EncodeBmp(int width, int height, const std::function<DWORD(int, int)>& pixel);

} // namespace wxlmtest
