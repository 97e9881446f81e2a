#include "ClientSettings.h"

#include "Common.h"

#include <shlwapi.h>
#include <tinyxml.h>

#include <cstdio>
#include <memory>

namespace {

struct FileCloser {
    void operator()(FILE* file) const { std::fclose(file); }
};
using UniqueFile = std::unique_ptr<FILE, FileCloser>;

// The file is opened through the wide interface so that a profile path outside the ANSI code
// page still works; the library only ever sees the open stream.
bool LoadDocument(TiXmlDocument& document, const std::wstring& path)
{
    UniqueFile file(_wfopen(path.c_str(), L"rb"));
    return file && document.LoadFile(file.get());
}

bool SaveDocument(const TiXmlDocument& document, const std::wstring& path)
{
    FILE* file = _wfopen(path.c_str(), L"w");
    if (!file)
        return false;
    const bool written = document.SaveFile(file);
    return std::fclose(file) == 0 && written;
}

TiXmlElement* FindChild(TiXmlElement& root, const std::string& key)
{
    return root.FirstChildElement(key.c_str());
}

// Values are written as UTF-8; the platform client may have written its own in the ANSI code
// page. Text that is valid UTF-8 is read as such, anything else as ANSI; ASCII reads the same both ways.
std::wstring DecodeStoredText(const std::string& bytes)
{
    if (bytes.empty())
        return {};
    const int length = static_cast<int>(bytes.size());
    if (MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, bytes.data(), length, nullptr, 0) > 0)
        return MultiToWide(bytes, CP_UTF8);
    return MultiToWide(bytes, CP_ACP);
}

bool WriteSetting(const std::string& key, const std::wstring& value, const std::wstring& path)
{
    TiXmlDocument document;
    if (!PathFileExistsW(path.c_str())) {
        document.LinkEndChild(new TiXmlElement("settings"));
    } else if (!LoadDocument(document, path)) {
        return false;
    }
    TiXmlElement* root = document.FirstChildElement();
    if (!root)
        return false;
    TiXmlElement* element = FindChild(*root, key);
    if (element)
        element->Clear();
    else
        element = root->LinkEndChild(new TiXmlElement(key.c_str()))->ToElement();
    element->LinkEndChild(new TiXmlText(WideToMulti(value, CP_UTF8).c_str()));
    return SaveDocument(document, path);
}

bool ReadSetting(const std::string& key, const std::wstring& path, std::wstring& value)
{
    TiXmlDocument document;
    if (!LoadDocument(document, path))
        return false;
    TiXmlElement* root = document.FirstChildElement();
    if (!root)
        return false;
    TiXmlElement* element = FindChild(*root, key);
    if (!element)
        return false;
    if (const TiXmlNode* first = element->FirstChild(); first && first->ToText())
        value = DecodeStoredText(first->ValueStr());
    return true;
}

} // namespace

std::wstring GetClientSettingPath()
{
    const std::wstring dir = GetLocalAppDataDir() + L"\\Quillvarinth";
    if (!PathFileExistsW(dir.c_str()))
        CreateDirectoryW(dir.c_str(), nullptr);
    return dir + L"\\setting.xml";
}

bool WriteClientSetting(const std::string& key, const std::wstring& value, const std::wstring& path)
{
    try {
        return WriteSetting(key, value, path);
    } catch (...) {
        return false;
    }
}

bool ReadClientSetting(const std::string& key, const std::wstring& path, std::wstring& value)
{
    try {
        return ReadSetting(key, path, value);
    } catch (...) {
        return false;
    }
}
