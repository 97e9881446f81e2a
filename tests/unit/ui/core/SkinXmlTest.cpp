#include "core/SkinXml.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using Tarvo::CSkinXml;
using Tarvo::CSkinXmlNode;

namespace {

std::vector<BYTE> Utf8(const std::string& text)
{
    return std::vector<BYTE>(text.begin(), text.end());
}

std::wstring AttributeByName(const CSkinXmlNode& node, LPCWSTR pstrName)
{
    WCHAR szValue[500] = {};
    return node.AttributeValue(pstrName, szValue) ? szValue : L"<none>";
}

std::vector<std::wstring> ChildNames(const CSkinXmlNode& node)
{
    std::vector<std::wstring> names;
    for (CSkinXmlNode child = node.FirstChild(); child.IsValid(); child = child.NextSibling()) {
        names.push_back(child.Name());
    }
    return names;
}

TEST(SkinXmlTest, EmptyChildWithoutBlankBeforeSlash)
{
    CSkinXml xml;
    ASSERT_TRUE(xml.LoadFromString(L"<Window size=\"960,620\"><Child/></Window>")) << xml.ErrorMessage();
    CSkinXmlNode root = xml.Root();
    EXPECT_STREQ(root.Name(), L"Window");
    EXPECT_EQ(root.AttributeCount(), 1);
    EXPECT_STREQ(root.AttributeName(0), L"size");
    EXPECT_STREQ(root.AttributeValue(0), L"960,620");
    EXPECT_TRUE(root.HasChildren());
    CSkinXmlNode child = root.FirstChild();
    EXPECT_STREQ(child.Name(), L"Child");
    EXPECT_STREQ(child.Value(), L"");
    EXPECT_EQ(child.AttributeCount(), 0);
    EXPECT_FALSE(child.HasChildren());
    EXPECT_FALSE(child.NextSibling().IsValid());
    EXPECT_STREQ(child.Parent().Name(), L"Window");
    EXPECT_FALSE(root.Parent().IsValid());
}

TEST(SkinXmlTest, ReadsTreeTextAndAttributesInDocumentOrder)
{
    CSkinXml xml;
    ASSERT_TRUE(xml.LoadFromString(L"<?xml version=\"1.0\" encoding=\"gbk\"?>\r\n"
                                   L"<!-- the main window -->\r\n"
                                   L"<Window a=\"1\"b = \"2\"\tc=\"\" a=\"dup\">\r\n"
                                   L"  <VerticalLayout>"
                                   L"<Label text=\"x &lt;y&gt; &quot;z&quot; &apos;w&apos;\" />"
                                   L"<Button/><Text>hello &amp; bye</Text >"
                                   L"</VerticalLayout>\r\n"
                                   L"  <!-- trailing --> <Other/>\r\n"
                                   L"</Window>\r\n"))
        << xml.ErrorMessage();
    CSkinXmlNode root = xml.Root();
    EXPECT_STREQ(root.Name(), L"Window");
    ASSERT_EQ(root.AttributeCount(), 4);
    const wchar_t* names[] = {L"a", L"b", L"c", L"a"};
    const wchar_t* values[] = {L"1", L"2", L"", L"dup"};
    for (int i = 0; i < 4; ++i) {
        EXPECT_STREQ(root.AttributeName(i), names[i]) << i;
        EXPECT_STREQ(root.AttributeValue(i), values[i]) << i;
    }
    EXPECT_EQ(AttributeByName(root, L"a"), L"1"); // duplicates stay; the first wins
    EXPECT_EQ(AttributeByName(root, L"A"), L"<none>");
    EXPECT_STREQ(root.AttributeName(4), L"");
    EXPECT_STREQ(root.AttributeValue(-1), L"");
    EXPECT_EQ(ChildNames(root), (std::vector<std::wstring>{L"VerticalLayout", L"Other"}));
    CSkinXmlNode layout = root.FirstChild();
    EXPECT_EQ(ChildNames(layout), (std::vector<std::wstring>{L"Label", L"Button", L"Text"}));
    EXPECT_EQ(AttributeByName(layout.FirstChild(), L"text"), L"x <y> \"z\" 'w'");
    EXPECT_STREQ(layout.FirstChild().NextSibling().NextSibling().Value(), L"hello & bye");
}

TEST(SkinXmlTest, EntityFollowedByNumericReference)
{
    CSkinXml xml;
    ASSERT_TRUE(xml.LoadFromString(L"<a v=\"&amp;&#38;x\" w=\"&unknown; & &amp\">&#x41;&amp;</a>"));
    EXPECT_EQ(AttributeByName(xml.Root(), L"v"), L"&&#38;x");
    EXPECT_EQ(AttributeByName(xml.Root(), L"w"), L"&unknown; & &amp");
    EXPECT_STREQ(xml.Root().Value(), L"&#x41;&");
}

TEST(SkinXmlTest, AttributesWithoutBlankBetween)
{
    CSkinXml xml;
    ASSERT_TRUE(xml.LoadFromString(L"<a first=\"1&amp;2\"second=\"2\"/>"));
    CSkinXmlNode root = xml.Root();
    ASSERT_EQ(root.AttributeCount(), 2);
    EXPECT_STREQ(root.AttributeValue(0), L"1&2");
    EXPECT_STREQ(root.AttributeName(1), L"second");
    EXPECT_STREQ(root.AttributeValue(1), L"2");
}

TEST(SkinXmlTest, RootMayLackItsEndTagOthersMayNot)
{
    struct Case {
        const wchar_t* xml;
        bool loads;
    };
    const Case cases[] = {
        {L"<Window><Child/>", true},     {L"<Window><Child/>\r\n  ", true}, {L"<Window>text", true},
        {L"<Window><Child>text", false}, {L"<Window><Child>", false},       {L"<Window><Child><Grand/>", false},
    };
    for (const Case& c : cases) {
        CSkinXml xml;
        EXPECT_EQ(xml.LoadFromString(c.xml), c.loads) << c.xml;
        EXPECT_EQ(xml.IsValid(), c.loads) << c.xml;
    }
    CSkinXml xml;
    ASSERT_TRUE(xml.LoadFromString(L"<Window>text  "));
    EXPECT_STREQ(xml.Root().Value(), L"text  ");
    EXPECT_FALSE(xml.LoadFromString(L"<Window><Child>text"));
    EXPECT_STREQ(xml.ErrorMessage(), L"Expected end-tag start");
}

TEST(SkinXmlTest, EndTagNameAndBlanks)
{
    CSkinXml xml;
    EXPECT_TRUE(xml.LoadFromString(L"<a><b></b \r\n></a >"));
    EXPECT_TRUE(xml.LoadFromString(L"<a></ a>"));
    EXPECT_FALSE(xml.LoadFromString(L"<a></ab>"));
    EXPECT_STREQ(xml.ErrorMessage(), L"Unmatched closing tag");
    EXPECT_STREQ(xml.ErrorLocation(), L">");
}

struct ErrorCase {
    const wchar_t* xml;
    const wchar_t* message;
    const wchar_t* location;
};

TEST(SkinXmlTest, ErrorsGiveMessageAndLocation)
{
    const ErrorCase cases[] = {
        {L"<a v='1'/>", L"Expected attribute value", L"1'/>"},
        {L"<a v=", L"Expected attribute value", L""},
        {L"<a><b/>text</a>", L"Expected start tag", L"text</a>"},
        {L"<a/>tail", L"Expected start tag", L"tail"},
        {L"text", L"Expected start tag", L"text"},
        {L"</a>", L"Expected start tag", L"</a>"},
        {L"", L"Expected start tag", L""},
        {L" \r\n<!-- nothing -->", L"Expected start tag", L""},
        {L"<a><b><c/>", L"Expected start tag", L""},
        {L"<a", L"Error parsing element name", L""},
        {L"<a b=\"1\"", L"Expected start-tag closing", L""},
        {L"<a / >", L"Expected start-tag closing", L"/ >"},
        {L"<a b=\"1\" c></a>", L"Error while parsing attributes", L"></a>"},
        {L"<a b=\"1\"?>", L"Error while parsing attributes", L"?>"},
        {L"<a b=\"1></a>", L"Error while parsing attribute string", L""},
        {L"<a><b>", L"Expected end-tag start", L""},
        {L"<a></b>", L"Unmatched closing tag", L"b>"},
        {L"<a></a", L"Unmatched closing tag", L""},
        {L"<a>\n<b></bb></a>", L"Unmatched closing tag", L"></a>"},
        {L"<a>x</a  x>", L"Unmatched closing tag", L">"},
        {L"<a><b>0123456789012345678901234567890123456789012345678901234567890123456789", L"Expected end-tag start",
         L""},
        {L"<a><b/>0123456789012345678901234567890123456789012345678901234567890123456789</a>", L"Expected start tag",
         L"0123456789012345678901234567890123456789012345678"},
    };
    for (const ErrorCase& c : cases) {
        CSkinXml xml;
        EXPECT_FALSE(xml.LoadFromString(c.xml)) << c.xml;
        EXPECT_STREQ(xml.ErrorMessage(), c.message) << c.xml;
        EXPECT_STREQ(xml.ErrorLocation(), c.location) << c.xml;
        EXPECT_FALSE(xml.IsValid()) << c.xml;
        EXPECT_FALSE(xml.Root().IsValid()) << c.xml;
    }
}

TEST(SkinXmlTest, FailedLoadKeepsNothingAndNextLoadClearsTheError)
{
    CSkinXml xml;
    ASSERT_TRUE(xml.LoadFromString(L"<first/>"));
    EXPECT_FALSE(xml.LoadFromString(L"<second"));
    EXPECT_FALSE(xml.IsValid());
    EXPECT_FALSE(xml.Root().IsValid());
    EXPECT_STREQ(xml.Root().Name(), L"");
    ASSERT_TRUE(xml.LoadFromString(L"<third/>"));
    EXPECT_STREQ(xml.ErrorMessage(), L"");
    EXPECT_STREQ(xml.ErrorLocation(), L"");
    EXPECT_STREQ(xml.Root().Name(), L"third");
    xml.Release();
    EXPECT_FALSE(xml.IsValid());
    EXPECT_FALSE(xml.LoadFromString(nullptr));
}

TEST(SkinXmlTest, InvalidNodeAnswersEmpty)
{
    CSkinXmlNode node;
    WCHAR szValue[500] = L"untouched";
    EXPECT_FALSE(node.IsValid());
    EXPECT_FALSE(node.FirstChild().IsValid());
    EXPECT_FALSE(node.NextSibling().IsValid());
    EXPECT_FALSE(node.Parent().IsValid());
    EXPECT_FALSE(node.HasChildren());
    EXPECT_STREQ(node.Name(), L"");
    EXPECT_STREQ(node.Value(), L"");
    EXPECT_EQ(node.AttributeCount(), 0);
    EXPECT_STREQ(node.AttributeName(0), L"");
    EXPECT_FALSE(node.AttributeValue(L"a", szValue));
    EXPECT_STREQ(szValue, L"untouched");
}

TEST(SkinXmlTest, TopLevelElementsAreChainedToTheRoot)
{
    CSkinXml xml;
    ASSERT_TRUE(xml.LoadFromString(L"<a/><b>x</b>\n<c/>"));
    EXPECT_STREQ(xml.Root().Name(), L"a");
    EXPECT_STREQ(xml.Root().NextSibling().Name(), L"b");
    EXPECT_STREQ(xml.Root().NextSibling().Value(), L"x");
    EXPECT_STREQ(xml.Root().NextSibling().NextSibling().Name(), L"c");
    EXPECT_FALSE(xml.Root().NextSibling().Parent().IsValid());
}

TEST(SkinXmlTest, NamesEndAtHyphenAndFullStop)
{
    // The character after the element name separates it from the attributes, whatever it is.
    for (const wchar_t* doc : {L"<ns:item_1.v=\"1\"/>", L"<ns:item_1-v=\"1\"></ns:item_1>"}) {
        CSkinXml xml;
        ASSERT_TRUE(xml.LoadFromString(doc)) << doc;
        EXPECT_STREQ(xml.Root().Name(), L"ns:item_1");
        EXPECT_EQ(xml.Root().AttributeCount(), 1);
        EXPECT_EQ(AttributeByName(xml.Root(), L"v"), L"1");
    }
    CSkinXml xml;
    EXPECT_FALSE(xml.LoadFromString(L"<a b.c=\"1\"/>"));
    EXPECT_STREQ(xml.ErrorMessage(), L"Error while parsing attributes");
    EXPECT_STREQ(xml.ErrorLocation(), L".c=\"1\"/>");
}

TEST(SkinXmlTest, WhitespaceCollapsesOnlyAfterASpace)
{
    struct Case {
        bool preserve;
        const wchar_t* text;
        const wchar_t* expected;
    };
    const Case cases[] = {
        {true, L"a  \t b", L"a  \t b"}, {false, L"a  \t b", L"a b"},      {false, L"a\t\t b", L"a\t\t b"},
        {false, L"a \r\n\r\n", L"a "},  {false, L"a &amp;  b", L"a & b"},
    };
    for (const Case& c : cases) {
        std::wstring doc = L"<r v=\"" + std::wstring(c.text) + L"\">" + c.text + L"</r>";
        CSkinXml xml(c.preserve);
        ASSERT_TRUE(xml.LoadFromString(doc.c_str())) << doc;
        EXPECT_STREQ(xml.Root().Value(), c.expected) << doc;
        EXPECT_EQ(AttributeByName(xml.Root(), L"v"), c.expected) << doc;
    }
}

TEST(SkinXmlTest, ShortenedTextBeforeChildEndsAtDecodedText)
{
    CSkinXml xml;
    ASSERT_TRUE(xml.LoadFromString(L"<a>x&amp;&lt;y<b v=\"&quot;&quot;\" w=\"2\"/></a>"));
    EXPECT_STREQ(xml.Root().Value(), L"x&<y");
    CSkinXmlNode b = xml.Root().FirstChild();
    EXPECT_EQ(b.AttributeCount(), 2);
    EXPECT_EQ(AttributeByName(b, L"v"), L"\"\"");
    EXPECT_EQ(AttributeByName(b, L"w"), L"2");
}

TEST(SkinXmlTest, ByteOrderMarkIsDroppedUtf16BytesFail)
{
    CSkinXml xml;
    std::vector<BYTE> withBom = Utf8("\xEF\xBB\xBF<a v=\"\xC3\xA4\xE4\xB8\xAD\"/>");
    ASSERT_TRUE(xml.LoadFromBytes(withBom.data(), static_cast<DWORD>(withBom.size()))) << xml.ErrorMessage();
    EXPECT_STREQ(xml.Root().Name(), L"a");
    EXPECT_EQ(AttributeByName(xml.Root(), L"v"), L"\u00E4\u4E2D");
    const BYTE utf16[] = {0xFF, 0xFE, '<', 0, 'a', 0, '/', 0, '>', 0};
    EXPECT_FALSE(xml.LoadFromBytes(utf16, sizeof(utf16)));
    EXPECT_FALSE(xml.LoadFromBytes(utf16 + 2, sizeof(utf16) - 2));
    EXPECT_STREQ(xml.ErrorMessage(), L"Error parsing element name");
    const BYTE bomOnly[] = {0xEF, 0xBB, 0xBF};
    EXPECT_FALSE(xml.LoadFromBytes(bomOnly, sizeof(bomOnly)));
    EXPECT_FALSE(xml.LoadFromBytes(nullptr, 10));
    std::vector<BYTE> plain = Utf8("<b/>");
    EXPECT_TRUE(xml.LoadFromBytes(plain.data(), static_cast<DWORD>(plain.size())));
}

TEST(SkinXmlTest, SeventyAttributesShowSixtyFour)
{
    std::wstring doc = L"<a";
    for (int i = 0; i < 70; ++i) {
        doc += L" n" + std::to_wstring(i) + L"=\"v" + std::to_wstring(i) + L"\"";
    }
    doc += L"><b/></a>";
    CSkinXml xml;
    ASSERT_TRUE(xml.LoadFromString(doc.c_str()));
    CSkinXmlNode root = xml.Root();
    EXPECT_EQ(root.AttributeCount(), 64);
    EXPECT_STREQ(root.AttributeName(63), L"n63");
    EXPECT_STREQ(root.AttributeName(64), L"");
    EXPECT_EQ(AttributeByName(root, L"n63"), L"v63");
    for (int i = 64; i < 70; ++i) {
        EXPECT_EQ(AttributeByName(root, (L"n" + std::to_wstring(i)).c_str()), L"<none>") << i;
    }
    EXPECT_STREQ(root.FirstChild().Name(), L"b");
    // The hidden ones are still parsed.
    doc.replace(doc.find(L"n69=\""), 5, L"n69 '");
    EXPECT_FALSE(xml.LoadFromString(doc.c_str()));
}

TEST(SkinXmlTest, LongValueIsCutAt499Characters)
{
    std::wstring value(600, L'v');
    value[498] = L'L';
    std::wstring doc = L"<a long=\"" + value + L"\"/>";
    CSkinXml xml;
    ASSERT_TRUE(xml.LoadFromString(doc.c_str()));
    WCHAR szValue[600];
    std::fill(std::begin(szValue), std::end(szValue), L'#');
    ASSERT_TRUE(xml.Root().AttributeValue(L"long", szValue));
    EXPECT_EQ(std::wstring(szValue), value.substr(0, 499));
    EXPECT_EQ(szValue[500], L'#');
    EXPECT_EQ(std::wstring(xml.Root().AttributeValue(0)), value);
    WCHAR szSmall[8];
    ASSERT_TRUE(xml.Root().AttributeValue(L"long", szSmall, 8));
    EXPECT_STREQ(szSmall, L"vvvvvvv");
}

TEST(SkinXmlTest, DeclarationAndCommentsBeforeRoot)
{
    CSkinXml xml;
    ASSERT_TRUE(xml.LoadFromString(L"<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<!-- one -->\n"
                                   L"<!-- two -->\n<Window><?pi x?><!--c--><Child/></Window>"));
    EXPECT_STREQ(xml.Root().Name(), L"Window");
    EXPECT_EQ(ChildNames(xml.Root()), std::vector<std::wstring>{L"Child"});
    // A comment ends at the first hyphen followed by '>'.
    EXPECT_FALSE(xml.LoadFromString(L"<!-- a -> b --><Window/>"));
    EXPECT_STREQ(xml.ErrorLocation(), L"b --><Window/>");
    // A comment that never ends swallows the rest.
    EXPECT_FALSE(xml.LoadFromString(L"<!-- open <Window/>"));
    EXPECT_STREQ(xml.ErrorMessage(), L"Expected start tag");
}

TEST(SkinXmlTest, TenThousandLevelsOfNesting)
{
    const int kDepth = 10000;
    std::wstring doc;
    for (int i = 0; i < kDepth; ++i) {
        doc += L"<e>";
    }
    std::wstring unclosed = doc;
    for (int i = 0; i < kDepth; ++i) {
        doc += L"</e>";
    }
    CSkinXml xml;
    ASSERT_TRUE(xml.LoadFromString(doc.c_str())) << xml.ErrorMessage();
    CSkinXmlNode node = xml.Root();
    int depth = 1;
    while (node.HasChildren()) {
        node = node.FirstChild();
        ++depth;
    }
    EXPECT_EQ(depth, kDepth);
    int up = 1;
    for (CSkinXmlNode parent = node.Parent(); parent.IsValid(); parent = parent.Parent()) {
        ++up;
    }
    EXPECT_EQ(up, kDepth);
    EXPECT_FALSE(xml.LoadFromString(unclosed.c_str()));
    EXPECT_STREQ(xml.ErrorMessage(), L"Expected end-tag start");
    unclosed.resize(unclosed.size() - 3);
    unclosed += L"</f>";
    EXPECT_FALSE(xml.LoadFromString(unclosed.c_str()));
    EXPECT_STREQ(xml.ErrorMessage(), L"Unmatched closing tag");
}

TEST(SkinXmlTest, ElementTableGrowsPastAMillion)
{
    const int kChildren = 1000001;
    std::wstring doc = L"<r>";
    doc.reserve(static_cast<size_t>(kChildren) * 4 + 8);
    for (int i = 0; i < kChildren; ++i) {
        doc += L"<b/>";
    }
    doc += L"<last/></r>";
    CSkinXml xml;
    ASSERT_TRUE(xml.LoadFromString(doc.c_str())) << xml.ErrorMessage();
    int count = 0;
    CSkinXmlNode last;
    for (CSkinXmlNode child = xml.Root().FirstChild(); child.IsValid(); child = child.NextSibling()) {
        ++count;
        last = child;
    }
    EXPECT_EQ(count, kChildren + 1);
    EXPECT_STREQ(last.Name(), L"last");
    EXPECT_STREQ(last.Parent().Name(), L"r");
}

} // namespace
