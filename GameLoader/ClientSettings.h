#pragma once

#include <string>

// The small XML file the launcher shares with the platform client:
// LocalAppData\Quillvarinth\setting.xml, root element with one child element per key.

// The file's path; creates the Quillvarinth folder when it is missing.
std::wstring GetClientSettingPath();

// Sets the text of the first element named key under the root (case-sensitive), adding the
// element when there is none; every other node of the file is kept. True when the file was saved.
// An existing file that cannot be read or parsed, is larger than 1 MiB or nests elements deeper than
// the parser allows is left as it is and gives false; so is a file the parser reads but would not
// read again once written back (text after the root element).
bool WriteClientSetting(const std::string& key, const std::wstring& value, const std::wstring& path);

// True when an element named key exists under the root; value is set only when the element has text.
// Files the write refuses for their size, syntax or depth read as false.
bool ReadClientSetting(const std::string& key, const std::wstring& path, std::wstring& value);
