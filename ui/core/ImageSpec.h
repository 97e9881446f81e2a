#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace Tarvo {

// One image of an image description (skin attributes such as "bkimage"), ready to draw.
struct UIImageSpec {
    std::wstring name;
    std::wstring resourceType;
    RECT dest = {0, 0, 0, 0};
    RECT source = {0, 0, 0, 0};
    RECT corner = {0, 0, 0, 0};
    DWORD mask = 0;
    BYTE fade = 255;
    bool hole = false;
    bool xTiled = false;
    bool yTiled = false;
};

// Parses the description, then the modifier, as lists of key='value' pairs and returns the
// images they draw, in order: each "file" or "res" key after an earlier "file" key of the same
// string closes the image described so far. A string that is not such a list is an image name
// (the name starts as the whole description); a malformed pair ends the parse of its string
// and keeps what was set before it.
std::vector<UIImageSpec> ParseImageSpec(const wchar_t* pstrDescription, const wchar_t* pstrModifier,
                                        const RECT& rcItem);

// The decimal integers of a list like "1,2,3,4": after each number exactly one separator is
// skipped; missing numbers are 0 and values beyond the range of LONG saturate.
void ParseIntList(const wchar_t* pstrValue, LONG* pValues, int count);

} // namespace Tarvo
