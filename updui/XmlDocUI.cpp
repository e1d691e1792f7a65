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

} // namespace

// ---------------------------------------------------------------------------------------
// CXmlNodeUI

CXmlNodeUI::CXmlNodeUI() : m_iElement(0), m_nAttributes(0), m_pDoc(nullptr) { }

CXmlNodeUI::CXmlNodeUI(CXmlDocUI* pDoc, ULONG iElement) : m_iElement(iElement), m_nAttributes(0), m_pDoc(pDoc) { }

bool CXmlNodeUI::IsValid() const
{
    return m_pDoc != nullptr;
}

LPCWSTR CXmlNodeUI::GetName() const
{
    if (m_pDoc == nullptr) return nullptr;
    return m_pDoc->m_pstrText + m_pDoc->m_pElements[m_iElement].iName;
}

CXmlNodeUI CXmlNodeUI::GetChild() const
{
    if (m_pDoc == nullptr) return CXmlNodeUI();
    ULONG iChild = m_pDoc->m_pElements[m_iElement].iChild;
    return iChild == 0 ? CXmlNodeUI() : CXmlNodeUI(m_pDoc, iChild);
}

CXmlNodeUI CXmlNodeUI::GetSibling() const
{
    if (m_pDoc == nullptr) return CXmlNodeUI();
    ULONG iNext = m_pDoc->m_pElements[m_iElement].iNext;
    return iNext == 0 ? CXmlNodeUI() : CXmlNodeUI(m_pDoc, iNext);
}

bool CXmlNodeUI::HasChildren() const
{
    return m_pDoc != nullptr && m_pDoc->m_pElements[m_iElement].iChild != 0;
}

LPCWSTR CXmlNodeUI::GetValue() const
{
    if (m_pDoc == nullptr) return nullptr;
    return m_pDoc->m_pstrText + m_pDoc->m_pElements[m_iElement].iData;
}

bool CXmlNodeUI::HasAttributes()
{
    return GetAttributeCount() > 0;
}

int CXmlNodeUI::GetAttributeCount()
{
    if (m_pDoc == nullptr) return 0;
    if (m_nAttributes == 0) CollectAttributes();
    return m_nAttributes;
}

LPCWSTR CXmlNodeUI::GetAttributeName(int iIndex)
{
    if (iIndex < 0 || iIndex >= GetAttributeCount()) return L"";
    return m_pDoc->m_pstrText + m_aAttributes[iIndex].iName;
}

LPCWSTR CXmlNodeUI::GetAttributeValue(int iIndex)
{
    if (iIndex < 0 || iIndex >= GetAttributeCount()) return L"";
    return m_pDoc->m_pstrText + m_aAttributes[iIndex].iValue;
}

bool CXmlNodeUI::GetAttributeValue(LPCWSTR pstrName, LPWSTR pstrValue, int cchBuffer)
{
    if (pstrName == nullptr || pstrValue == nullptr || cchBuffer <= 0) return false;
    int nCount = GetAttributeCount();
    for (int i = 0; i < nCount; i++) {
        if (wcscmp(m_pDoc->m_pstrText + m_aAttributes[i].iName, pstrName) != 0) continue;
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
        while (p < pstrLimit && *p <= L' ') p++;
        if (p >= pstrLimit) break;
        LPWSTR pstrName = p;
        while (p < pstrLimit && IsNameChar(*p)) p++;
        while (p < pstrLimit && *p != L'"') p++;
        if (p >= pstrLimit) break;
        LPWSTR pstrValue = p + 1;
        m_aAttributes[m_nAttributes].iName = (ULONG)(pstrName - pstrText);
        m_aAttributes[m_nAttributes].iValue = (ULONG)(pstrValue - pstrText);
        m_nAttributes++;
        p = pstrValue + wcslen(pstrValue) + 1;
    }
}

// ---------------------------------------------------------------------------------------
// CXmlDocUI: loading

CXmlDocUI::CXmlDocUI(LPCWSTR pstrText) : CXmlStoreUI(true)
{
    if (pstrText != nullptr) Load(pstrText);
}

void CXmlDocUI::SetPreserveWhitespace(bool bPreserve)
{
    m_bPreserveWhitespace = bPreserve;
}

bool CXmlDocUI::Load(LPCWSTR pstrText)
{
    Release();
    ClearError();
    if (pstrText == nullptr) return Fail(L"No markup text");
    size_t nLength = wcslen(pstrText);
    LPWSTR pstrCopy = (LPWSTR)malloc((nLength + 1) * sizeof(WCHAR));
    if (pstrCopy == nullptr) return Fail(L"Out of memory");
    wmemcpy(pstrCopy, pstrText, nLength + 1);
    return TakeText(pstrCopy, (ULONG)nLength);
}

bool CXmlDocUI::LoadFromMemory(const BYTE* pData, DWORD dwSize, int iEncoding)
{
    Release();
    ClearError();
    if (pData == nullptr && dwSize != 0) return Fail(L"No markup text");
    bool bDecoded = false;
    if (iEncoding == ENCODING_UTF8) {
        if (dwSize > 2 && pData[0] == 0xEF && pData[1] == 0xBB && pData[2] == 0xBF) {
            pData += 3;
            dwSize -= 3;
        }
        bDecoded = DecodeMultiByte(CP_UTF8, pData, dwSize);
    } else if (iEncoding == ENCODING_ANSI) {
        bDecoded = DecodeMultiByte(CP_ACP, pData, dwSize);
    } else {
        bDecoded = DecodeUtf16(pData, dwSize);
    }
    if (!bDecoded) return false;
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
    if (Parse()) return true;
    Release();
    return false;
}

