#pragma once

#include <optional>
#include <string>

namespace wxlmtest {

// A client settings document with root "settings" holding the given values
// (an absent value leaves its element out).
std::string ClientSettingsXml(const std::optional<std::wstring>& loginSource,
                              const std::optional<std::wstring>& windowId);

// Writes it to the prefix's settings file, creating the client folder if needed.
bool WriteClientSettingsFile(const std::optional<std::wstring>& loginSource,
                             const std::optional<std::wstring>& windowId);

} // namespace wxlmtest
