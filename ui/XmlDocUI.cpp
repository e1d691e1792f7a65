#include "XmlDocUI.h"

#include <stdlib.h>
#include <string.h>
#include <wchar.h>

namespace {

bool IsNameChar(WCHAR ch)
{
    if ((ch >= L'a' && ch <= L'z') || (ch >= L'A' && ch <= L'Z') || (ch >= L'0' && ch <= L'9')) return true;
    if (ch == L'_' || ch == L':') return true;
    return ch >= 0x80 && IsCharAlphaNumericW(ch);
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

int CXmlNodeUI::GetAttributeCount()
{
    if (m_pDoc == nullptr) return 0;
    if (m_nAttributes == 0) CollectAttributes();
    return m_nAttributes;
}

bool CXmlNodeUI::HasAttributes()
{
    return GetAttributeCount() > 0;
}

LPCWSTR CXmlNodeUI::GetAttributeName(int iIndex)
{
    if (m_pDoc == nullptr) return nullptr;
    if (iIndex < 0 || iIndex >= GetAttributeCount()) return L"";
    return m_pDoc->m_pstrText + m_aAttributes[iIndex].iName;
}

LPCWSTR CXmlNodeUI::GetAttributeValue(int iIndex)
{
    if (m_pDoc == nullptr) return nullptr;
    if (iIndex < 0 || iIndex >= GetAttributeCount()) return L"";
    return m_pDoc->m_pstrText + m_aAttributes[iIndex].iValue;
}

bool CXmlNodeUI::GetAttributeValue(LPCWSTR pstrName, LPWSTR pstrValue, int cchMax)
{
    if (m_pDoc == nullptr || pstrName == nullptr || pstrValue == nullptr || cchMax < 0) return false;
    int nCount = GetAttributeCount();
    for (int i = 0; i < nCount; i++) {
        if (wcscmp(m_pDoc->m_pstrText + m_aAttributes[i].iName, pstrName) != 0) continue;
        LPCWSTR pstrFound = m_pDoc->m_pstrText + m_aAttributes[i].iValue;
        size_t nCopy = wcslen(pstrFound);
        if (nCopy > (size_t)cchMax) nCopy = (size_t)cchMax;
        wmemcpy(pstrValue, pstrFound, nCopy);
        pstrValue[nCopy] = L'\0';
        return true;
    }
    return false;
}

// The parse has already checked the element's syntax; names and values are terminated in
// place, and the terminators and the blanks left by decoding count as whitespace here.
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
        p = pstrValue + wcslen(pstrValue);
    }
}

// ---------------------------------------------------------------------------------------
// CXmlDocUI: loading

CXmlDocUI::CXmlDocUI(LPCWSTR pstrText) : CXmlStoreUI(false)
{
    if (pstrText != nullptr) LoadFromString(pstrText);
}

bool CXmlDocUI::LoadFromString(LPCWSTR pstrText)
{
    Release();
    ClearError();
    if (pstrText == nullptr) return Fail(L"No markup text", L"");
    size_t nLength = wcslen(pstrText);
    LPWSTR pstrCopy = (LPWSTR)malloc((nLength + 1) * sizeof(WCHAR));
    if (pstrCopy == nullptr) return Fail(L"Out of memory", L"");
    wmemcpy(pstrCopy, pstrText, nLength + 1);
    return TakeText(pstrCopy, (ULONG)nLength);
}

bool CXmlDocUI::LoadFromMem(const BYTE* pData, DWORD dwSize, int iEncoding)
{
    Release();
    ClearError();
    if (!DecodeBytes(pData, dwSize, iEncoding)) return false;
    return TakeText(m_pstrText, (ULONG)(m_pstrEnd - m_pstrText));
}

bool CXmlDocUI::LoadFromFile(LPCWSTR pstrPath, int iEncoding)
{
    Release();
    ClearError();
    HANDLE hFile =
        CreateFileW(pstrPath, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (hFile == INVALID_HANDLE_VALUE) return Fail(L"Error opening file", L"");
    LARGE_INTEGER size;
    if (!GetFileSizeEx(hFile, &size)) {
        CloseHandle(hFile);
        return Fail(L"Could not read file", L"");
    }
    if (size.QuadPart == 0) {
        CloseHandle(hFile);
        return Fail(L"File is empty", L"");
    }
    if (size.QuadPart > MAX_FILE_SIZE) {
        CloseHandle(hFile);
        return Fail(L"File too large", L"");
    }
    DWORD dwSize = (DWORD)size.QuadPart;
    BYTE* pBytes = (BYTE*)malloc(dwSize);
    if (pBytes == nullptr) {
        CloseHandle(hFile);
        return Fail(L"Out of memory", L"");
    }
    DWORD dwRead = 0;
    BOOL bRead = ReadFile(hFile, pBytes, dwSize, &dwRead, nullptr);
    CloseHandle(hFile);
    if (!bRead || dwRead != dwSize) {
        free(pBytes);
        return Fail(L"Could not read file", L"");
    }
    bool bOk = LoadFromMem(pBytes, dwSize, iEncoding);
    free(pBytes);
    return bOk;
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

bool CXmlDocUI::DecodeBytes(const BYTE* pData, DWORD dwSize, int iEncoding)
{
    if (pData == nullptr && dwSize != 0) return Fail(L"No markup text", L"");
    if (iEncoding == ENCODING_UTF8) return DecodeMultiByte(CP_UTF8, pData, dwSize);
    if (iEncoding == ENCODING_ANSI) return DecodeMultiByte(CP_ACP, pData, dwSize);
    // A last odd byte would be half a character: such a text is refused, not cut.
    if ((dwSize % 2) != 0) return Fail(L"Unsupported text encoding", L"");
    return DecodeUtf16(pData, dwSize);
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
    m_nDepth = 1;    // the level of the elements being read: the root is level 1
    m_nElements = 1; // slot 0 is the "no element" placeholder
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
        if (p + 1 < m_pstrEnd && p[1] == L'!') {
            SkipPast(p, L"->");
            continue;
        }
        if (p + 1 < m_pstrEnd && p[1] == L'?') {
            SkipPast(p, L"?>");
            continue;
        }
        p++;
        SkipWhitespace(p);
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
    if (p >= m_pstrEnd) return Fail(L"Error parsing element name", p);
    LPWSTR pstrNameEnd = p;
    ULONG nNameLength = (ULONG)(pstrNameEnd - pstrName);
    if (!ParseAttributes(p)) return false;
    SkipWhitespace(p);
    LPWSTR pstrDataEnd = nullptr;
    if (p + 1 < m_pstrEnd && p[0] == L'/' && p[1] == L'>') {
        pstrDataEnd = p; // an empty element: its data is the empty text at the "/"
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
    if (m_pstrEnd - p < (ptrdiff_t)nNameLength + 3 || p[0] != L'<' || p[1] != L'/' ||
        wcsncmp(p + 2, pstrName, nNameLength) != 0 || p[2 + nNameLength] != L'>')
        return Fail(L"Unmatched closing tag", p);
    p += nNameLength + 3;
    return true;
}

bool CXmlDocUI::ParseAttributes(LPWSTR& p)
{
    if (*p == L'>') return true;
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
        if (p >= m_pstrEnd || *p != L'"') return Fail(L"Expected attribute value", p < m_pstrEnd ? p + 1 : p);
        p++;
        LPWSTR pstrValueEnd = Decode(p, L'"');
        if (p >= m_pstrEnd) return Fail(L"Error while parsing attribute string", p);
        *pstrValueEnd = L'\0';
        *p++ = L'\0';
        SkipWhitespace(p);
    }
    return true;
}
