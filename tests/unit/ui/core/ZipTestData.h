#pragma once

#include "core/SkinZip.h"

#include <string>

namespace wxlmtest {

// Skin-like text of the given size: compressible, but not one repeated byte.
std::string SampleText(size_t size, unsigned seed = 1);
// Bytes that deflate cannot shrink much.
std::string SampleNoise(size_t size, unsigned seed = 1);

// Extracts a whole entry into a buffer of its announced size; the result code goes to code.
std::string ExtractWhole(Tarvo::CSkinZip& zip, int index, DWORD& code);

} // namespace wxlmtest
