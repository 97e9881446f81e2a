#include "FuzzText.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>

std::wstring Utf16Units(const uint8_t* data, size_t size)
{
    std::wstring text;
    for (size_t i = 0; i + 1 < size; i += 2)
        text += static_cast<wchar_t>(data[i] | (data[i + 1] << 8));
    return text;
}

std::wstring FuzzWideText(const uint8_t* data, size_t size)
{
    if (size >= 2 && data[0] == 0xFF && data[1] == 0xFE)
        return Utf16Units(data + 2, size - 2);
    std::wstring text;
    if (size == 0)
        return text;
    const int count =
        MultiByteToWideChar(CP_UTF8, 0, reinterpret_cast<const char*>(data), static_cast<int>(size), nullptr, 0);
    text.resize(static_cast<size_t>(count));
    MultiByteToWideChar(CP_UTF8, 0, reinterpret_cast<const char*>(data), static_cast<int>(size), text.data(), count);
    return text;
}

std::wstring WithoutLoneSurrogates(const std::wstring& text)
{
    std::wstring clean = text;
    for (size_t i = 0; i < clean.size(); ++i) {
        const auto unit = static_cast<uint32_t>(clean[i]);
        const bool high = unit >= 0xD800 && unit <= 0xDBFF;
        const bool low = unit >= 0xDC00 && unit <= 0xDFFF;
        const bool pairs = high && i + 1 < clean.size() && static_cast<uint32_t>(clean[i + 1]) >= 0xDC00 &&
                           static_cast<uint32_t>(clean[i + 1]) <= 0xDFFF;
        if (pairs)
            ++i;
        else if (high || low)
            clean[i] = 0xFFFD;
    }
    return clean;
}

namespace {

void PrintUnits(const char* label, const std::wstring& text)
{
    std::fprintf(stderr, "%s (%zu units):", label, text.size());
    for (const wchar_t unit : text)
        std::fprintf(stderr, " %04X", static_cast<unsigned>(unit));
    std::fprintf(stderr, "\n");
}

} // namespace

void AssertSameText(const char* what, const std::wstring& expected, const std::wstring& actual)
{
    if (expected == actual)
        return;
    std::fprintf(stderr, "round trip broken: %s\n", what);
    PrintUnits("expected", expected);
    PrintUnits("actual", actual);
    std::abort();
}

void CheckThat(bool ok, const char* what)
{
    if (!ok) {
        std::fprintf(stderr, "%s\n", what);
        std::abort();
    }
}
