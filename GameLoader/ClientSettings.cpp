#include "ClientSettings.h"

#include "Common.h"

#include <shlwapi.h>
#include <tinyxml2.h>

#include <cstdio>
#include <algorithm>
#include <memory>
#include <optional>

// windows.h declares an XMLDocument of its own, so the library's names stay qualified.
namespace xml = tinyxml2;

namespace {

struct FileCloser {
    void operator()(FILE* file) const { std::fclose(file); }
};
using UniqueFile = std::unique_ptr<FILE, FileCloser>;

// The client's file holds a handful of short values; anything near this size is not one of its
// files, and the parser never sees it. Nesting is bounded by the parser itself
// (TINYXML2_MAX_ELEMENT_DEPTH): deeper files fail to parse instead of exhausting the stack.
constexpr long kLargestSettingsFile = 1024 * 1024;

// The file is opened through the wide interface so that a profile path outside the ANSI code
// page still works; the library only ever sees bytes.
std::optional<std::string> ReadSettingsBytes(const std::wstring& path)
{
    UniqueFile file(_wfopen(path.c_str(), L"rb"));
    if (!file || std::fseek(file.get(), 0, SEEK_END) != 0)
        return std::nullopt;
    const long size = std::ftell(file.get());
    if (size < 0 || size > kLargestSettingsFile || std::fseek(file.get(), 0, SEEK_SET) != 0)
        return std::nullopt;
    std::string bytes(static_cast<size_t>(size), '\0');
    if (std::fread(bytes.data(), 1, bytes.size(), file.get()) != bytes.size())
        return std::nullopt;
    return bytes;
}

bool LoadDocument(xml::XMLDocument& document, const std::wstring& path)
{
    const std::optional<std::string> bytes = ReadSettingsBytes(path);
    return bytes && document.Parse(bytes->data(), bytes->size()) == xml::XML_SUCCESS;
}

// The parser drops text made only of white space and turns every CR into LF, so such values
// would not read back as written. Their characters go out as character references, which the
// parser takes literally; every other character is printed as the library prints it.
class SettingsPrinter : public xml::XMLPrinter {
public:
    bool Visit(const xml::XMLText& text) override
    {
        const std::string value = text.Value();
        const bool onlyBlanks = !value.empty() && value.find_first_not_of(kBlanks) == std::string::npos;
        if (text.CData() || (!onlyBlanks && value.find('\r') == std::string::npos))
            return XMLPrinter::Visit(text);
        PushText("");
        size_t start = 0;
        for (size_t i = 0; i < value.size(); ++i) {
            if (!onlyBlanks && value[i] != '\r')
                continue;
            PushText(value.substr(start, i - start).c_str());
            Write(("&#" + std::to_string(static_cast<unsigned char>(value[i])) + ";").c_str());
            start = i + 1;
        }
        PushText(value.substr(start).c_str());
        return true;
    }

private:
    // The characters the parser counts as white space.
    static constexpr char kBlanks[] = " \t\n\v\f\r";
};

// The whole document is printed, and read again, before the file is opened, so that nothing
// short of a failing disk leaves a half-written or unreadable file. Text mode writes the line
// ends as CR LF. A document that would come out larger than a settings file may be is not
// written: the next read would refuse it.
bool SaveDocument(const xml::XMLDocument& document, const std::wstring& path)
{
    SettingsPrinter printer;
    document.Print(&printer);
    const size_t size = static_cast<size_t>(printer.CStrSize() - 1);
    const size_t lineFeeds = static_cast<size_t>(std::count(printer.CStr(), printer.CStr() + size, '\n'));
    if (size + lineFeeds > static_cast<size_t>(kLargestSettingsFile))
        return false;
    // The parser accepts a few damaged files that it prints back in a form it then refuses (text
    // after the root element, for one); writing that would lose every value in the file.
    xml::XMLDocument reread;
    if (reread.Parse(printer.CStr(), size) != xml::XML_SUCCESS)
        return false;
    FILE* file = _wfopen(path.c_str(), L"w");
    if (!file)
        return false;
    const bool written = std::fwrite(printer.CStr(), 1, size, file) == size;
    return std::fclose(file) == 0 && written;
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

// The first element named key under the root, emptied; a new last child when there is none.
xml::XMLElement* EmptiedSettingElement(xml::XMLElement& root, const std::string& key)
{
    xml::XMLElement* element = root.FirstChildElement(key.c_str());
    if (element) {
        element->DeleteChildren();
        return element;
    }
    return root.InsertEndChild(root.GetDocument()->NewElement(key.c_str()))->ToElement();
}

bool WriteSetting(const std::string& key, const std::wstring& value, const std::wstring& path)
{
    xml::XMLDocument document;
    if (!PathFileExistsW(path.c_str())) {
        document.InsertEndChild(document.NewElement("settings"));
    } else if (!LoadDocument(document, path)) {
        return false;
    }
    xml::XMLElement* root = document.FirstChildElement();
    if (!root)
        return false;
    xml::XMLElement* element = EmptiedSettingElement(*root, key);
    element->InsertEndChild(document.NewText(WideToMulti(value, CP_UTF8).c_str()));
    return SaveDocument(document, path);
}

bool ReadSetting(const std::string& key, const std::wstring& path, std::wstring& value)
{
    xml::XMLDocument document;
    if (!LoadDocument(document, path))
        return false;
    const xml::XMLElement* root = document.FirstChildElement();
    if (!root)
        return false;
    const xml::XMLElement* element = root->FirstChildElement(key.c_str());
    if (!element)
        return false;
    if (const xml::XMLNode* first = element->FirstChild(); first && first->ToText())
        value = DecodeStoredText(first->Value());
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
