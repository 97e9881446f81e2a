#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace wxlmportal {

enum class ScriptStepKind { Call, CallInt, CallNull, CallObject, CallNone, CallTwo, CallName, NewWindow, ScriptError };

struct ScriptStep {
    ScriptStepKind kind = ScriptStepKind::Call;
    std::wstring name; // the script-visible name asked for (g_callCppFunc unless call-name)
    std::wstring text; // the argument text, or the URL of newwindow
    LONG number = 0;   // call-int
};

struct FrameSpec {
    std::wstring url;
    std::optional<LONG> status;
};

struct PageRule {
    std::wstring prefix;
    std::optional<LONG> status;
    std::vector<FrameSpec> frames;
    std::wstring title = L"Orvendale";
    std::vector<ScriptStep> steps;
};

// What the page does for a URL, from the text named by WXLM_PORTAL_SCENARIO (format in README.md).
class CScenario {
public:
    static constexpr DWORD kDefaultMiscStatus = OLEMISC_SETCLIENTSITEFIRST | OLEMISC_ACTIVATEWHENVISIBLE |
                                                OLEMISC_INSIDEOUT | OLEMISC_CANTLINKINSIDE | OLEMISC_RECOMPOSEONRESIZE;

    static CScenario Load();
    static CScenario Parse(std::wstring_view text);
    static std::wstring Unescape(std::wstring_view text);

    DWORD MiscStatus() const { return m_miscStatus; }
    HRESULT InitNewResult() const { return m_initNewResult; }
    // The first rule whose prefix starts the URL; the default page when none does.
    PageRule PageFor(std::wstring_view url) const;

private:
    void ParseLine(std::wstring_view line);
    bool ParseObjectDirective(std::wstring_view keyword, std::wstring_view argument);
    bool ParseRuleDirective(PageRule& rule, std::wstring_view keyword, std::wstring_view argument);
    static bool ParseStep(PageRule& rule, std::wstring_view keyword, std::wstring_view argument);

    DWORD m_miscStatus = kDefaultMiscStatus;
    HRESULT m_initNewResult = S_OK;
    std::vector<PageRule> m_rules;
};

// A whole argument as a 32-bit number: decimal, optionally negative, or 0x hex.
std::optional<LONG> ParseNumber(std::wstring_view text);

} // namespace wxlmportal