CXmlNodeUI CXmlDocUI::GetRoot()
{
    if (m_pElements == nullptr || m_nElements <= 1) return CXmlNodeUI();
    return CXmlNodeUI(this, 1);
}

// ---------------------------------------------------------------------------------------
// CXmlDocUI: parsing

bool CXmlDocUI::Parse()
{
    ClearError();
    m_nDepth = 1; // the level of the elements being read: the root is level 1
    if (m_nReservedElements == 0 && !GrowElements()) return false;
    m_pElements[0] = TElementUI{}; // slot 0 stands for the document itself
    m_nElements = 1;
    LPWSTR p = m_pstrText;
    return ParseElementList(p, 0);
}

bool CXmlDocUI::ParseElementList(LPWSTR& p, ULONG iParent)
{
    ULONG iPrevious = 0;
    for (;;) {
        SkipWhitespace(p);
        if (p >= m_pstrEnd) {
            if (iParent <= 1) return true;
            return Fail(L"Expected start tag", p);
        }
        if (*p != L'<') return Fail(L"Expected start tag", p);
        if (p + 1 < m_pstrEnd && p[1] == L'/') return true;
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
        if (iElement == 0) return false;
        if (iPrevious != 0)
            m_pElements[iPrevious].iNext = iElement;
        else if (iParent != 0)
            m_pElements[iParent].iChild = iElement;
        iPrevious = iElement;
        if (!ParseElement(p, iElement, iParent)) return false;
    }
}

// From the element's name to past its end tag (or its "/>").
bool CXmlDocUI::ParseElement(LPWSTR& p, ULONG iElement, ULONG iParent)
{
    LPWSTR pstrName = p;
    while (p < m_pstrEnd && IsNameChar(*p)) p++;
    if (p == pstrName) return Fail(L"Error parsing element name", p);
    LPWSTR pstrNameEnd = p;
    ULONG nNameLength = (ULONG)(pstrNameEnd - pstrName);
    if (!ParseAttributes(p)) return false;
    SkipWhitespace(p);
    LPWSTR pstrDataEnd = nullptr;
    if (p + 1 < m_pstrEnd && p[0] == L'/' && p[1] == L'>') {
        pstrDataEnd = p; // an empty element: its text is the empty text at the "/"
        m_pElements[iElement].iData = (ULONG)(p - m_pstrText);
        p += 2;
    } else {
        if (p >= m_pstrEnd || *p != L'>') return Fail(L"Expected start-tag closing", p);
        p++;
        if (!ParseContent(p, iElement, iParent, pstrDataEnd)) return false;
        if (p < m_pstrEnd && !ParseEndTag(p, pstrName, nNameLength)) return false;
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
        if (iParent <= 1) return true; // an unterminated root, or child of the root, ends with the text
        return Fail(L"Expected end-tag start", p);
    }
    if (p + 1 < m_pstrEnd && p[1] == L'/') return true;
    // Each level of nesting costs stack; markup from outside must not be able to exhaust it.
    if (m_nDepth >= MAX_DEPTH) return Fail(L"Elements nested too deeply", p);
    m_nDepth++;
    bool bParsed = ParseElementList(p, iElement);
    m_nDepth--;
    return bParsed;
}

bool CXmlDocUI::ParseEndTag(LPWSTR& p, LPCWSTR pstrName, ULONG nNameLength)
{
    LPWSTR pstrTag = p;
    if (m_pstrEnd - p < 2 || p[0] != L'<' || p[1] != L'/') return Fail(L"Unmatched closing tag", pstrTag);
    p += 2;
    SkipWhitespace(p);
    if ((ULONG)(m_pstrEnd - p) < nNameLength || wcsncmp(p, pstrName, nNameLength) != 0)
        return Fail(L"Unmatched closing tag", pstrTag);
    p += nNameLength;
    SkipWhitespace(p);
    if (p >= m_pstrEnd || *p != L'>') return Fail(L"Unmatched closing tag", pstrTag);
    p++;
    return true;
}

bool CXmlDocUI::ParseAttributes(LPWSTR& p)
{
    if (p >= m_pstrEnd || *p == L'>') return true;
    // A "/" right after the name belongs to "/>" and must survive.
    if (*p != L'/') *p++ = L'\0';
    SkipWhitespace(p);
    while (p < m_pstrEnd) {
        if (*p == L'/' || *p == L'>') return true;
        while (p < m_pstrEnd && IsNameChar(*p)) p++;
        LPWSTR pstrNameEnd = p;
        SkipWhitespace(p);
        if (p >= m_pstrEnd || *p != L'=') return Fail(L"Error while parsing attributes", p);
        *pstrNameEnd = L'\0';
        p++;
        SkipWhitespace(p);
        if (p >= m_pstrEnd || *p != L'"') return Fail(L"Expected attribute value", p);
        p++;
        LPWSTR pstrValueEnd = Decode(p, L'"');
        if (p >= m_pstrEnd) return Fail(L"Error while parsing attribute string", p);
        *pstrValueEnd = L'\0';
        *p++ = L'\0';
        SkipWhitespace(p);
    }
    return true;
}

} // namespace UpdUI
