#pragma once
#include <string>

#include "BenchSamples.h"

// Times the skin library's markup parser and pugixml on the same document, run after
// run in turn so both see the same machine state. Both read the UTF-8 bytes as the
// skin file stores them; the parser's own UTF-16 entry is timed as well, to show how
// much of its time goes to decoding.
class CParseBench
{
public:
    explicit CParseBench(const std::string& markup);

    // False, with the reason printed, when a parser rejects the document or the two
    // parsers do not see the same elements.
    bool Run(int nRounds);
    void Print() const;

private:
    bool CheckSameTree();
    double TimeXmlDocFromMem() const;
    double TimeXmlDocFromString() const;
    double TimePugixml() const;
    void PrintLine(const char* pstrWhat, const CBenchSamples& samples) const;

    const std::string m_markup;
    std::wstring m_wide;
    int m_nElements;
    int m_nAttributes;
    CBenchSamples m_fromMem;
    CBenchSamples m_fromString;
    CBenchSamples m_pugixml;
};
