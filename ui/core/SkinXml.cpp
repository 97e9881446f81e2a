#include "core/SkinXml.h"

#include <climits>
#include <cstdlib>
#include <cwchar>
#include <cwctype>
#include <new>

namespace Tarvo {

namespace {

constexpr int32_t kInitialElements = 500;
constexpr int32_t kElementGrowth = 500;
constexpr LPCWSTR kOutOfMemory = L"Out of memory";

bool IsWhitespace(WCHAR ch)
{
    return ch >= 0x0001 && ch <= 0x0020;
}

// ASCII answered here: the C runtime's classification call is the parser's hottest spot.
bool IsNameChar(WCHAR ch)
{
    if (ch < 0x80) {
        return (ch >= L'a' && ch <= L'z') || (ch >= L'A' && ch <= L'Z') || (ch >= L'0' && ch <= L'9') || ch == L'_' ||
               ch == L':';
    }
    return iswalnum(ch) != 0;
}

template <typename Char> void SkipWhitespace(Char*& pstr)
{
    while (IsWhitespace(*pstr)) {
        ++pstr;
    }
}

void SkipName(LPWSTR& pstr)
{
    while (IsNameChar(*pstr)) {
        ++pstr;
    }
}

// Moves past the first occurrence of cFirst followed by '>', or to the end of the text.
void SkipPastMarker(LPWSTR& pstr, WCHAR cFirst)
{
    while (*pstr != L'\0' && !(pstr[0] == cFirst && pstr[1] == L'>')) {
        ++pstr;
    }
    if (*pstr != L'\0') {
        pstr += 2;
    }
}

struct Entity {
    LPCWSTR pstrText;
    size_t cchText;
    WCHAR ch;
};

const Entity kEntities[] = {
    {L"&amp;", 5, L'&'}, {L"&apos;", 6, L'\''}, {L"&lt;", 4, L'<'}, {L"&gt;", 4, L'>'}, {L"&quot;", 6, L'"'},
};

const Entity* MatchEntity(LPCWSTR pstr)
{
    for (const Entity& entity : kEntities) {
        if (wcsncmp(pstr, entity.pstrText, entity.cchText) == 0) {
            return &entity;
        }
    }
    return nullptr;
}

void CopyText(LPWSTR pstrDest, size_t cchDest, LPCWSTR pstrSource)
{
    size_t i = 0;
    for (; pstrSource != nullptr && i + 1 < cchDest && pstrSource[i] != L'\0'; ++i) {
        pstrDest[i] = pstrSource[i];
    }
    pstrDest[i] = L'\0';
}

// Position of the first terminator at or after pstr, or pstrEnd when there is none before it.
LPCWSTR FindTerminator(LPCWSTR pstr, LPCWSTR pstrEnd)
{
    while (pstr < pstrEnd && *pstr != L'\0') {
        ++pstr;
    }
    return pstr;
}

void SkipWhitespace(LPCWSTR& pstr, LPCWSTR pstrEnd)
{
    while (pstr < pstrEnd && IsWhitespace(*pstr)) {
        ++pstr;
    }
}

} // namespace

// ---------------------------------------------------------------------------------------------

void CSkinXml::FreeDeleter::operator()(void* p) const
{
    std::free(p);
}

CSkinXml::CSkinXml(bool bPreserveWhitespace) : m_bPreserveWhitespace(bPreserveWhitespace) {}

CSkinXml::~CSkinXml() = default;

void CSkinXml::Release()
{
    m_pstrXml.reset();
    m_pElements.reset();
    m_nElements = 0;
    m_nReservedElements = 0;
}

void CSkinXml::ClearError()
{
    m_szErrorMsg[0] = L'\0';
    m_szErrorXml[0] = L'\0';
}

bool CSkinXml::Fail(LPCWSTR pstrMessage, LPCWSTR pstrLocation)
{
    CopyText(m_szErrorMsg, sizeof(m_szErrorMsg) / sizeof(m_szErrorMsg[0]), pstrMessage);
    CopyText(m_szErrorXml, sizeof(m_szErrorXml) / sizeof(m_szErrorXml[0]), pstrLocation);
    Release();
    return false;
}

CSkinXmlNode CSkinXml::Root() const
{
    return IsValid() && m_nElements > 1 ? CSkinXmlNode(this, 1) : CSkinXmlNode();
}

bool CSkinXml::LoadFromString(LPCWSTR pstrXml)
{
    size_t cchXml = pstrXml != nullptr ? wcslen(pstrXml) : 0;
    std::unique_ptr<WCHAR[]> pstrCopy(new (std::nothrow) WCHAR[cchXml + 1]);
    if (pstrCopy) {
        wmemcpy(pstrCopy.get(), pstrXml != nullptr ? pstrXml : L"", cchXml + 1);
    }
    return LoadBuffer(std::move(pstrCopy));
}

bool CSkinXml::LoadFromBytes(const BYTE* pByte, DWORD dwSize)
{
    Release();
    if (pByte == nullptr) {
        dwSize = 0;
    }
    if (dwSize > 2 && pByte[0] == 0xEF && pByte[1] == 0xBB && pByte[2] == 0xBF) {
        pByte += 3;
        dwSize -= 3;
    }
    if (dwSize > INT_MAX / 2) {
        ClearError();
        return Fail(kOutOfMemory, nullptr);
    }
    LPCCH pstrBytes = reinterpret_cast<LPCCH>(pByte);
    int cchXml = dwSize > 0 ? ::MultiByteToWideChar(CP_UTF8, 0, pstrBytes, static_cast<int>(dwSize), nullptr, 0) : 0;
    std::unique_ptr<WCHAR[]> pstrXml(new (std::nothrow) WCHAR[static_cast<size_t>(cchXml) + 1]);
    if (pstrXml) {
        if (cchXml > 0) {
            ::MultiByteToWideChar(CP_UTF8, 0, pstrBytes, static_cast<int>(dwSize), pstrXml.get(), cchXml);
        }
        pstrXml[cchXml] = L'\0';
    }
    return LoadBuffer(std::move(pstrXml));
}

bool CSkinXml::LoadBuffer(std::unique_ptr<WCHAR[]> pstrXml)
{
    Release();
    ClearError();
    if (!pstrXml) {
        return Fail(kOutOfMemory, nullptr);
    }
    m_pstrXml = std::move(pstrXml);
    m_pElements.reset(static_cast<XmlElement*>(std::malloc(kInitialElements * sizeof(XmlElement))));
    if (!m_pElements) {
        return Fail(kOutOfMemory, nullptr);
    }
    m_nReservedElements = kInitialElements;
    m_nElements = 1;
    m_pElements[0] = XmlElement{};
    return Parse();
}

int32_t CSkinXml::AddElement(int32_t iStart, int32_t iParent)
{
    if (m_nElements == m_nReservedElements) {
        constexpr int32_t kMaxElements = static_cast<int32_t>(INT_MAX / sizeof(XmlElement));
        if (m_nReservedElements > (kMaxElements - kElementGrowth) / 3 * 2) {
            return 0;
        }
        int32_t nReserve = m_nReservedElements + m_nReservedElements / 2 + kElementGrowth;
        void* pNew = std::realloc(m_pElements.get(), static_cast<size_t>(nReserve) * sizeof(XmlElement));
        if (pNew == nullptr) {
            return 0;
        }
        (void)m_pElements.release(); // realloc took it over
        m_pElements.reset(static_cast<XmlElement*>(pNew));
        m_nReservedElements = nReserve;
    }
    m_pElements[m_nElements] = XmlElement{iStart, 0, 0, iParent, 0};
    return m_nElements++;
}

// The content of every element is parsed in one loop; the element table's parent links are
// the stack, so nesting depth costs no native stack.
bool CSkinXml::Parse()
{
    LPWSTR pstr = m_pstrXml.get();
    int32_t iParent = 0;
    int32_t iPrevious = 0;
    SkipWhitespace(pstr);
    for (;;) {
        if (*pstr == L'\0' && iParent <= 1) {
            // A document of blanks, comments and instructions only has no root.
            return m_nElements > 1 || Fail(L"Expected start tag", pstr);
        }
        SkipWhitespace(pstr);
        if (*pstr != L'<') {
            return Fail(L"Expected start tag", pstr);
        }
        if (pstr[1] == L'/') {
            if (iParent == 0) {
                return Fail(L"Expected start tag", pstr);
            }
            if (!ParseEndTag(pstr, iParent)) {
                return false;
            }
            iPrevious = iParent;
            iParent = m_pElements[iParent].iParent;
            continue;
        }
        *pstr++ = L'\0';
        SkipWhitespace(pstr);
        if (*pstr == L'!' || *pstr == L'?') {
            SkipPastMarker(pstr, *pstr == L'!' ? L'-' : L'?');
            SkipWhitespace(pstr);
            continue;
        }
        if (!ParseElement(pstr, iParent, iPrevious)) {
            return false;
        }
    }
}

// On return either the element is complete (iPrevious is it) or its children follow (iParent
// is it).
bool CSkinXml::ParseElement(LPWSTR& pstr, int32_t& iParent, int32_t& iPrevious)
{
    int32_t iElement = AddElement(Offset(pstr), iParent);
    if (iElement == 0) {
        return Fail(kOutOfMemory, pstr);
    }
    if (iPrevious != 0) {
        m_pElements[iPrevious].iNext = iElement;
    } else if (iParent != 0) {
        m_pElements[iParent].iChild = iElement;
    }
    SkipName(pstr);
    LPWSTR pstrNameEnd = pstr;
    if (*pstr == L'\0') {
        return Fail(L"Error parsing element name", pstr);
    }
    if (!ParseAttributes(pstr)) {
        return false;
    }
    SkipWhitespace(pstr);
    if (pstr[0] == L'/' && pstr[1] == L'>') {
        m_pElements[iElement].iData = Offset(pstr);
        *pstr = L'\0';
        *pstrNameEnd = L'\0';
        pstr += 2;
        SkipWhitespace(pstr);
        iPrevious = iElement;
        return true;
    }
    if (*pstr != L'>') {
        return Fail(L"Expected start-tag closing", pstr);
    }
    m_pElements[iElement].iData = Offset(++pstr);
    *pstrNameEnd = L'\0';

    LPWSTR pstrWrite = nullptr;
    pstr = ParseData(pstr, L'<', pstrWrite);
    // The '<' itself becomes a terminator later, in the child's start tag or in the end tag.
    if (pstrWrite < pstr) {
        *pstrWrite = L'\0';
    }
    if (*pstr == L'\0') {
        // Only a top-level element may lack its end tag.
        iPrevious = iElement;
        return iParent == 0 || Fail(L"Expected end-tag start", pstr);
    }
    if (pstr[1] != L'/') {
        iParent = iElement;
        iPrevious = 0;
        return true;
    }
    if (!ParseEndTag(pstr, iElement)) {
        return false;
    }
    iPrevious = iElement;
    return true;
}

bool CSkinXml::ParseAttributes(LPWSTR& pstr)
{
    // "<name/>" is empty like "<name />": the slash is no separator.
    if (*pstr == L'>' || (pstr[0] == L'/' && pstr[1] == L'>')) {
        return true;
    }
    *pstr++ = L'\0';
    SkipWhitespace(pstr);
    while (*pstr != L'\0' && *pstr != L'>' && *pstr != L'/') {
        SkipName(pstr);
        LPWSTR pstrNameEnd = pstr;
        SkipWhitespace(pstr);
        if (*pstr != L'=') {
            return Fail(L"Error while parsing attributes", pstr);
        }
        *pstr++ = L' ';
        *pstrNameEnd = L'\0';
        SkipWhitespace(pstr);
        if (*pstr != L'"') {
            return Fail(L"Expected attribute value", *pstr != L'\0' ? pstr + 1 : pstr);
        }
        LPWSTR pstrWrite = nullptr;
        pstr = ParseData(pstr + 1, L'"', pstrWrite);
        if (*pstr == L'\0') {
            return Fail(L"Error while parsing attribute string", pstr);
        }
        *pstrWrite = L'\0';
        if (pstrWrite != pstr) {
            *pstr = L' ';
        }
        ++pstr;
        SkipWhitespace(pstr);
    }
    return true;
}

// pstr is at "</" of iElement's end tag, whose name is terminated already.
bool CSkinXml::ParseEndTag(LPWSTR& pstr, int32_t iElement)
{
    *pstr = L'\0';
    pstr += 2;
    SkipWhitespace(pstr);
    LPCWSTR pstrName = m_pstrXml.get() + m_pElements[iElement].iStart;
    size_t cchName = wcslen(pstrName);
    if (wcsncmp(pstr, pstrName, cchName) != 0) {
        return Fail(L"Unmatched closing tag", pstr);
    }
    pstr += cchName;
    SkipWhitespace(pstr);
    if (*pstr != L'>') {
        return Fail(L"Unmatched closing tag", *pstr != L'\0' ? pstr + 1 : pstr);
    }
    ++pstr;
    SkipWhitespace(pstr);
    return true;
}

// Decodes text or an attribute value in place up to cEnd or the end of the text and returns
// that position; pstrWrite receives the end of the decoded text. Whatever decoding freed
// between the two becomes blanks, so the buffer holds no stray characters.
LPWSTR CSkinXml::ParseData(LPWSTR pstr, WCHAR cEnd, LPWSTR& pstrWrite) const
{
    LPWSTR pstrDest = pstr;
    while (*pstr != L'\0' && *pstr != cEnd) {
        if (*pstr == L'&') {
            const Entity* pEntity = MatchEntity(pstr);
            *pstrDest++ = pEntity != nullptr ? pEntity->ch : L'&';
            pstr += pEntity != nullptr ? pEntity->cchText : 1;
        } else if (*pstr == L' ') {
            *pstrDest++ = *pstr++;
            if (!m_bPreserveWhitespace) {
                SkipWhitespace(pstr);
            }
        } else {
            *pstrDest++ = *pstr++;
        }
    }
    for (LPWSTR pstrFill = pstrDest + 1; pstrFill < pstr; ++pstrFill) {
        *pstrFill = L' ';
    }
    pstrWrite = pstrDest;
    return pstr;
}

// ---------------------------------------------------------------------------------------------

bool CSkinXmlNode::IsValid() const
{
    return m_pDocument != nullptr && m_pDocument->IsValid() && m_nElement > 0 && m_nElement < m_pDocument->m_nElements;
}

CSkinXmlNode CSkinXmlNode::Linked(int nElement) const
{
    return nElement > 0 ? CSkinXmlNode(m_pDocument, nElement) : CSkinXmlNode();
}

CSkinXmlNode CSkinXmlNode::FirstChild() const
{
    return IsValid() ? Linked(m_pDocument->m_pElements[m_nElement].iChild) : CSkinXmlNode();
}

CSkinXmlNode CSkinXmlNode::NextSibling() const
{
    return IsValid() ? Linked(m_pDocument->m_pElements[m_nElement].iNext) : CSkinXmlNode();
}

CSkinXmlNode CSkinXmlNode::Parent() const
{
    return IsValid() ? Linked(m_pDocument->m_pElements[m_nElement].iParent) : CSkinXmlNode();
}

bool CSkinXmlNode::HasChildren() const
{
    return IsValid() && m_pDocument->m_pElements[m_nElement].iChild != 0;
}

LPCWSTR CSkinXmlNode::Name() const
{
    return IsValid() ? m_pDocument->m_pstrXml.get() + m_pDocument->m_pElements[m_nElement].iStart : L"";
}

LPCWSTR CSkinXmlNode::Value() const
{
    return IsValid() ? m_pDocument->m_pstrXml.get() + m_pDocument->m_pElements[m_nElement].iData : L"";
}

// Walks the parsed start tag: every name and value ends in a terminator the parser wrote, and
// nothing belongs to the start tag at or after the element's text.
void CSkinXmlNode::MapAttributes() const
{
    if (m_nAttributes != 0 || !IsValid()) {
        return;
    }
    LPCWSTR pstrXml = m_pDocument->m_pstrXml.get();
    const CSkinXml::XmlElement& element = m_pDocument->m_pElements[m_nElement];
    LPCWSTR pstrEnd = pstrXml + element.iData;
    LPCWSTR pstr = pstrXml + element.iStart;
    pstr += wcslen(pstr) + 1;
    while (pstr < pstrEnd && m_nAttributes < MAX_ATTRIBUTES) {
        SkipWhitespace(pstr, pstrEnd);
        if (pstr >= pstrEnd || *pstr == L'>') {
            break;
        }
        LPCWSTR pstrName = pstr;
        pstr = FindTerminator(pstr, pstrEnd) + 1;
        SkipWhitespace(pstr, pstrEnd);
        if (pstr >= pstrEnd || *pstr != L'"') {
            break;
        }
        LPCWSTR pstrValue = ++pstr;
        pstr = FindTerminator(pstr, pstrEnd);
        if (pstr >= pstrEnd) {
            break;
        }
        m_aAttributes[m_nAttributes++] =
            Attribute{static_cast<int32_t>(pstrName - pstrXml), static_cast<int32_t>(pstrValue - pstrXml)};
        ++pstr;
    }
}

int CSkinXmlNode::AttributeCount() const
{
    MapAttributes();
    return m_nAttributes;
}

LPCWSTR CSkinXmlNode::AttributeName(int nIndex) const
{
    MapAttributes();
    if (nIndex < 0 || nIndex >= m_nAttributes) {
        return L"";
    }
    return m_pDocument->m_pstrXml.get() + m_aAttributes[nIndex].nameOffset;
}

LPCWSTR CSkinXmlNode::AttributeValue(int nIndex) const
{
    MapAttributes();
    if (nIndex < 0 || nIndex >= m_nAttributes) {
        return L"";
    }
    return m_pDocument->m_pstrXml.get() + m_aAttributes[nIndex].valueOffset;
}

bool CSkinXmlNode::AttributeValue(LPCWSTR pstrName, LPWSTR pstrDest, int cchDest) const
{
    MapAttributes();
    if (pstrName == nullptr || pstrDest == nullptr || cchDest <= 0) {
        return false;
    }
    for (int i = 0; i < m_nAttributes; ++i) {
        if (wcscmp(AttributeName(i), pstrName) == 0) {
            int cchCopy = cchDest - 1 < MAX_VALUE_LENGTH ? cchDest - 1 : MAX_VALUE_LENGTH;
            CopyText(pstrDest, static_cast<size_t>(cchCopy) + 1, AttributeValue(i));
            return true;
        }
    }
    return false;
}

} // namespace Tarvo
