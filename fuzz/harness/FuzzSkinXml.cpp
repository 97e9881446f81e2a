// Skin documents: the markup parser from bytes (as skin files are read) and from wide text.
#include "FuzzText.h"
#include "core/SkinXml.h"

#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

void Touch(LPCWSTR text)
{
    if (!text) {
        std::fprintf(stderr, "null text from a valid node\n");
        std::abort();
    }
    volatile size_t length = std::wcslen(text);
    (void)length;
}

// Walks every node without recursion: the document may nest as deep as the parser lets it.
void Walk(const Tarvo::CSkinXml& xml)
{
    std::vector<Tarvo::CSkinXmlNode> pending;
    if (xml.Root().IsValid())
        pending.push_back(xml.Root());
    while (!pending.empty()) {
        const Tarvo::CSkinXmlNode node = pending.back();
        pending.pop_back();
        Touch(node.Name());
        Touch(node.Value());
        const int count = node.AttributeCount();
        WCHAR small[4];
        WCHAR full[Tarvo::CSkinXmlNode::MAX_VALUE_LENGTH + 1];
        for (int i = 0; i < count; ++i) {
            Touch(node.AttributeName(i));
            Touch(node.AttributeValue(i));
            node.AttributeValue(node.AttributeName(i), small, 4);
            node.AttributeValue(node.AttributeName(i), full);
        }
        node.AttributeValue(L"name", full);
        node.Parent().IsValid();
        if (node.NextSibling().IsValid())
            pending.push_back(node.NextSibling());
        if (node.HasChildren())
            pending.push_back(node.FirstChild());
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    {
        Tarvo::CSkinXml xml;
        if (xml.LoadFromBytes(data, static_cast<DWORD>(size)))
            Walk(xml);
        else
            Touch(xml.ErrorMessage());
    }
    {
        Tarvo::CSkinXml xml(false);
        if (xml.LoadFromString(FuzzWideText(data, size).c_str()))
            Walk(xml);
    }
    return 0;
}
