#include "RecordFile.h"

#include "Environment.h"

#include "../../ui/core/UIHandle.h"

#include <cstdio>

namespace wxlmportal {

namespace {

void AppendUtf8(std::string& out, char32_t code)
{
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

bool IsHigh(wchar_t c)
{
    return c >= 0xD800 && c <= 0xDBFF;
}
bool IsLow(wchar_t c)
{
    return c >= 0xDC00 && c <= 0xDFFF;
}

} // namespace

std::string CRecordFile::Escape(std::wstring_view text)
{
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        const wchar_t c = text[i];
        switch (c) {
        case L'\\':
            out += "\\\\";
            continue;
        case L'\t':
            out += "\\t";
            continue;
        case L'\n':
            out += "\\n";
            continue;
        case L'\r':
            out += "\\r";
            continue;
        case L'\0':
            out += "\\0";
            continue;
        default:
            break;
        }
        if (IsHigh(c) && i + 1 < text.size() && IsLow(text[i + 1])) {
            AppendUtf8(out, 0x10000 + ((static_cast<char32_t>(c) - 0xD800) << 10) + (text[i + 1] - 0xDC00));
            ++i;
        } else if (IsHigh(c) || IsLow(c)) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04X", static_cast<unsigned>(c));
            out += escaped;
        } else {
            AppendUtf8(out, c);
        }
    }
    return out;
}

std::wstring CRecordFile::Hex(HRESULT value)
{
    wchar_t buffer[16];
    std::swprintf(buffer, ARRAYSIZE(buffer), L"0x%08X", static_cast<unsigned>(value));
    return buffer;
}

void CRecordFile::Append(std::initializer_list<std::wstring_view> fields)
{
    const std::wstring path = EnvironmentText(L"WXLM_PORTAL_RECORD");
    if (path.empty()) {
        return;
    }
    std::string line;
    for (const std::wstring_view field : fields) {
        if (!line.empty()) {
            line += '\t';
        }
        line += Escape(field);
    }
    line += '\n';
    const Tarvo::CUIKernelHandle file(::CreateFileW(path.c_str(), FILE_APPEND_DATA,
                                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                                    OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        return;
    }
    DWORD written = 0;
    ::WriteFile(file.Get(), line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
}

} // namespace wxlmportal
