#include "Scenario.h"

#include "Environment.h"

#include "RecordFile.h"
#include "../../ui/core/UIHandle.h"

#include <cwchar>

namespace wxlmportal {

namespace {

std::string ReadFileBytes(const std::wstring& path)
{
    const Tarvo::CUIKernelHandle file(::CreateFileW(path.c_str(), GENERIC_READ,
                                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER size{};
    if (!file || !::GetFileSizeEx(file.Get(), &size) || size.QuadPart > 256 * 1024 * 1024) {
        return {};
    }
    std::string bytes(static_cast<size_t>(size.QuadPart), '\0');
    DWORD read = 0;
    if (!bytes.empty() && !::ReadFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr)) {
        return {};
    }
    bytes.resize(read);
    return bytes;
}

std::wstring FromUtf8(const std::string& bytes)
{
    if (bytes.empty()) {
        return {};
    }
    const int length = ::MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    std::wstring text(static_cast<size_t>(length), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()), text.data(), length);
    return text;
}

// Splits "keyword rest of line" at the first blank.
std::pair<std::wstring_view, std::wstring_view> SplitKeyword(std::wstring_view line)
{
    const size_t blank = line.find(L' ');
    if (blank == std::wstring_view::npos) {
        return {line, {}};
    }
    return {line.substr(0, blank), line.substr(blank + 1)};
}

int HexDigit(wchar_t c)
{
    if (c >= L'0' && c <= L'9') {
        return c - L'0';
    }
    if (c >= L'a' && c <= L'f') {
        return c - L'a' + 10;
    }
    if (c >= L'A' && c <= L'F') {
        return c - L'A' + 10;
    }
    return -1;
}

// "\uXXXX" at text[i]: the code unit, or -1.
long UnicodeEscape(std::wstring_view text, size_t i)
{
    if (i + 6 > text.size() || text[i + 1] != L'u') {
        return -1;
    }
    long value = 0;
    for (size_t k = i + 2; k < i + 6; ++k) {
        const int digit = HexDigit(text[k]);
        if (digit < 0) {
            return -1;
        }
        value = value * 16 + digit;
    }
    return value;
}

} // namespace

std::optional<LONG> ParseNumber(std::wstring_view text)
{
    const std::wstring copy(text);
    if (copy.empty()) {
        return std::nullopt;
    }
    wchar_t* end = nullptr;
    errno = 0;
    long long value = copy[0] == L'-' ? std::wcstoll(copy.c_str(), &end, 10) : std::wcstoll(copy.c_str(), &end, 0);
    if (end != copy.c_str() + copy.size() || errno != 0 || value < INT32_MIN || value > UINT32_MAX) {
        return std::nullopt;
    }
    return static_cast<LONG>(static_cast<int64_t>(value) & 0xFFFFFFFF);
}

std::wstring CScenario::Unescape(std::wstring_view text)
{
    std::wstring out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != L'\\' || i + 1 == text.size()) {
            out += text[i];
            continue;
        }
        const long code = UnicodeEscape(text, i);
        if (code >= 0) {
            out += static_cast<wchar_t>(code);
            i += 5;
            continue;
        }
        switch (text[i + 1]) {
        case L'\\':
            out += L'\\';
            break;
        case L't':
            out += L'\t';
            break;
        case L'n':
            out += L'\n';
            break;
        case L'r':
            out += L'\r';
            break;
        default:
            out += text[i];
            continue;
        }
        ++i;
    }
    return out;
}

CScenario CScenario::Load()
{
    const std::wstring path = EnvironmentText(L"WXLM_PORTAL_SCENARIO");
    return path.empty() ? CScenario() : Parse(FromUtf8(ReadFileBytes(path)));
}

