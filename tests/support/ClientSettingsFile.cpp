#include "ClientSettingsFile.h"

#include <windows.h>

#include "TestFiles.h"
#include "TestPaths.h"

namespace wxlmtest {

std::string ClientSettingsXml(const std::optional<std::wstring>& loginSource,
                              const std::optional<std::wstring>& windowId)
{
    std::string xml = "<?xml version=\"1.0\" ?>\n<settings>\n";
    if (loginSource)
        xml += "    <loginsource>" + Narrow(*loginSource) + "</loginsource>\n";
    if (windowId)
        xml += "    <qvwindowid>" + Narrow(*windowId) + "</qvwindowid>\n";
    return xml + "</settings>\n";
}

bool WriteClientSettingsFile(const std::optional<std::wstring>& loginSource,
                             const std::optional<std::wstring>& windowId)
{
    CreateDirectoryW(ClientDir().c_str(), nullptr);
    return WriteFileBytes(ClientSettingsPath(), ClientSettingsXml(loginSource, windowId));
}

} // namespace wxlmtest
