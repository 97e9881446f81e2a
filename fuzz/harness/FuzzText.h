#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// Wide text from fuzz bytes, one UTF-16 code unit per wchar_t. Bytes starting with FF FE are
// UTF-16LE (so lone surrogates and any unit can be reached); anything else is UTF-8, decoded as
// Windows does (invalid sequences become U+FFFD), which keeps ASCII mutations cheap.
std::wstring FuzzWideText(const uint8_t* data, size_t size);

// Bytes as UTF-16LE code units; an odd last byte is dropped.
std::wstring Utf16Units(const uint8_t* data, size_t size);

// The same text with lone surrogates replaced by U+FFFD: what survives a trip through UTF-8.
std::wstring WithoutLoneSurrogates(const std::wstring& text);

// Aborts with both texts printed (as code units) when they differ.
void AssertSameText(const char* what, const std::wstring& expected, const std::wstring& actual);

// Aborts with the message when ok is false.
void CheckThat(bool ok, const char* what);
