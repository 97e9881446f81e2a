#pragma once

#include <windows.h>

namespace Tarvo {

// The value forms of skin attributes. None of them fails: what cannot be read is 0 or false.

// Decimal, leading blanks allowed, reading stops at the first character not part of the
// number; pstrEnd (optional) receives where it stopped.
int ParseAttributeInt(const wchar_t* pstrValue, const wchar_t** pstrEnd = nullptr);
// Integers with exactly one separator character skipped between them; missing ones are 0.
void ParseAttributeInts(const wchar_t* pstrValue, int* pValues, int nCount);
RECT ParseAttributeRect(const wchar_t* pstrValue);
SIZE ParseAttributeSize(const wchar_t* pstrValue);
// True only for the exact lower-case text "true".
bool ParseAttributeBool(const wchar_t* pstrValue);
// Hexadecimal 0xAARRGGBB with an optional "#"; bSkipBlanks skips leading characters up to U+0020.
DWORD ParseAttributeColor(const wchar_t* pstrValue, bool bSkipBlanks);

} // namespace Tarvo
