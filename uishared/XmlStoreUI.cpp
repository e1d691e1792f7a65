#include "XmlStoreUI.h"

#include <limits.h>
#include <stdlib.h>
#include <string.h>
#include <wchar.h>

namespace UIShared {

namespace {

struct TEntityUI
{
    LPCWSTR pstrName; // without the ampersand, with the semicolon
    ULONG nLength;
    WCHAR ch;
};

const TEntityUI kEntities[] = {
    { L"amp;", 4, L'&' }, { L"lt;", 3, L'<' }, { L"gt;", 3, L'>' }, { L"quot;", 5, L'"' }, { L"apos;", 5, L'\'' },
};

} // namespace

CXmlStoreUI::CXmlStoreUI(bool bPreserveWhitespace)
    : m_pstrText(nullptr), m_pstrEnd(nullptr), m_pElements(nullptr), m_nElements(0), m_nReservedElements(0),
      m_nDepth(0), m_bPreserveWhitespace(bPreserveWhitespace)
{
    ClearError();
}

CXmlStoreUI::~CXmlStoreUI()
{
    Release();
}

void CXmlStoreUI::Release()
{
    free(m_pstrText);
    m_pstrText = nullptr;
    m_pstrEnd = nullptr;
    free(m_pElements);
    m_pElements = nullptr;
    m_nElements = 0;
    m_nReservedElements = 0;
}

LPCWSTR CXmlStoreUI::GetLastErrorMessage() const
{
    return m_szErrorMsg;
}

LPCWSTR CXmlStoreUI::GetLastErrorLocation() const
{
    return m_szErrorXml;
}

// One conversion pass into a buffer of one character per byte, which no code page
// exceeds: a counting pass first would read the whole text twice.
bool CXmlStoreUI::DecodeMultiByte(UINT uCodePage, const BYTE* pData, DWORD dwSize)
{
    if (dwSize > (DWORD)INT_MAX) return Fail(L"Could not convert the markup text");
    LPWSTR pstrText = (LPWSTR)malloc(((size_t)dwSize + 1) * sizeof(WCHAR));
    if (pstrText == nullptr) return Fail(L"Out of memory");
    int nChars = 0;
    if (dwSize > 0) {
        nChars = MultiByteToWideChar(uCodePage, 0, (LPCSTR)pData, (int)dwSize, pstrText, (int)dwSize);
        if (nChars <= 0) {
            free(pstrText);
            return Fail(L"Could not convert the markup text");
        }
    }
    pstrText[nChars] = L'\0';
    // Text of many multi-byte characters leaves much of the buffer unused.
    if ((DWORD)nChars < dwSize / 2) {
        LPWSTR pstrShrunk = (LPWSTR)realloc(pstrText, ((size_t)nChars + 1) * sizeof(WCHAR));
        if (pstrShrunk != nullptr) pstrText = pstrShrunk;
    }
    m_pstrText = pstrText;
    m_pstrEnd = pstrText + nChars;
    return true;
}

// UTF-16 is accepted only with a byte-order mark, which is dropped; big-endian text is
// swapped to the machine's order. A last odd byte is not part of any character.
bool CXmlStoreUI::DecodeUtf16(const BYTE* pData, DWORD dwSize)
{
    if (dwSize < 2) return Fail(L"Unsupported text encoding");
    bool bBigEndian = pData[0] == 0xFE && pData[1] == 0xFF;
    bool bLittleEndian = pData[0] == 0xFF && pData[1] == 0xFE;
    if (!bBigEndian && !bLittleEndian) return Fail(L"Unsupported text encoding");
    DWORD nChars = dwSize / 2 - 1;
    LPWSTR pstrText = (LPWSTR)malloc(((size_t)nChars + 1) * sizeof(WCHAR));
    if (pstrText == nullptr) return Fail(L"Out of memory");
    const BYTE* pSrc = pData + 2;
    for (DWORD i = 0; i < nChars; i++, pSrc += 2)
        pstrText[i] = bBigEndian ? (WCHAR)((pSrc[0] << 8) | pSrc[1]) : (WCHAR)(pSrc[0] | (pSrc[1] << 8));
    pstrText[nChars] = L'\0';
    m_pstrText = pstrText;
    m_pstrEnd = pstrText + nChars;
    return true;
}

void CXmlStoreUI::ClearError()
{
    m_szErrorMsg[0] = L'\0';
    m_szErrorXml[0] = L'\0';
}

bool CXmlStoreUI::Fail(LPCWSTR pstrMessage, LPCWSTR pstrLocation)
{
    wcsncpy(m_szErrorMsg, pstrMessage, 99);
    m_szErrorMsg[99] = L'\0';
    // The location points into the parsed text, which ends at m_pstrEnd and may hold
    // terminators written by the parse; copy only what lies before either.
    size_t n = 0;
    while (n < 49 && pstrLocation[n] != L'\0' &&
           (m_pstrText == nullptr || pstrLocation < m_pstrText || pstrLocation + n < m_pstrEnd)) {
        m_szErrorXml[n] = pstrLocation[n];
        n++;
    }
    m_szErrorXml[n] = L'\0';
    return false;
}

bool CXmlStoreUI::GrowElements()
{
    ULONG nReserve = m_nReservedElements + m_nReservedElements / 2 + 500;
    TElementUI* pGrown = (TElementUI*)realloc(m_pElements, nReserve * sizeof(TElementUI));
    if (pGrown == nullptr) return Fail(L"Out of memory");
    m_pElements = pGrown;
    m_nReservedElements = nReserve;
    return true;
}

ULONG CXmlStoreUI::AppendElement(LPWSTR pstrName, ULONG iParent)
{
    if (m_nElements >= m_nReservedElements && !GrowElements()) return 0;
    ULONG iElement = m_nElements++;
    TElementUI& element = m_pElements[iElement];
    element.iName = (ULONG)(pstrName - m_pstrText);
    element.iChild = 0;
    element.iNext = 0;
    element.iParent = iParent;
    element.iData = 0;
    return iElement;
}

// Whitespace is every character up to the blank, the terminators written by the parse
// included; the skip is bounded by the real end of the text, never by a terminator.
void CXmlStoreUI::SkipWhitespace(LPWSTR& p) const
{
    while (p < m_pstrEnd && *p <= L' ') p++;
}

void CXmlStoreUI::SkipPast(LPWSTR& p, LPCWSTR pstrMarker) const
{
    size_t nMarker = wcslen(pstrMarker);
    while (p < m_pstrEnd) {
        if ((size_t)(m_pstrEnd - p) >= nMarker && wcsncmp(p, pstrMarker, nMarker) == 0) {
            p += nMarker;
            return;
        }
        p++;
    }
}

// Text before the first entity or run of blanks stays where it is: most of a skin's text
// needs no decoding, and reading it without writing it back halves the work.
void CXmlStoreUI::SkipUnchanged(LPWSTR& p, WCHAR chStop) const
{
    while (p < m_pstrEnd) {
        WCHAR ch = *p;
        if (ch == chStop || ch == L'&') return;
        if (ch == L' ' && !m_bPreserveWhitespace && p + 1 < m_pstrEnd && p[1] <= L' ') return;
        p++;
    }
}

// Decodes in place up to chStop (or the end of the text), leaving p on it; returns the end
// of the decoded text. The output never passes the input; what decoding freed becomes blanks.
LPWSTR CXmlStoreUI::Decode(LPWSTR& p, WCHAR chStop)
{
    SkipUnchanged(p, chStop);
    LPWSTR pstrOut = p;
    while (p < m_pstrEnd && *p != chStop) {
        if (*p == L'&') {
            p++;
            const TEntityUI* pEntity = nullptr;
            for (const TEntityUI& entity : kEntities) {
                if ((ULONG)(m_pstrEnd - p) >= entity.nLength && wcsncmp(p, entity.pstrName, entity.nLength) == 0) {
                    pEntity = &entity;
                    break;
                }
            }
            if (pEntity != nullptr) {
                *pstrOut++ = pEntity->ch;
                p += pEntity->nLength;
            } else {
                *pstrOut++ = L'&';
            }
        } else if (*p == L' ' && !m_bPreserveWhitespace) {
            *pstrOut++ = *p++;
            while (p < m_pstrEnd && *p != chStop && *p <= L' ') p++;
        } else {
            *pstrOut++ = *p++;
        }
    }
    for (LPWSTR pstrFill = pstrOut; pstrFill < p; pstrFill++) *pstrFill = L' ';
    return pstrOut;
}

} // namespace UIShared
