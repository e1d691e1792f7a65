#include "ParseBench.h"

#include <windows.h>

#include <cstdio>

#include "SkinMarkupMaker.h"
#include "XmlDocUI.h"
#include "pugixml.hpp"

namespace {

const double kMiB = 1024.0 * 1024.0;

void CountTree(CXmlNodeUI node, int& nElements, int& nAttributes)
{
    for (; node.IsValid(); node = node.GetSibling()) {
        nElements++;
        nAttributes += node.GetAttributeCount();
        CountTree(node.GetChild(), nElements, nAttributes);
    }
}

void CountTree(const pugi::xml_node& parent, int& nElements, int& nAttributes)
{
    for (pugi::xml_node node = parent.first_child(); node; node = node.next_sibling()) {
        if (node.type() != pugi::node_element) continue;
        nElements++;
        for (pugi::xml_attribute attr = node.first_attribute(); attr; attr = attr.next_attribute()) nAttributes++;
        CountTree(node, nElements, nAttributes);
    }
}

} // namespace

CParseBench::CParseBench(const std::string& markup)
    : m_markup(markup), m_wide(CSkinMarkupMaker::Widen(markup)), m_nElements(0), m_nAttributes(0)
{ }

bool CParseBench::Run(int nRounds)
{
    if (!CheckSameTree()) return false;
    for (int i = 0; i < nRounds; i++) {
        // The order turns every round: no parser always runs on a cache the other warmed.
        switch (i % 3) {
        case 0:
            m_fromMem.Add(TimeXmlDocFromMem());
            m_pugixml.Add(TimePugixml());
            m_fromString.Add(TimeXmlDocFromString());
            break;
        case 1:
            m_pugixml.Add(TimePugixml());
            m_fromString.Add(TimeXmlDocFromString());
            m_fromMem.Add(TimeXmlDocFromMem());
            break;
        default:
            m_fromString.Add(TimeXmlDocFromString());
            m_fromMem.Add(TimeXmlDocFromMem());
            m_pugixml.Add(TimePugixml());
            break;
        }
    }
    return true;
}

bool CParseBench::CheckSameTree()
{
    CXmlDocUI doc;
    if (!doc.LoadFromMem((const BYTE*)m_markup.data(), (DWORD)m_markup.size(), CXmlDocUI::ENCODING_UTF8)) {
        printf("CXmlDocUI rejects the markup: %ls [%ls]\n", doc.GetLastErrorMessage(), doc.GetLastErrorLocation());
        return false;
    }
    CountTree(doc.GetRoot(), m_nElements, m_nAttributes);

    pugi::xml_document pugiDoc;
    pugi::xml_parse_result result = pugiDoc.load_buffer(m_markup.data(), m_markup.size());
    if (!result) {
        printf("pugixml rejects the markup: %s at %d\n", result.description(), (int)result.offset);
        return false;
    }
    int nPugiElements = 0, nPugiAttributes = 0;
    CountTree(pugiDoc, nPugiElements, nPugiAttributes);
    if (nPugiElements != m_nElements || nPugiAttributes != m_nAttributes) {
        printf("the parsers disagree: CXmlDocUI %d elements %d attributes, pugixml %d elements %d attributes\n",
               m_nElements, m_nAttributes, nPugiElements, nPugiAttributes);
        return false;
    }
    return true;
}

double CParseBench::TimeXmlDocFromMem() const
{
    CXmlDocUI doc;
    const double start = CBenchSamples::Now();
    doc.LoadFromMem((const BYTE*)m_markup.data(), (DWORD)m_markup.size(), CXmlDocUI::ENCODING_UTF8);
    return CBenchSamples::Now() - start;
}

double CParseBench::TimeXmlDocFromString() const
{
    CXmlDocUI doc;
    const double start = CBenchSamples::Now();
    doc.LoadFromString(m_wide.c_str());
    return CBenchSamples::Now() - start;
}

double CParseBench::TimePugixml() const
{
    pugi::xml_document doc;
    const double start = CBenchSamples::Now();
    doc.load_buffer(m_markup.data(), m_markup.size());
    return CBenchSamples::Now() - start;
}

void CParseBench::Print() const
{
    printf("markup: %u bytes UTF-8 (%.2f MiB), %d elements, %d attributes\n", (unsigned)m_markup.size(),
           m_markup.size() / kMiB, m_nElements, m_nAttributes);
    PrintLine("CXmlDocUI::LoadFromMem   (UTF-8 decode + parse)", m_fromMem);
    PrintLine("CXmlDocUI::LoadFromString (UTF-16 copy + parse)", m_fromString);
    PrintLine("pugixml load_buffer      (UTF-8 copy + parse)  ", m_pugixml);
    const double pugi = m_pugixml.Median();
    if (pugi > 0.0) {
        printf("ratio main library markup parse LoadFromMem / pugixml: %.2f (goal 1)\n", m_fromMem.Median() / pugi);
        printf("ratio main library markup parse LoadFromString / pugixml: %.2f (goal 1)\n",
               m_fromString.Median() / pugi);
    }
}

void CParseBench::PrintLine(const char* pstrWhat, const CBenchSamples& samples) const
{
    const double median = samples.Median();
    printf("parse %s: median %.2f ms (min %.2f ms, %d runs), %.1f MiB/s\n", pstrWhat, median * 1000.0,
           samples.Min() * 1000.0, samples.Count(), median > 0.0 ? m_markup.size() / kMiB / median : 0.0);
}
