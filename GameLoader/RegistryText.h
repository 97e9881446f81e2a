#pragma once

#include <windows.h>

#include <string>
#include <vector>

// Text values as the registry holds them: UTF-16LE code units, whatever the size of wchar_t.

// The text of a value's data: "" unless the type is REG_SZ, REG_EXPAND_SZ or REG_MULTI_SZ.
// It ends at the first terminator or with the data, which need not hold one; an odd last
// byte is the low half of a unit whose high half is zero. Expandable text is taken as stored,
// and a multi-string gives its first string.
std::wstring RegistryTextFromData(DWORD type, const BYTE* data, size_t bytes);

// The data of a REG_SZ value holding text, terminator included.
std::vector<BYTE> RegistryDataFromText(const std::wstring& text);
