#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "TestFiles.h"

// The stand-in browser's scenario and record files (testbed/portal_browser/README.md).
namespace wxlmtest {

// One record line, its fields unescaped.
struct PortalRecordLine {
    std::vector<std::wstring> fields;

    std::wstring Kind() const { return Field(0); }
    std::wstring Field(size_t index) const { return index < fields.size() ? fields[index] : std::wstring(); }
    // The value of the first "key=value" field with that key.
    std::optional<std::wstring> Value(std::wstring_view key) const;
    bool Is(std::wstring_view kind, std::wstring_view second) const { return Kind() == kind && Field(1) == second; }
};

std::vector<PortalRecordLine> ParsePortalRecord(const std::string& utf8);
std::wstring UnescapePortalField(std::string_view utf8);

// Points the stand-in browser of this process (and of the processes it starts) at a scenario
// file and a fresh record file in a temporary folder; puts the environment back at the end.
class PortalBrowserSession {
public:
    explicit PortalBrowserSession(const std::string& scenarioUtf8 = {});
    ~PortalBrowserSession();
    PortalBrowserSession(const PortalBrowserSession&) = delete;
    PortalBrowserSession& operator=(const PortalBrowserSession&) = delete;

    void SetScenario(const std::string& scenarioUtf8);
    const std::wstring& RecordPath() const { return m_recordPath; }
    std::vector<PortalRecordLine> Record() const;
    std::vector<PortalRecordLine> Record(std::wstring_view kind) const;

private:
    TempDir m_dir;
    std::wstring m_scenarioPath;
    std::wstring m_recordPath;
    ScopedEnvironment m_scenarioVariable;
    ScopedEnvironment m_recordVariable;
};

} // namespace wxlmtest
