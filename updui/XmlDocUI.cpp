#include "XmlDocUI.h"

#include <stdlib.h>
#include <string.h>
#include <wchar.h>

#include <vector>

#include "SkinSourceUI.h"

namespace UpdUI {

namespace {

bool IsNameChar(WCHAR ch)
{
    return iswalnum(ch) || ch == L'_' || ch == L':';
}

struct TEntityUI
{
    LPCWSTR pstrName; // without the ampersand, with the semicolon
    ULONG nLength;
    WCHAR ch;
};

const TEntityUI kEntities[] = {
    { L"amp;", 4, L'&' },
    { L"lt;", 3, L'<' },
    { L"gt;", 3, L'>' },
    { L"quot;", 5, L'"' },
    { L"apos;", 5, L'\'' },
};

} // namespace

// ---------------------------------------------------------------------------------------
// CXmlNodeUI

CXmlNodeUI::CXmlNodeUI() : m_iElement(0), m_nAttributes(0), m_pDoc(nullptr)
{
}

CXmlNodeUI::CXmlNodeUI(CXmlDocUI* pDoc, ULONG iElement) : m_iElement(iElement), m_nAttributes(0), m_pDoc(pDoc)
{
}

bool CXmlNodeUI::IsValid() const
{
    return m_pDoc != nullptr;
}

LPCWSTR CXmlNodeUI::GetName() const
{
    if (m_pDoc == nullptr)
        return nullptr;
    return m_pDoc->m_pstrText + m_pDoc->m_pElements[m_iElement].iName;
}

CXmlNodeUI CXmlNodeUI::GetChild() const
{
    if (m_pDoc == nullptr)
        return CXmlNodeUI();
    ULONG iChild = m_pDoc->m_pElements[m_iElement].iChild;
    return iChild == 0 ? CXmlNodeUI() : CXmlNodeUI(m_pDoc, iChild);
}

CXmlNodeUI CXmlNodeUI::GetSibling() const
{
    if (m_pDoc == nullptr)
        return CXmlNodeUI();
    ULONG iNext = m_pDoc->m_pElements[m_iElement].iNext;
    return iNext == 0 ? CXmlNodeUI() : CXmlNodeUI(m_pDoc, iNext);
}

bool CXmlNodeUI::HasChildren() const
{
    return m_pDoc != nullptr && m_pDoc->m_pElements[m_iElement].iChild != 0;
}

LPCWSTR CXmlNodeUI::GetValue() const
{
    if (m_pDoc == nullptr)
        return nullptr;
    return m_pDoc->m_pstrText + m_pDoc->m_pElements[m_iElement].iData;
}

bool CXmlNodeUI::HasAttributes()
{
    return GetAttributeCount() > 0;
}

int CXmlNodeUI::GetAttributeCount()
{
    if (m_pDoc == nullptr)
        return 0;
    if (m_nAttributes == 0)
        CollectAttributes();
    return m_nAttributes;
}

LPCWSTR CXmlNodeUI::GetAttributeName(int iIndex)
{
    if (iIndex < 0 || iIndex >= GetAttributeCount())
        return L"";
    return m_pDoc->m_pstrText + m_aAttributes[iIndex].iName;
}

LPCWSTR CXmlNodeUI::GetAttributeValue(int iIndex)
{
    if (iIndex < 0 || iIndex >= GetAttributeCount())
        return L"";
    return m_pDoc->m_pstrText + m_aAttributes[iIndex].iValue;
}

bool CXmlNodeUI::GetAttributeValue(LPCWSTR pstrName, LPWSTR pstrValue, int cchBuffer)
{
    if (pstrName == nullptr || pstrValue == nullptr || cchBuffer <= 0)
        return false;
    int nCount = GetAttributeCount();
    for (int i = 0; i < nCount; i++) {
        if (wcscmp(m_pDoc->m_pstrText + m_aAttributes[i].iName, pstrName) != 0)
            continue;
        // Cut to the buffer and terminated: a long value must not run past the caller's array.
        wcsncpy(pstrValue, m_pDoc->m_pstrText + m_aAttributes[i].iValue, (size_t)cchBuffer - 1);
        pstrValue[cchBuffer - 1] = L'\0';
        return true;
    }
    return false;
}

// The parse has checked the element's syntax already; names and values are terminated in
// place, and those terminators and the blanks left by decoding count as whitespace here.
void CXmlNodeUI::CollectAttributes()
{
    LPWSTR pstrText = m_pDoc->m_pstrText;
    const CXmlDocUI::TElementUI& element = m_pDoc->m_pElements[m_iElement];
    LPWSTR p = pstrText + element.iName;
    p += wcslen(p);
    LPCWSTR pstrLimit = pstrText + element.iData;
    while (m_nAttributes < MAX_ATTRIBUTES) {
        while (p < pstrLimit && *p <= L' ')
            p++;
        if (p >= pstrLimit)
            break;
        LPWSTR pstrName = p;
        while (p < pstrLimit && IsNameChar(*p))
            p++;
        while (p < pstrLimit && *p != L'"')
            p++;
        if (p >= pstrLimit)
            break;
        LPWSTR pstrValue = p + 1;
        m_aAttributes[m_nAttributes].iName = (ULONG)(pstrName - pstrText);
        m_aAttributes[m_nAttributes].iValue = (ULONG)(pstrValue - pstrText);
        m_nAttributes++;
        p = pstrValue + wcslen(pstrValue) + 1;
    }
}

// ---------------------------------------------------------------------------------------
// CXmlDocUI: loading

CXmlDocUI::CXmlDocUI(LPCWSTR pstrText)
    : m_pstrText(nullptr), m_pstrEnd(nullptr), m_pElements(nullptr), m_nElements(0), m_nReservedElements(0), m_nDepth(0),
      m_bPreserveWhitespace(true)
{
    ClearError();
    if (pstrText != nullptr)
        Load(pstrText);
}

CXmlDocUI::~CXmlDocUI()
{
    Release();
}

void CXmlDocUI::Release()
{
    free(m_pstrText);
    m_pstrText = nullptr;
    m_pstrEnd = nullptr;
    free(m_pElements);
    m_pElements = nullptr;
    m_nElements = 0;
    m_nReservedElements = 0;
}

void CXmlDocUI::SetPreserveWhitespace(bool bPreserve)
{
    m_bPreserveWhitespace = bPreserve;
}

bool CXmlDocUI::Load(LPCWSTR pstrText)
{
    Release();
    ClearError();
    if (pstrText == nullptr)
        return Fail(L"No markup text");
    size_t nLength = wcslen(pstrText);
    LPWSTR pstrCopy = (LPWSTR)malloc((nLength + 1) * sizeof(WCHAR));
    if (pstrCopy == nullptr)
        return Fail(L"Out of memory");
    wmemcpy(pstrCopy, pstrText, nLength + 1);
    return TakeText(pstrCopy, (ULONG)nLength);
}

bool CXmlDocUI::LoadFromMemory(const BYTE* pData, DWORD dwSize, int iEncoding)
{
    Release();
    ClearError();
    if (pData == nullptr && dwSize != 0)
        return Fail(L"No markup text");
    bool bDecoded = false;
    if (iEncoding == ENCODING_UTF8) {
        if (dwSize > 2 && pData[0] == 0xEF && pData[1] == 0xBB && pData[2] == 0xBF) {
            pData += 3;
            dwSize -= 3;
        }
        bDecoded = DecodeMultiByte(CP_UTF8, pData, dwSize);
    }
    else if (iEncoding == ENCODING_ANSI) {
        bDecoded = DecodeMultiByte(CP_ACP, pData, dwSize);
    }
    else {
        bDecoded = DecodeUtf16(pData, dwSize);
    }
    if (!bDecoded)
        return false;
    return TakeText(m_pstrText, (ULONG)(m_pstrEnd - m_pstrText));
}

bool CXmlDocUI::LoadFromFile(LPCWSTR pstrName, int iEncoding)
{
    Release();
    ClearError();
    std::vector<BYTE> bytes;
    LPCWSTR pstrError = nullptr;
    if (!CSkinSourceUI::ReadMarkup(pstrName, bytes, &pstrError))
        return Fail(pstrError != nullptr ? pstrError : L"Error opening file");
    return LoadFromMemory(bytes.data(), (DWORD)bytes.size(), iEncoding);
}

// Takes ownership of a terminated UTF-16 text and parses it; a failed parse drops it.
bool CXmlDocUI::TakeText(LPWSTR pstrText, ULONG nLength)
{
    m_pstrText = pstrText;
    m_pstrEnd = pstrText + nLength;
    if (Parse())
        return true;
    Release();
    return false;
}

bool CXmlDocUI::DecodeMultiByte(UINT uCodePage, const BYTE* pData, DWORD dwSize)
{
    int nChars = 0;
    if (dwSize > 0) {
        nChars = MultiByteToWideChar(uCodePage, 0, (LPCSTR)pData, (int)dwSize, nullptr, 0);
        if (nChars <= 0)
            return Fail(L"Could not convert the markup text");
    }
    LPWSTR pstrText = (LPWSTR)malloc(((size_t)nChars + 1) * sizeof(WCHAR));
    if (pstrText == nullptr)
        return Fail(L"Out of memory");
    if (nChars > 0)
        MultiByteToWideChar(uCodePage, 0, (LPCSTR)pData, (int)dwSize, pstrText, nChars);
    pstrText[nChars] = L'\0';
    m_pstrText = pstrText;
    m_pstrEnd = pstrText + nChars;
    return true;
}

// UTF-16 is accepted only with a byte-order mark, which is dropped; big-endian text is
// swapped to the machine's order.
bool CXmlDocUI::DecodeUtf16(const BYTE* pData, DWORD dwSize)
{
    if (dwSize < 2)
        return Fail(L"Unsupported text encoding");
    bool bBigEndian = pData[0] == 0xFE && pData[1] == 0xFF;
    bool bLittleEndian = pData[0] == 0xFF && pData[1] == 0xFE;
    if (!bBigEndian && !bLittleEndian)
        return Fail(L"Unsupported text encoding");
    DWORD nChars = dwSize / 2 - 1;
    LPWSTR pstrText = (LPWSTR)malloc(((size_t)nChars + 1) * sizeof(WCHAR));
    if (pstrText == nullptr)
        return Fail(L"Out of memory");
    const BYTE* pSrc = pData + 2;
    for (DWORD i = 0; i < nChars; i++, pSrc += 2)
        pstrText[i] = bBigEndian ? (WCHAR)((pSrc[0] << 8) | pSrc[1]) : (WCHAR)(pSrc[0] | (pSrc[1] << 8));
    pstrText[nChars] = L'\0';
    m_pstrText = pstrText;
    m_pstrEnd = pstrText + nChars;
    return true;
}

CXmlNodeUI CXmlDocUI::GetRoot()
{
    if (m_pElements == nullptr || m_nElements <= 1)
        return CXmlNodeUI();
    return CXmlNodeUI(this, 1);
}

LPCWSTR CXmlDocUI::GetLastErrorMessage() const
{
    return m_szErrorMsg;
}

LPCWSTR CXmlDocUI::GetLastErrorLocation() const
{
    return m_szErrorXml;
}

void CXmlDocUI::ClearError()
{
    m_szErrorMsg[0] = L'\0';
    m_szErrorXml[0] = L'\0';
}

bool CXmlDocUI::Fail(LPCWSTR pstrMessage, LPCWSTR pstrLocation)
{
    wcsncpy(m_szErrorMsg, pstrMessage, 99);
    m_szErrorMsg[99] = L'\0';
    // The location points into the parsed text, which may hold terminators written by the
    // parse; copy only what lies before its real end.
    size_t n = 0;
    while (n < 49 && pstrLocation[n] != L'\0' &&
           (m_pstrText == nullptr || pstrLocation < m_pstrText || pstrLocation + n < m_pstrEnd)) {
        m_szErrorXml[n] = pstrLocation[n];
        n++;
    }
    m_szErrorXml[n] = L'\0';
    return false;
}

// ---------------------------------------------------------------------------------------
// CXmlDocUI: parsing

bool CXmlDocUI::Parse()
{
    ClearError();
    m_nDepth = 1; // the level of the elements being read: the root is level 1
    if (m_nReservedElements == 0 && !GrowElements())
        return false;
    m_pElements[0] = TElementUI{}; // slot 0 stands for the document itself
    m_nElements = 1;
    LPWSTR p = m_pstrText;
    return ParseElementList(p, 0);
}

bool CXmlDocUI::GrowElements()
{
    ULONG nReserve = m_nReservedElements + m_nReservedElements / 2 + 500;
    TElementUI* pGrown = (TElementUI*)realloc(m_pElements, nReserve * sizeof(TElementUI));
    if (pGrown == nullptr)
        return Fail(L"Out of memory");
    m_pElements = pGrown;
    m_nReservedElements = nReserve;
    return true;
}

ULONG CXmlDocUI::AppendElement(LPWSTR pstrName, ULONG iParent)
{
    if (m_nElements >= m_nReservedElements && !GrowElements())
        return 0;
    ULONG iElement = m_nElements++;
    TElementUI& element = m_pElements[iElement];
    element.iName = (ULONG)(pstrName - m_pstrText);
    element.iChild = 0;
    element.iNext = 0;
    element.iParent = iParent;
    element.iData = 0;
    return iElement;
}

// Whitespace is every character up to the blank, terminators written by the parse
// included; the skip is bounded by the real end of the text.
void CXmlDocUI::SkipWhitespace(LPWSTR& p) const
{
    while (p < m_pstrEnd && *p <= L' ')
        p++;
}

void CXmlDocUI::SkipPast(LPWSTR& p, LPCWSTR pstrMarker) const
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

bool CXmlDocUI::ParseElementList(LPWSTR& p, ULONG iParent)
{
    ULONG iPrevious = 0;
    for (;;) {
        SkipWhitespace(p);
        if (p >= m_pstrEnd) {
            if (iParent <= 1)
                return true;
            return Fail(L"Expected start tag", p);
        }
        if (*p != L'<')
            return Fail(L"Expected start tag", p);
        if (p + 1 < m_pstrEnd && p[1] == L'/')
            return true;
        p++;
        SkipWhitespace(p);
        if (p < m_pstrEnd && *p == L'!') {
            SkipPast(p, L"->");
            continue;
        }
        if (p < m_pstrEnd && *p == L'?') {
            SkipPast(p, L"?>");
            continue;
        }
        ULONG iElement = AppendElement(p, iParent);
        if (iElement == 0)
            return false;
        if (iPrevious != 0)
            m_pElements[iPrevious].iNext = iElement;
        else if (iParent != 0)
            m_pElements[iParent].iChild = iElement;
        iPrevious = iElement;
        if (!ParseElement(p, iElement, iParent))
            return false;
    }
}

// From the element's name to past its end tag (or its "/>").
bool CXmlDocUI::ParseElement(LPWSTR& p, ULONG iElement, ULONG iParent)
{
    LPWSTR pstrName = p;
    while (p < m_pstrEnd && IsNameChar(*p))
        p++;
    if (p == pstrName)
        return Fail(L"Error parsing element name", p);
    LPWSTR pstrNameEnd = p;
    ULONG nNameLength = (ULONG)(pstrNameEnd - pstrName);
    if (!ParseAttributes(p))
        return false;
    SkipWhitespace(p);
    LPWSTR pstrDataEnd = nullptr;
    if (p + 1 < m_pstrEnd && p[0] == L'/' && p[1] == L'>') {
        pstrDataEnd = p; // an empty element: its text is the empty text at the "/"
        m_pElements[iElement].iData = (ULONG)(p - m_pstrText);
        p += 2;
    }
    else {
        if (p >= m_pstrEnd || *p != L'>')
            return Fail(L"Expected start-tag closing", p);
        p++;
        if (!ParseContent(p, iElement, iParent, pstrDataEnd))
            return false;
        if (p < m_pstrEnd && !ParseEndTag(p, pstrName, nNameLength))
            return false;
    }
    // The parse is past both places now, so they can take their terminators.
    *pstrDataEnd = L'\0';
    *pstrNameEnd = L'\0';
    return true;
}

// The element's text and its children; stops at its end tag or at the end of the text.
bool CXmlDocUI::ParseContent(LPWSTR& p, ULONG iElement, ULONG iParent, LPWSTR& pstrDataEnd)
{
    m_pElements[iElement].iData = (ULONG)(p - m_pstrText);
    pstrDataEnd = Decode(p, L'<');
    if (p >= m_pstrEnd) {
        if (iParent <= 1)
            return true; // an unterminated root, or child of the root, ends with the text
        return Fail(L"Expected end-tag start", p);
    }
    if (p + 1 < m_pstrEnd && p[1] == L'/')
        return true;
    // Each level of nesting costs stack; markup from outside must not be able to exhaust it.
    if (m_nDepth >= MAX_DEPTH)
        return Fail(L"Elements nested too deeply", p);
    m_nDepth++;
    bool bParsed = ParseElementList(p, iElement);
    m_nDepth--;
    return bParsed;
}

bool CXmlDocUI::ParseEndTag(LPWSTR& p, LPCWSTR pstrName, ULONG nNameLength)
{
    LPWSTR pstrTag = p;
    if (m_pstrEnd - p < 2 || p[0] != L'<' || p[1] != L'/')
        return Fail(L"Unmatched closing tag", pstrTag);
    p += 2;
    SkipWhitespace(p);
    if ((ULONG)(m_pstrEnd - p) < nNameLength || wcsncmp(p, pstrName, nNameLength) != 0)
        return Fail(L"Unmatched closing tag", pstrTag);
    p += nNameLength;
    SkipWhitespace(p);
    if (p >= m_pstrEnd || *p != L'>')
        return Fail(L"Unmatched closing tag", pstrTag);
    p++;
    return true;
}

bool CXmlDocUI::ParseAttributes(LPWSTR& p)
{
    if (p >= m_pstrEnd || *p == L'>')
        return true;
    // A "/" right after the name belongs to "/>" and must survive.
    if (*p != L'/')
        *p++ = L'\0';
    SkipWhitespace(p);
    while (p < m_pstrEnd) {
        if (*p == L'/' || *p == L'>')
            return true;
        while (p < m_pstrEnd && IsNameChar(*p))
            p++;
        LPWSTR pstrNameEnd = p;
        SkipWhitespace(p);
        if (p >= m_pstrEnd || *p != L'=')
            return Fail(L"Error while parsing attributes", p);
        *pstrNameEnd = L'\0';
        p++;
        SkipWhitespace(p);
        if (p >= m_pstrEnd || *p != L'"')
            return Fail(L"Expected attribute value", p);
        p++;
        LPWSTR pstrValueEnd = Decode(p, L'"');
        if (p >= m_pstrEnd)
            return Fail(L"Error while parsing attribute string", p);
        *pstrValueEnd = L'\0';
        *p++ = L'\0';
        SkipWhitespace(p);
    }
    return true;
}

// Decodes in place up to chStop (or the end of the text), leaving p on it; returns the end
// of the decoded text. The output never passes the input; what decoding freed becomes blanks.
LPWSTR CXmlDocUI::Decode(LPWSTR& p, WCHAR chStop)
{
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
            }
            else {
                *pstrOut++ = L'&';
            }
        }
        else if (*p == L' ' && !m_bPreserveWhitespace) {
            *pstrOut++ = *p++;
            while (p < m_pstrEnd && *p != chStop && *p <= L' ')
                p++;
        }
        else {
            *pstrOut++ = *p++;
        }
    }
    for (LPWSTR pstrFill = pstrOut; pstrFill < p; pstrFill++)
        *pstrFill = L' ';
    return pstrOut;
}

} // namespace UpdUI
