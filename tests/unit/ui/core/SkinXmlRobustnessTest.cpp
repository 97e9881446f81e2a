#include "core/SkinXml.h"

#include "TestFiles.h"
#include "TestPaths.h"

#include <gtest/gtest.h>

#include <cstring>
#include <cwchar>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <vector>

using Tarvo::CSkinXml;
using Tarvo::CSkinXmlNode;

namespace {

const char kSkin[] =
    "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"utf-8\" standalone=\"yes\" ?>\r\n"
    "<!-- main window of the launcher -->\r\n"
    "<Window size=\"960,620\" caption=\"0,0,0,40\" roundcorner=\"4,4\" mininfo=\"960,620\">\r\n"
    "  <Font id=\"0\" name=\"Microsoft YaHei\" size=\"12\" bold=\"false\" default=\"true\" />\r\n"
    "  <Font id=\"1\" name=\"\xE5\xBE\xAE\xE8\xBD\xAF\xE9\x9B\x85\xE9\xBB\x91\" size=\"14\" bold=\"true\"/>\r\n"
    "  <Default name=\"Button\" value=\"textcolor=&quot;#FF333333&quot; font=&quot;0&quot;\" />\r\n"
    "  <VerticalLayout bkcolor=\"#FF1E1E1E\" inset=\"1,1,1,1\">\r\n"
    "    <HorizontalLayout height=\"40\" bkimage=\"file='title.png' corner='4,4,4,4'\">\r\n"
    "      <Label text=\"Orvendale &amp; friends &lt;beta&gt;\" textcolor=\"#FFFFFFFF\"/>\r\n"
    "      <Control />\r\n"
    "      <Button name=\"btnMin\" width=\"30\" normalimage=\"min.png\" hotimage=\"min_hot.png\"/>\r\n"
    "      <Button name=\"btnClose\" width=\"30\" normalimage=\"close.png\" tooltip=\"Close &apos;now&apos;\"/>\r\n"
    "    </HorizontalLayout>\r\n"
    "    <TabLayout name=\"pages\" selectedid=\"0\">\r\n"
    "      <IeBrowser name=\"browser\" homepage=\"about:blank\" />\r\n"
    "      <VerticalLayout name=\"download\">\r\n"
    "        <Progress name=\"progress\" min=\"0\" max=\"100\" value=\"0\" hor=\"true\"/>\r\n"
    "        <Text name=\"tip\" showhtml=\"true\">Downloading  \t files &#8230; please wait</Text>\r\n"
    "        <?builder hint?>\r\n"
    "      </VerticalLayout>\r\n"
    "    </TabLayout>\r\n"
    "  </VerticalLayout>\r\n"
    "</Window>\r\n";

const std::set<std::wstring>& KnownMessages()
{
    static const std::set<std::wstring> messages = {
        L"Expected start tag",         L"Error parsing element name",
        L"Expected start-tag closing", L"Expected end-tag start",
        L"Unmatched closing tag",      L"Error while parsing attributes",
        L"Expected attribute value",   L"Error while parsing attribute string",
    };
    return messages;
}

// The bytes end exactly at a page that cannot be read, so reading one byte too many faults.
class GuardedBytes {
public:
    explicit GuardedBytes(const std::string& bytes)
    {
        SIZE_T cbPages = (bytes.size() / 4096 + 2) * 4096;
        m_pBase = static_cast<BYTE*>(::VirtualAlloc(nullptr, cbPages, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
        DWORD dwOld = 0;
        if (m_pBase != nullptr && ::VirtualProtect(m_pBase + cbPages - 4096, 4096, PAGE_NOACCESS, &dwOld)) {
            m_pData = m_pBase + cbPages - 4096 - bytes.size();
            memcpy(m_pData, bytes.data(), bytes.size());
        }
        m_cbData = static_cast<DWORD>(bytes.size());
    }
    ~GuardedBytes()
    {
        if (m_pBase != nullptr) {
            ::VirtualFree(m_pBase, 0, MEM_RELEASE);
        }
    }
    GuardedBytes(const GuardedBytes&) = delete;
    GuardedBytes& operator=(const GuardedBytes&) = delete;

    const BYTE* Data() const { return m_pData; }
    DWORD Size() const { return m_cbData; }

private:
    BYTE* m_pBase = nullptr;
    BYTE* m_pData = nullptr;
    DWORD m_cbData = 0;
};

// Walks the whole tree and every attribute; returns what is wrong, or "" when all is sound.
std::string CheckTree(const CSkinXml& xml, size_t cbInput, size_t nMaxElements)
{
    const size_t cchMax = cbInput + 1;
    size_t nElements = 0;
    CSkinXmlNode node = xml.Root();
    if (!node.IsValid()) {
        return "loaded without a root";
    }
    while (node.IsValid()) {
        if (++nElements > nMaxElements) {
            return "more elements than start tags";
        }
        if (wcsnlen(node.Name(), cchMax) >= cchMax || wcsnlen(node.Value(), cchMax) >= cchMax) {
            return "name or text runs past the document";
        }
        int nAttributes = node.AttributeCount();
        if (nAttributes < 0 || nAttributes > CSkinXmlNode::MAX_ATTRIBUTES) {
            return "attribute count out of range";
        }
        for (int i = 0; i < nAttributes; ++i) {
            WCHAR szValue[500] = {};
            if (wcsnlen(node.AttributeName(i), cchMax) >= cchMax || wcsnlen(node.AttributeValue(i), cchMax) >= cchMax) {
                return "attribute runs past the document";
            }
            if (!node.AttributeValue(node.AttributeName(i), szValue) || szValue[499] != L'\0') {
                return "attribute not found by its own name";
            }
        }
        CSkinXmlNode child = node.FirstChild();
        if (child.IsValid()) {
            if (child.Parent().Name() != node.Name()) {
                return "child does not lead back to its parent";
            }
            node = child;
            continue;
        }
        while (node.IsValid() && !node.NextSibling().IsValid()) {
            node = node.Parent();
        }
        if (node.IsValid()) {
            node = node.NextSibling();
        }
    }
    return "";
}

// The outcome of one load: "" when it loaded soundly, else the reason it did not.
std::string Outcome(const std::string& bytes, bool bPreserveWhitespace = true)
{
    GuardedBytes guarded(bytes);
    if (guarded.Data() == nullptr && !bytes.empty()) {
        return "no guarded memory";
    }
    CSkinXml xml(bPreserveWhitespace);
    size_t nStartTags = static_cast<size_t>(std::count(bytes.begin(), bytes.end(), '<'));
    if (xml.LoadFromBytes(guarded.Data(), guarded.Size())) {
        std::string problem = CheckTree(xml, bytes.size(), nStartTags);
        return problem.empty() ? "" : "loaded, but " + problem;
    }
    if (xml.IsValid() || xml.Root().IsValid()) {
        return "failed, but still valid";
    }
    if (wcslen(xml.ErrorLocation()) > 49) {
        return "error location too long";
    }
    if (KnownMessages().count(xml.ErrorMessage()) == 0) {
        return "unknown message " + wxlmtest::Narrow(xml.ErrorMessage());
    }
    return wxlmtest::Narrow(xml.ErrorMessage());
}

bool IsSoundOutcome(const std::string& outcome)
{
    return outcome.empty() || KnownMessages().count(wxlmtest::Widen(outcome)) != 0;
}

std::string Hex(const std::string& bytes)
{
    std::ostringstream out;
    for (unsigned char c : bytes) {
        if (c >= 0x20 && c < 0x7F && c != '\\') {
            out << c;
        } else {
            out << "\\x" << std::hex << static_cast<int>(c) << std::dec;
        }
    }
    return out.str();
}

TEST(SkinXmlRobustnessTest, SampleSkinLoads)
{
    EXPECT_EQ(Outcome(kSkin), "");
    EXPECT_EQ(Outcome(kSkin, false), "");
}

TEST(SkinXmlRobustnessTest, DocumentCutAnywhere)
{
    const std::string skin(kSkin);
    const size_t cbRootStart = skin.find("<Window");
    const size_t cbLayoutStart = skin.find("<VerticalLayout");
    const size_t cbLayoutEnd = skin.rfind("</VerticalLayout>") + strlen("</VerticalLayout>");
    const size_t cbRootEnd = skin.rfind("</Window>");
    for (size_t cb = 0; cb <= skin.size(); ++cb) {
        std::string outcome = Outcome(skin.substr(0, cb));
        ASSERT_TRUE(IsSoundOutcome(outcome)) << "cut at " << cb << ": " << outcome;
        // Only the root may lack its end tag: a cut inside a child of the root always fails.
        if (cb < cbRootStart || (cb > cbLayoutStart && cb < cbLayoutEnd) ||
            (cb > cbRootEnd && cb < cbRootEnd + strlen("</Window>"))) {
            EXPECT_NE(outcome, "") << "cut at " << cb;
        } else if (cb >= cbLayoutEnd) {
            EXPECT_EQ(outcome, "") << "cut at " << cb;
        }
    }
}

// Thousands of small corruptions of a valid skin, the same ones on every run.
TEST(SkinXmlRobustnessTest, RandomMutationsGiveAResultNeverACrash)
{
    const std::string skin(kSkin);
    const char kInteresting[] = "<>/=\"'&;!?- \t\r\n\0\xEF\xBB\xBF\xC3\xED\xA0\x80";
    std::mt19937 random(0x5EED2026u);
    std::set<std::string> outcomes;
    for (int round = 0; round < 6000; ++round) {
        std::string doc = skin;
        int nEdits = 1 + static_cast<int>(random() % 4);
        for (int edit = 0; edit < nEdits && !doc.empty(); ++edit) {
            size_t pos = random() % doc.size();
            char c = (random() % 2) != 0 ? kInteresting[random() % (sizeof(kInteresting) - 1)]
                                         : static_cast<char>(random() % 256);
            switch (random() % 5) {
            case 0:
                doc[pos] = c;
                break;
            case 1:
                doc.insert(doc.begin() + static_cast<std::ptrdiff_t>(pos), c);
                break;
            case 2:
                doc.erase(pos, 1 + random() % 8);
                break;
            case 3:
                doc.insert(pos, doc.substr(random() % doc.size(), random() % 200));
                break;
            default:
                doc.resize(pos);
                break;
            }
        }
        std::string outcome = Outcome(doc, round % 2 == 0);
        ASSERT_TRUE(IsSoundOutcome(outcome)) << "round " << round << ": " << outcome << "\n" << Hex(doc);
        outcomes.insert(outcome);
    }
    // The corruptions reach every corner: success and each of the parser's messages.
    EXPECT_EQ(outcomes.size(), KnownMessages().size() + 1);
}

// Documents that once were hard to get right; expected.txt names each file's outcome.
TEST(SkinXmlRobustnessTest, CorpusOfNastyDocuments)
{
    const std::wstring dir = wxlmtest::SourceDir() + L"\\tests\\unit\\ui\\core\\corpus\\xml\\";
    std::optional<std::string> expected = wxlmtest::ReadFileBytes(dir + L"expected.txt");
    ASSERT_TRUE(expected.has_value());
    std::istringstream lines(*expected);
    int nFiles = 0;
    for (std::string line; std::getline(lines, line);) {
        if (line.empty() || line[0] == '#') {
            continue;
        }
        size_t bar = line.find('|');
        ASSERT_NE(bar, std::string::npos) << line;
        std::string name = line.substr(0, bar);
        std::string result = line.substr(bar + 1);
        std::optional<std::string> doc = wxlmtest::ReadFileBytes(dir + wxlmtest::Widen(name));
        ASSERT_TRUE(doc.has_value()) << name;
        EXPECT_EQ(Outcome(*doc), result == "OK" ? "" : result) << name;
        ++nFiles;
    }
    EXPECT_GT(nFiles, 0);
}

} // namespace
