#pragma once

#include <windows.h>

#include <initializer_list>
#include <string>
#include <string_view>

namespace wxlmportal {

// The record file named by WXLM_PORTAL_RECORD: one tab-separated line per record, appended
// and closed at once, so that a test (or another process) sees it as soon as it happens.
class CRecordFile {
public:
    static void Append(std::initializer_list<std::wstring_view> fields);

    // UTF-8 with \\ \t \n \r \0 escaped and lone surrogates written as \uXXXX.
    static std::string Escape(std::wstring_view text);
    static std::wstring Hex(HRESULT value);
};

} // namespace wxlmportal
