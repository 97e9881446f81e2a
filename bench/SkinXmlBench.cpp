// CSkinXml against TinyXML-2 on the same few megabytes of skin-like UTF-8, in one run.
#include "core/SkinXml.h"

#include <tinyxml2.h>

#include <windows.h>

#include <cstdio>
#include <functional>
#include <string>

namespace {

// Windows of nested layouts full of controls with the attributes skins carry.
std::string MakeSkinDocument(size_t cbTarget)
{
    std::string doc = "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n<!-- generated -->\r\n<Skins>\r\n";
    for (int nWindow = 0; doc.size() < cbTarget; ++nWindow) {
        doc += "<Window size=\"960,620\" caption=\"0,0,0,40\" roundcorner=\"4,4\" name=\"w" + std::to_string(nWindow) +
               "\">\r\n  <Font id=\"0\" name=\"\xE5\xBE\xAE\xE8\xBD\xAF\xE9\x9B\x85\xE9\xBB\x91\" size=\"12\"/>\r\n";
        for (int nLayout = 0; nLayout < 20; ++nLayout) {
            doc += "  <VerticalLayout bkcolor=\"#FF1E1E1E\" inset=\"1,1,1,1\" childpadding=\"4\">\r\n"
                   "    <HorizontalLayout height=\"40\" bkimage=\"file='title.png' corner='4,4,4,4'\">\r\n";
            for (int nControl = 0; nControl < 10; ++nControl) {
                std::string id =
                    std::to_string(nWindow) + "_" + std::to_string(nLayout) + "_" + std::to_string(nControl);
                doc += "      <Button name=\"btn" + id +
                       "\" width=\"30\" height=\"30\" normalimage=\"file='btn.png' source='0,0,30,30'\" "
                       "hotimage=\"file='btn.png' source='30,0,60,30'\" tooltip=\"Press &amp; hold &lt;" +
                       id + "&gt;\"/>\r\n      <Label text=\"Label " + id +
                       "\" textcolor=\"#FFFFFFFF\" font=\"0\" align=\"center\"/>\r\n";
            }
            doc += "    </HorizontalLayout>\r\n    <Text name=\"tip\">Downloading files &#8230; please wait</Text>\r\n"
                   "  </VerticalLayout>\r\n";
        }
        doc += "</Window>\r\n";
    }
    doc += "</Skins>\r\n";
    return doc;
}

double Seconds(const std::function<bool()>& run, bool& bOk)
{
    LARGE_INTEGER freq, start, stop;
    ::QueryPerformanceFrequency(&freq);
    double best = 1e9;
    for (int i = 0; i < 5; ++i) {
        ::QueryPerformanceCounter(&start);
        bOk = run() && bOk;
        ::QueryPerformanceCounter(&stop);
        double s = static_cast<double>(stop.QuadPart - start.QuadPart) / static_cast<double>(freq.QuadPart);
        best = s < best ? s : best;
    }
    return best;
}

size_t VisitSkinXml(const Tarvo::CSkinXmlNode& first)
{
    size_t nVisited = 0;
    for (Tarvo::CSkinXmlNode node = first; node.IsValid(); node = node.NextSibling()) {
        nVisited += 1 + wcslen(node.Name());
        for (int i = 0; i < node.AttributeCount(); ++i) {
            nVisited += wcslen(node.AttributeName(i)) + wcslen(node.AttributeValue(i));
        }
        nVisited += VisitSkinXml(node.FirstChild());
    }
    return nVisited;
}

size_t VisitTinyXml(const tinyxml2::XMLElement* pFirst)
{
    size_t nVisited = 0;
    for (const tinyxml2::XMLElement* pElement = pFirst; pElement != nullptr;
         pElement = pElement->NextSiblingElement()) {
        nVisited += 1 + strlen(pElement->Name());
        for (const tinyxml2::XMLAttribute* pAttr = pElement->FirstAttribute(); pAttr != nullptr;
             pAttr = pAttr->Next()) {
            nVisited += strlen(pAttr->Name()) + strlen(pAttr->Value());
        }
        nVisited += VisitTinyXml(pElement->FirstChildElement());
    }
    return nVisited;
}

void Report(const char* pszWhat, double sSkin, double sTiny, size_t cb)
{
    double mb = static_cast<double>(cb) / (1024.0 * 1024.0);
    printf("%-32s CSkinXml %8.1f MB/s   TinyXML-2 %8.1f MB/s   ratio %.2f\n", pszWhat, mb / sSkin, mb / sTiny,
           sTiny / sSkin);
}

} // namespace

int main()
{
    const std::string doc = MakeSkinDocument(4 * 1024 * 1024);
    const BYTE* pBytes = reinterpret_cast<const BYTE*>(doc.data());
    const DWORD cbBytes = static_cast<DWORD>(doc.size());
    printf("document: %zu bytes (UTF-8); best of 5 runs; ratio = CSkinXml speed / TinyXML-2 speed\n", doc.size());

    bool bOk = true;
    double sSkinParse = Seconds(
        [&] {
            Tarvo::CSkinXml xml;
            return xml.LoadFromBytes(pBytes, cbBytes);
        },
        bOk);
    double sTinyParse = Seconds(
        [&] {
            tinyxml2::XMLDocument tiny;
            return tiny.Parse(doc.data(), doc.size()) == tinyxml2::XML_SUCCESS;
        },
        bOk);
    size_t nSkinVisited = 0;
    size_t nTinyVisited = 0;
    double sSkinAll = Seconds(
        [&] {
            Tarvo::CSkinXml xml;
            bool bLoaded = xml.LoadFromBytes(pBytes, cbBytes);
            nSkinVisited = VisitSkinXml(xml.Root());
            return bLoaded;
        },
        bOk);
    double sTinyAll = Seconds(
        [&] {
            tinyxml2::XMLDocument tiny;
            const bool bParsed = tiny.Parse(doc.data(), doc.size()) == tinyxml2::XML_SUCCESS;
            nTinyVisited = VisitTinyXml(tiny.RootElement());
            return bParsed;
        },
        bOk);
    if (!bOk || nSkinVisited == 0 || nTinyVisited == 0) {
        printf("a parser failed on the document\n");
        return 1;
    }
    Report("parse", sSkinParse, sTinyParse, doc.size());
    Report("parse + read every attribute", sSkinAll, sTinyAll, doc.size());
    return 0;
}
