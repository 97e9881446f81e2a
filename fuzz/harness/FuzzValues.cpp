// Attribute values and image descriptions: colours, rectangles, sizes, numbers, booleans.
#include "FuzzText.h"
#include "controls/AttributeValue.h"
#include "core/ImageSpec.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

void Fail(const char* what)
{
    std::fprintf(stderr, "%s\n", what);
    std::abort();
}

// Numbers written the way skins write them read back as written (within the attribute limit).
void CheckWrittenValues(const uint8_t* data, size_t size)
{
    int32_t numbers[4] = {};
    std::memcpy(numbers, data, size < sizeof numbers ? size : sizeof numbers);
    for (int32_t& number : numbers)
        number %= 1000001;
    wchar_t text[64];
    std::swprintf(text, 64, L"%d,%d, %d,%d", numbers[0], numbers[1], numbers[2], numbers[3]);
    const RECT rect = Tarvo::ParseAttributeRect(text);
    if (rect.left != numbers[0] || rect.top != numbers[1] || rect.right != numbers[2] || rect.bottom != numbers[3])
        Fail("a written rectangle reads back differently");
    const SIZE extent = Tarvo::ParseAttributeSize(text);
    if (extent.cx != numbers[0] || extent.cy != numbers[1])
        Fail("a written size reads back differently");
    const auto colour = static_cast<DWORD>(numbers[0]) ^ (static_cast<DWORD>(numbers[3]) << 12);
    std::swprintf(text, 64, L" #%08X", static_cast<unsigned>(colour));
    if (Tarvo::ParseAttributeColor(text, true) != colour || Tarvo::ParseAttributeColor(text + 1, false) != colour)
        Fail("a written colour reads back differently");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::wstring text = FuzzWideText(data, size);
    const wchar_t* value = text.c_str();

    const wchar_t* end = nullptr;
    Tarvo::ParseAttributeInt(value, &end);
    if (end < value || end > value + text.size())
        Fail("ParseAttributeInt end outside the text");
    int values[4] = {};
    Tarvo::ParseAttributeInts(value, values, 4);
    Tarvo::ParseAttributeRect(value);
    Tarvo::ParseAttributeSize(value);
    Tarvo::ParseAttributeBool(value);
    Tarvo::ParseAttributeColor(value, true);
    Tarvo::ParseAttributeColor(value, false);

    LONG longs[4] = {};
    Tarvo::ParseIntList(value, longs, 4);
    const RECT item = {10, 20, 330, 260};
    // The description and the modifier are read by the same parser: half the text each way.
    const std::wstring first = text.substr(0, text.size() / 2);
    const std::wstring second = text.substr(text.size() / 2);
    Tarvo::ParseImageSpec(value, nullptr, item);
    Tarvo::ParseImageSpec(first.c_str(), second.c_str(), item);
    CheckWrittenValues(data, size);
    return 0;
}
