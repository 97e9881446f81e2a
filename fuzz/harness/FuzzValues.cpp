// Attribute values and image descriptions: colours, rectangles, sizes, numbers, booleans.
#include "FuzzText.h"
#include "controls/AttributeValue.h"
#include "core/ImageSpec.h"

#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::wstring text = FuzzWideText(data, size);
    const wchar_t* value = text.c_str();

    const wchar_t* end = nullptr;
    Tarvo::ParseAttributeInt(value, &end);
    if (end < value || end > value + text.size()) {
        std::fprintf(stderr, "ParseAttributeInt end outside the text\n");
        std::abort();
    }
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
    return 0;
}
