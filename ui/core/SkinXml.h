#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>

namespace Tarvo {

class CSkinXml;

// Handle to one element of a parsed CSkinXml. Copied freely; valid while its document lives and
// is not reloaded. The attribute list is mapped on first use and kept inside the handle.
class CSkinXmlNode {
public:
    enum { MAX_ATTRIBUTES = 64, MAX_VALUE_LENGTH = 499 };

    CSkinXmlNode() = default;

    bool IsValid() const;
    CSkinXmlNode FirstChild() const;
    CSkinXmlNode NextSibling() const;
    CSkinXmlNode Parent() const;
    bool HasChildren() const;

    // Never null; "" for an invalid node.
    LPCWSTR Name() const;
    LPCWSTR Value() const;

    int AttributeCount() const;
    LPCWSTR AttributeName(int nIndex) const;
    LPCWSTR AttributeValue(int nIndex) const;
    // Copies at most MAX_VALUE_LENGTH characters (and never more than cchDest - 1) of the first
    // attribute called pstrName, terminated.
    bool AttributeValue(LPCWSTR pstrName, LPWSTR pstrDest, int cchDest = MAX_VALUE_LENGTH + 1) const;

private:
    friend class CSkinXml;
    CSkinXmlNode(const CSkinXml* pDocument, int nElement) : m_pDocument(pDocument), m_nElement(nElement) {}

    CSkinXmlNode Linked(int nElement) const;
    void MapAttributes() const;

    struct Attribute {
        int32_t nameOffset;
        int32_t valueOffset;
    };

    const CSkinXml* m_pDocument = nullptr;
    int32_t m_nElement = 0;
    mutable int32_t m_nAttributes = 0;
    mutable Attribute m_aAttributes[MAX_ATTRIBUTES] = {};
};

// A skin document: UTF-16 text parsed in place into one flat element table. A non-validating
// parser for the XML subset skins use; errors keep their message and where they occurred.
class CSkinXml {
public:
    explicit CSkinXml(bool bPreserveWhitespace = true);
    ~CSkinXml();
    CSkinXml(const CSkinXml&) = delete;
    CSkinXml& operator=(const CSkinXml&) = delete;

    bool LoadFromString(LPCWSTR pstrXml);
    // UTF-8, with or without a byte order mark; the declared encoding is ignored.
    bool LoadFromBytes(const BYTE* pByte, DWORD dwSize);
    // Reads a skin document from the resource folder or zip; lives with the skin resources.
    bool LoadFromFile(LPCWSTR pstrFilename);
    void Release();

    bool IsValid() const { return m_pElements != nullptr; }
    CSkinXmlNode Root() const;
    LPCWSTR ErrorMessage() const { return m_szErrorMsg; }
    LPCWSTR ErrorLocation() const { return m_szErrorXml; }

    void SetPreserveWhitespace(bool bPreserve) { m_bPreserveWhitespace = bPreserve; }
    bool IsPreserveWhitespace() const { return m_bPreserveWhitespace; }

private:
    friend class CSkinXmlNode;

    struct XmlElement {
        int32_t iStart;  // element name
        int32_t iChild;  // first child, 0 = none
        int32_t iNext;   // next sibling, 0 = none
        int32_t iParent; // 0 = top level
        int32_t iData;   // element text
    };
    struct FreeDeleter {
        void operator()(void* p) const;
    };

    bool Parse();
    bool ParseElement(LPWSTR& pstr, int32_t& iParent, int32_t& iPrevious);
    bool ParseAttributes(LPWSTR& pstr);
    bool ParseEndTag(LPWSTR& pstr, int32_t iElement);
    LPWSTR ParseData(LPWSTR pstr, WCHAR cEnd, LPWSTR& pstrWrite) const;
    int32_t AddElement(int32_t iStart, int32_t iParent);
    bool Fail(LPCWSTR pstrMessage, LPCWSTR pstrLocation);
    bool LoadBuffer(std::unique_ptr<WCHAR[]> pstrXml);
    void ClearError();
    int32_t Offset(LPCWSTR pstr) const { return static_cast<int32_t>(pstr - m_pstrXml.get()); }

    std::unique_ptr<WCHAR[]> m_pstrXml;
    std::unique_ptr<XmlElement[], FreeDeleter> m_pElements;
    int32_t m_nElements = 0;
    int32_t m_nReservedElements = 0;
    WCHAR m_szErrorMsg[100] = {};
    WCHAR m_szErrorXml[50] = {};
    bool m_bPreserveWhitespace;
};

} // namespace Tarvo
