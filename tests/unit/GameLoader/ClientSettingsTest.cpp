#include "ClientSettings.h"

#include "TestFiles.h"
#include "TestPaths.h"

#include <gtest/gtest.h>
#include <tinyxml2.h>
#include <windows.h>

#include <vector>

namespace {

using wxlmtest::ReadFileBytes;
using wxlmtest::TempDir;
using wxlmtest::WriteFileBytes;

// The file as the platform client would see it: the root's child elements as (name, text) pairs.
struct Parsed {
    std::string rootName;
    std::vector<std::pair<std::string, std::string>> children;
};

Parsed Parse(const std::wstring& path)
{
    Parsed parsed;
    const auto bytes = ReadFileBytes(path);
    if (!bytes)
        return parsed;
    tinyxml2::XMLDocument document;
    document.Parse(bytes->data(), bytes->size());
    const tinyxml2::XMLElement* root = document.RootElement();
    if (!root)
        return parsed;
    parsed.rootName = root->Name();
    for (const tinyxml2::XMLElement* child = root->FirstChildElement(); child; child = child->NextSiblingElement())
        parsed.children.emplace_back(child->Name(), child->GetText() ? child->GetText() : "");
    return parsed;
}

using Children = std::vector<std::pair<std::string, std::string>>;

class ClientSettingsTest : public ::testing::Test {
protected:
    TempDir m_temp;
    std::wstring m_path = m_temp / L"setting.xml";
};

TEST_F(ClientSettingsTest, FirstWriteCreatesTheFileWithRootSettings)
{
    ASSERT_TRUE(WriteClientSetting("qvwindowid", L"4242", m_path));
    const Parsed parsed = Parse(m_path);
    EXPECT_EQ(parsed.rootName, "settings");
    EXPECT_EQ(parsed.children, (Children{{"qvwindowid", "4242"}}));
    std::wstring value;
    EXPECT_TRUE(ReadClientSetting("qvwindowid", m_path, value));
    EXPECT_EQ(value, L"4242");
}

TEST_F(ClientSettingsTest, WritesReplaceTheValueAndKeepEverythingElse)
{
    ASSERT_TRUE(WriteFileBytes(m_path, "<?xml version=\"1.0\" encoding=\"UTF-8\" ?>\n"
                                       "<!-- written by the client -->\n"
                                       "<Client version=\"3\">\n"
                                       "  <lang>en</lang>\n"
                                       "  <QvWindowId>9</QvWindowId>\n"
                                       "  <qvwindowid>1</qvwindowid>\n"
                                       "  <extra><deep a=\"b\">t</deep></extra>\n"
                                       "</Client>\n"));
    ASSERT_TRUE(WriteClientSetting("qvwindowid", L"2", m_path));
    ASSERT_TRUE(WriteClientSetting("qvwindowid", L"3", m_path));
    ASSERT_TRUE(WriteClientSetting("loginsource", L"QV", m_path));

    const Parsed parsed = Parse(m_path);
    EXPECT_EQ(parsed.rootName, "Client");
    EXPECT_EQ(
        parsed.children,
        (Children{{"lang", "en"}, {"QvWindowId", "9"}, {"qvwindowid", "3"}, {"extra", ""}, {"loginsource", "QV"}}));
    const std::string bytes = ReadFileBytes(m_path).value_or("");
    EXPECT_NE(bytes.find("<?xml version=\"1.0\" encoding=\"UTF-8\" ?>"), std::string::npos) << bytes;
    EXPECT_NE(bytes.find("<!-- written by the client -->"), std::string::npos) << bytes;
    EXPECT_NE(bytes.find("<Client version=\"3\">"), std::string::npos) << bytes;
    EXPECT_NE(bytes.find("<deep a=\"b\">t</deep>"), std::string::npos) << bytes;

    std::wstring value;
    EXPECT_TRUE(ReadClientSetting("QvWindowId", m_path, value));
    EXPECT_EQ(value, L"9");
    EXPECT_TRUE(ReadClientSetting("qvwindowid", m_path, value));
    EXPECT_EQ(value, L"3");
}

TEST_F(ClientSettingsTest, WriteDropsNestedContentOfTheElement)
{
    ASSERT_TRUE(WriteFileBytes(m_path, "<settings><qvwindowid><nested/>old<!-- c --></qvwindowid></settings>"));
    ASSERT_TRUE(WriteClientSetting("qvwindowid", L"77", m_path));
    const std::string bytes = ReadFileBytes(m_path).value_or("");
    EXPECT_EQ(bytes.find("nested"), std::string::npos) << bytes;
    EXPECT_EQ(bytes.find("old"), std::string::npos) << bytes;
    EXPECT_EQ(Parse(m_path).children, (Children{{"qvwindowid", "77"}}));
}

TEST_F(ClientSettingsTest, ReadOfAnEmptyOrMissingElementLeavesTheValue)
{
    ASSERT_TRUE(WriteFileBytes(m_path, "<settings><loginsource/><qvwindowid><a/></qvwindowid></settings>"));
    const std::pair<std::string, bool> cases[] = {
        {"loginsource", true}, {"qvwindowid", true}, {"QVWINDOWID", false}, {"missing", false}};
    for (const auto& [key, found] : cases) {
        std::wstring value = L"keep";
        EXPECT_EQ(ReadClientSetting(key, m_path, value), found) << key;
        EXPECT_EQ(value, L"keep") << key;
    }
}

TEST_F(ClientSettingsTest, EmptyAndMarkupValuesRoundTrip)
{
    const std::wstring values[] = {L"", L"a<b>&\"c'", L"two words", L"12345678901234567890"};
    for (const auto& written : values) {
        ASSERT_TRUE(WriteClientSetting("loginsource", written, m_path));
        std::wstring read = L"before";
        ASSERT_TRUE(ReadClientSetting("loginsource", m_path, read));
        EXPECT_EQ(read, written.empty() ? L"before" : written);
        EXPECT_EQ(Parse(m_path).children.size(), 1u);
    }
}

// The parser drops text that is only white space and reads CR as LF; such values must still
// come back as written, for the launcher and for a reader with the same parser.
TEST_F(ClientSettingsTest, BlankValuesAndCarriageReturnsRoundTrip)
{
    const std::wstring values[] = {L" ", L"\n", L" \t\r\n\v\f ", L"a\rb", L"a\r\nb", L"\r", L" lead and trail "};
    for (const auto& written : values) {
        ASSERT_TRUE(WriteClientSetting("loginsource", written, m_path));
        ASSERT_TRUE(WriteClientSetting("qvwindowid", L"77", m_path));
        std::wstring read = L"before";
        ASSERT_TRUE(ReadClientSetting("loginsource", m_path, read));
        EXPECT_EQ(read, written);
        const Children children = Parse(m_path).children;
        ASSERT_EQ(children.size(), 2u);
        EXPECT_EQ(children[0].second, std::string(written.begin(), written.end()));
    }
}

TEST_F(ClientSettingsTest, NonAsciiValueIsStoredAsUtf8AndReadBack)
{
    ASSERT_TRUE(WriteClientSetting("loginsource", L"caf\u00e9 \u4e2d", m_path));
    EXPECT_NE(ReadFileBytes(m_path).value_or("").find("caf\xc3\xa9 \xe4\xb8\xad"), std::string::npos);
    std::wstring value;
    ASSERT_TRUE(ReadClientSetting("loginsource", m_path, value));
    EXPECT_EQ(value, L"caf\u00e9 \u4e2d");
}

TEST_F(ClientSettingsTest, AnsiTextWrittenByTheClientIsReadInTheAnsiCodePage)
{
    ASSERT_TRUE(WriteFileBytes(m_path, "<settings><loginsource>caf\xe9</loginsource></settings>"));
    std::wstring value;
    ASSERT_TRUE(ReadClientSetting("loginsource", m_path, value));
    EXPECT_EQ(value, L"caf\u00e9");
}

TEST_F(ClientSettingsTest, PathOutsideTheAnsiCodePageWorks)
{
    const std::wstring folder = m_temp / L"\u4e2d\u6587";
    ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
    const std::wstring path = folder + L"\\setting.xml";
    ASSERT_TRUE(WriteClientSetting("qvwindowid", L"5", path));
    std::wstring value;
    ASSERT_TRUE(ReadClientSetting("qvwindowid", path, value));
    EXPECT_EQ(value, L"5");
}

// Files the launcher must not rewrite: each stays byte for byte as it was.
TEST_F(ClientSettingsTest, MalformedFileIsNeitherReadNorRewritten)
{
    const std::string contents[] = {
        "",
        "<settings><qvwindowid>1</settings>",
        "<settings><qvwindowid>1</qvwindowid>",
        "not xml at all",
        "<!-- only a comment -->",
        "<?xml version=\"1.0\"?>",
        std::string("\x00\x01\x02\xff\xfe", 5),
    };
    for (const auto& content : contents) {
        ASSERT_TRUE(WriteFileBytes(m_path, content));
        EXPECT_FALSE(WriteClientSetting("qvwindowid", L"2", m_path)) << content;
        EXPECT_EQ(ReadFileBytes(m_path), content) << content;
        std::wstring value = L"keep";
        EXPECT_FALSE(ReadClientSetting("qvwindowid", m_path, value)) << content;
        EXPECT_EQ(value, L"keep");
    }
}

std::string Repeated(const std::string& piece, int times)
{
    std::string text;
    for (int i = 0; i < times; ++i)
        text += piece;
    return text;
}

std::string Nested(int depth)
{
    return Repeated("<a>", depth) + Repeated("</a>", depth);
}

// A valid file of exactly size bytes: the padding is a comment.
std::string PaddedTo(size_t size)
{
    const std::string head = "<settings><qvwindowid>1</qvwindowid></settings><!--";
    const std::string tail = "-->";
    return head + std::string(size - head.size() - tail.size(), 'x') + tail;
}

// Inputs that once overran the parser's buffer or its stack: a file read as UTF-8 that ends
// inside a multi-byte character, and elements nested far deeper than any settings file; and
// files beyond the size of any settings file. Each is refused and stays byte for byte.
TEST_F(ClientSettingsTest, DamagedDeepOrHugeFileIsNeitherReadNorRewritten)
{
    const std::pair<const char*, std::string> cases[] = {
        {"byte order mark, cut character", "\xEF\xBB\xBF<a>\xD0"},
        {"UTF-8 declaration, cut character",
         "<?xml version=\"1.0\" encoding=\"UTF-8\"?><settings><qvwindowid>1</qvwindowid>\xE4\xB8"},
        {"20000 deep", "<settings>" + Nested(20000) + "<qvwindowid>1</qvwindowid></settings>"},
        {"20000 deep, never closed", Repeated("<a>", 20000)},
        {"beyond the size limit", PaddedTo(1024 * 1024 + 1)},
    };
    for (const auto& [what, content] : cases) {
        ASSERT_TRUE(WriteFileBytes(m_path, content));
        EXPECT_FALSE(WriteClientSetting("qvwindowid", L"2", m_path)) << what;
        EXPECT_EQ(ReadFileBytes(m_path), content) << what;
        std::wstring value = L"keep";
        EXPECT_FALSE(ReadClientSetting("qvwindowid", m_path, value)) << what;
        EXPECT_EQ(value, L"keep") << what;
    }
}

TEST_F(ClientSettingsTest, ModeratelyNestedFileStillWorks)
{
    ASSERT_TRUE(WriteFileBytes(m_path, "<settings>" + Nested(49) + "<qvwindowid>1</qvwindowid></settings>"));
    ASSERT_TRUE(WriteClientSetting("qvwindowid", L"2", m_path));
    std::wstring value;
    EXPECT_TRUE(ReadClientSetting("qvwindowid", m_path, value));
    EXPECT_EQ(value, L"2");
}

// What is written must be readable again: a file at the limit is read, and a write that would
// take it past the limit is refused and leaves it as it was.
TEST_F(ClientSettingsTest, FileAtTheSizeLimitIsReadAndNeverWrittenPastIt)
{
    const std::string content = PaddedTo(1024 * 1024);
    ASSERT_TRUE(WriteFileBytes(m_path, content));
    std::wstring value;
    EXPECT_TRUE(ReadClientSetting("qvwindowid", m_path, value));
    EXPECT_EQ(value, L"1");
    EXPECT_FALSE(WriteClientSetting("loginsource", L"QV", m_path));
    EXPECT_EQ(ReadFileBytes(m_path), content);
    EXPECT_TRUE(ReadClientSetting("qvwindowid", m_path, value));
}

// An entity inside the declaration must be written back exactly as it was read, or the saved
// file no longer parses and every later read and write fails.
TEST_F(ClientSettingsTest, DeclarationWithAnEntityIsWrittenBackAsItWas)
{
    const std::string declaration = "<?xml version=\"&amp;#x\"?>";
    ASSERT_TRUE(WriteFileBytes(m_path, declaration + "\n<settings><qvwindowid>1</qvwindowid></settings>\n"));
    for (const wchar_t* written : {L"2", L"3"}) {
        ASSERT_TRUE(WriteClientSetting("qvwindowid", written, m_path));
        EXPECT_EQ(ReadFileBytes(m_path).value_or("").rfind(declaration, 0), 0u) << ReadFileBytes(m_path).value_or("");
        std::wstring value;
        EXPECT_TRUE(ReadClientSetting("qvwindowid", m_path, value));
        EXPECT_EQ(value, written);
    }
    EXPECT_TRUE(WriteClientSetting("loginsource", L"QV", m_path));
}

// The parser reads text and an end tag after the root element, but prints the text back where
// it refuses it on the next read: writing would make every value unreadable.
TEST_F(ClientSettingsTest, FileThatWouldNotReadAgainIsReadButNotRewritten)
{
    const std::string contents[] = {"<settings><qvwindowid>12</qvwindowid></settings>x</a>",
                                    "<settings><qvwindowid>12</qvwindowid></settings>></settings>"};
    for (const std::string& content : contents) {
        ASSERT_TRUE(WriteFileBytes(m_path, content));
        EXPECT_FALSE(WriteClientSetting("loginsource", L"QV", m_path)) << content;
        EXPECT_EQ(ReadFileBytes(m_path), content);
        std::wstring value;
        EXPECT_TRUE(ReadClientSetting("qvwindowid", m_path, value)) << content;
        EXPECT_EQ(value, L"12");
    }
}

TEST_F(ClientSettingsTest, LockedFileIsNeitherReadNorRewritten)
{
    const std::string content = "<settings><qvwindowid>1</qvwindowid></settings>";
    ASSERT_TRUE(WriteFileBytes(m_path, content));
    {
        HANDLE lock = CreateFileW(m_path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(lock, INVALID_HANDLE_VALUE);
        std::wstring value;
        EXPECT_FALSE(ReadClientSetting("qvwindowid", m_path, value));
        EXPECT_FALSE(WriteClientSetting("qvwindowid", L"2", m_path));
        CloseHandle(lock);
    }
    EXPECT_EQ(ReadFileBytes(m_path), content);
}

// Wine run as root writes read-only files regardless, so a file another process holds open for
// reading only stands in for a file that cannot be saved.
TEST_F(ClientSettingsTest, FileThatCannotBeSavedIsReadButNotRewritten)
{
    const std::string content = "<settings><qvwindowid>1</qvwindowid></settings>";
    ASSERT_TRUE(WriteFileBytes(m_path, content));
    {
        HANDLE reader = CreateFileW(m_path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(reader, INVALID_HANDLE_VALUE);
        EXPECT_FALSE(WriteClientSetting("qvwindowid", L"2", m_path));
        std::wstring value;
        EXPECT_TRUE(ReadClientSetting("qvwindowid", m_path, value));
        EXPECT_EQ(value, L"1");
        CloseHandle(reader);
    }
    EXPECT_EQ(ReadFileBytes(m_path), content);
}

TEST_F(ClientSettingsTest, MissingFolderOrFolderInPlaceOfTheFileFails)
{
    EXPECT_FALSE(WriteClientSetting("qvwindowid", L"1", m_temp / L"missing\\setting.xml"));
    EXPECT_FALSE(wxlmtest::FileExists(m_temp / L"missing"));
    ASSERT_TRUE(CreateDirectoryW(m_path.c_str(), nullptr));
    EXPECT_FALSE(WriteClientSetting("qvwindowid", L"1", m_path));
    std::wstring value;
    EXPECT_FALSE(ReadClientSetting("qvwindowid", m_path, value));
    EXPECT_FALSE(ReadClientSetting("qvwindowid", m_temp / L"absent.xml", value));
}

TEST(ClientSettingPathTest, IsSettingXmlInTheClientFolderWhichItCreates)
{
    const bool existed = wxlmtest::FileExists(wxlmtest::ClientDir());
    EXPECT_EQ(GetClientSettingPath(), wxlmtest::ClientSettingsPath());
    const DWORD attributes = GetFileAttributesW(wxlmtest::ClientDir().c_str());
    EXPECT_NE(attributes, INVALID_FILE_ATTRIBUTES);
    EXPECT_TRUE(attributes & FILE_ATTRIBUTE_DIRECTORY);
    if (!existed)
        RemoveDirectoryW(wxlmtest::ClientDir().c_str());
}

} // namespace