CScenario CScenario::Parse(std::wstring_view text)
{
    CScenario scenario;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find(L'\n', start);
        if (end == std::wstring_view::npos) {
            end = text.size();
        }
        std::wstring_view line = text.substr(start, end - start);
        if (!line.empty() && line.back() == L'\r') {
            line.remove_suffix(1);
        }
        if (!line.empty() && line.front() != L'#') {
            scenario.ParseLine(line);
        }
        start = end + 1;
    }
    return scenario;
}

void CScenario::ParseLine(std::wstring_view line)
{
    const auto [keyword, argument] = SplitKeyword(line);
    if (keyword == L"page") {
        PageRule rule;
        rule.prefix = Unescape(argument);
        m_rules.push_back(std::move(rule));
        return;
    }
    if (ParseObjectDirective(keyword, argument)) {
        return;
    }
    if (!m_rules.empty() && ParseRuleDirective(m_rules.back(), keyword, argument)) {
        return;
    }
    CRecordFile::Append({L"scenario", L"unknown", line});
}

bool CScenario::ParseObjectDirective(std::wstring_view keyword, std::wstring_view argument)
{
    if (keyword != L"miscstatus" && keyword != L"initnew") {
        return false;
    }
    const std::optional<LONG> number = ParseNumber(argument);
    if (!number) {
        return false;
    }
    if (keyword == L"miscstatus") {
        m_miscStatus = static_cast<DWORD>(*number);
    } else {
        m_initNewResult = *number;
    }
    return true;
}

bool CScenario::ParseRuleDirective(PageRule& rule, std::wstring_view keyword, std::wstring_view argument)
{
    if (keyword == L"status") {
        rule.status = ParseNumber(argument);
        return rule.status.has_value();
    }
    if (keyword == L"title") {
        rule.title = Unescape(argument);
        return true;
    }
    if (keyword == L"frame") {
        const auto [url, status] = SplitKeyword(argument);
        if (url.empty()) {
            return false;
        }
        FrameSpec frame{Unescape(url), std::nullopt};
        if (!status.empty()) {
            frame.status = ParseNumber(status);
            if (!frame.status) {
                return false;
            }
        }
        rule.frames.push_back(std::move(frame));
        return true;
    }
    return ParseStep(rule, keyword, argument);
}

bool CScenario::ParseStep(PageRule& rule, std::wstring_view keyword, std::wstring_view argument)
{
    static const struct {
        const wchar_t* keyword;
        ScriptStepKind kind;
    } kSteps[] = {
        {L"call", ScriptStepKind::Call},
        {L"call-int", ScriptStepKind::CallInt},
        {L"call-null", ScriptStepKind::CallNull},
        {L"call-object", ScriptStepKind::CallObject},
        {L"call-none", ScriptStepKind::CallNone},
        {L"call-two", ScriptStepKind::CallTwo},
        {L"call-name", ScriptStepKind::CallName},
        {L"newwindow", ScriptStepKind::NewWindow},
        {L"scripterror", ScriptStepKind::ScriptError},
    };
    for (const auto& entry : kSteps) {
        if (keyword != entry.keyword) {
            continue;
        }
        ScriptStep step;
        step.kind = entry.kind;
        step.name = L"g_callCppFunc";
        step.text = Unescape(argument);
        if (entry.kind == ScriptStepKind::CallName) {
            const auto [name, text] = SplitKeyword(argument);
            step.name = Unescape(name);
            step.text = Unescape(text);
        } else if (entry.kind == ScriptStepKind::CallInt) {
            const std::optional<LONG> number = ParseNumber(argument);
            if (!number) {
                return false;
            }
            step.number = *number;
        }
        rule.steps.push_back(std::move(step));
        return true;
    }
    return false;
}

PageRule CScenario::PageFor(std::wstring_view url) const
{
    for (const PageRule& rule : m_rules) {
        if (rule.prefix == L"*" || url.substr(0, rule.prefix.size()) == rule.prefix) {
            return rule;
        }
    }
    return PageRule{};
}

} // namespace wxlmportal
