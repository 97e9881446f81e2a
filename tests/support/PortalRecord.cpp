#include "PortalRecord.h"

#include <windows.h>

namespace wxlmtest {

namespace {

int HexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

} // namespace

std::optional<std::wstring> PortalRecordLine::Value(std::wstring_view key) const
{
    for (const std::wstring& field : fields) {
        if (field.size() > key.size() && field.compare(0, key.size(), key) == 0 && field[key.size()] == L'=')
            return field.substr(key.size() + 1);
    }
    return std::nullopt;
}

// The record escapes \ tab LF CR NUL, and writes lone surrogates as \uXXXX; the rest is UTF-8.
std::wstring UnescapePortalField(std::string_view utf8)
{
    std::wstring out;
    size_t plain = 0;
    auto flush = [&](size_t end) { out += Widen(std::string(utf8.substr(plain, end - plain))); };
    for (size_t i = 0; i < utf8.size(); ++i) {
        if (utf8[i] != '\\' || i + 1 == utf8.size())
            continue;
        flush(i);
        const char next = utf8[i + 1];
        size_t used = 2;
        switch (next) {
        case '\\':
            out += L'\\';
            break;
        case 't':
            out += L'\t';
            break;
        case 'n':
            out += L'\n';
            break;
        case 'r':
            out += L'\r';
            break;
        case '0':
            out += L'\0';
            break;
        case 'u': {
            unsigned value = 0;
            for (size_t k = i + 2; k < i + 6 && k < utf8.size(); ++k)
                value = value * 16 + static_cast<unsigned>(HexValue(utf8[k]));
            out += static_cast<wchar_t>(value);
            used = 6;
            break;
        }
        default:
            out += L'\\';
            used = 1;
            break;
        }
        i += used - 1;
        plain = i + 1;
    }
    flush(utf8.size());
    return out;
}

std::vector<PortalRecordLine> ParsePortalRecord(const std::string& utf8)
{
    std::vector<PortalRecordLine> lines;
    size_t start = 0;
    while (start < utf8.size()) {
        size_t end = utf8.find('\n', start);
        if (end == std::string::npos)
            end = utf8.size();
        PortalRecordLine line;
        size_t fieldStart = start;
        while (true) {
            const size_t tab = utf8.find('\t', fieldStart);
            const size_t fieldEnd = tab == std::string::npos || tab > end ? end : tab;
            line.fields.push_back(
                UnescapePortalField(std::string_view(utf8).substr(fieldStart, fieldEnd - fieldStart)));
            if (fieldEnd == end)
                break;
            fieldStart = fieldEnd + 1;
        }
        lines.push_back(std::move(line));
        start = end + 1;
    }
    return lines;
}

PortalBrowserSession::PortalBrowserSession(const std::string& scenarioUtf8)
    : m_scenarioPath(m_dir / L"scenario.txt"), m_recordPath(m_dir / L"record.txt"),
      m_scenarioVariable(L"WXLM_PORTAL_SCENARIO", m_scenarioPath), m_recordVariable(L"WXLM_PORTAL_RECORD", m_recordPath)
{
    SetScenario(scenarioUtf8);
}

PortalBrowserSession::~PortalBrowserSession() = default;

void PortalBrowserSession::SetScenario(const std::string& scenarioUtf8)
{
    WriteFileBytes(m_scenarioPath, scenarioUtf8);
}

std::vector<PortalRecordLine> PortalBrowserSession::Record() const
{
    return ParsePortalRecord(ReadFileBytes(m_recordPath).value_or(std::string()));
}

std::vector<PortalRecordLine> PortalBrowserSession::Record(std::wstring_view kind) const
{
    std::vector<PortalRecordLine> lines;
    for (PortalRecordLine& line : Record()) {
        if (line.Kind() == kind)
            lines.push_back(std::move(line));
    }
    return lines;
}

} // namespace wxlmtest
