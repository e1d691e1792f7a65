#pragma once
#include <windows.h>

#include "uishared/XmlStoreUI.h"

class CXmlDocUI;

// One element of a parsed markup document, as the skin builder walks it. A node is a
// small handle into its document: it stays valid only while the document keeps its text.
class CXmlNodeUI
{
public:
    enum { MAX_ATTRIBUTES = 64 };

    CXmlNodeUI();

    bool IsValid() const;
    LPCWSTR GetName() const;
    CXmlNodeUI GetChild() const;
    CXmlNodeUI GetSibling() const;
    bool HasChildren() const;

    int GetAttributeCount();
    bool HasAttributes();
    LPCWSTR GetAttributeName(int iIndex);
    LPCWSTR GetAttributeValue(int iIndex);
    // Copies at most cchMax characters; the caller's buffer holds cchMax + 1.
    bool GetAttributeValue(LPCWSTR pstrName, LPWSTR pstrValue, int cchMax);

private:
    friend class CXmlDocUI;
    CXmlNodeUI(CXmlDocUI* pDoc, ULONG iElement);
    void CollectAttributes();

    struct TAttributeUI
    {
        ULONG iName;
        ULONG iValue;
    };

    ULONG m_iElement;
    int m_nAttributes;
    TAttributeUI m_aAttributes[MAX_ATTRIBUTES];
    CXmlDocUI* m_pDoc;
};

// Small non-validating XML parser. It works in place on one UTF-16 copy of the markup:
// names, values and texts stay inside that buffer, terminated by overwriting delimiters,
// and the elements are records in one growing array.
class CXmlDocUI : public UIShared::CXmlStoreUI
{
public:
    enum {
        ENCODING_UTF8 = 1,
        ENCODING_ANSI = 3,
        ENCODING_UTF16 = 0,
    };
    enum { MAX_FILE_SIZE = 4 * 1024 * 1024 };
    // Deepest nesting of elements a document may have; deeper markup is a parse error.
    enum { MAX_DEPTH = 256 };

    explicit CXmlDocUI(LPCWSTR pstrText = nullptr);
    CXmlDocUI(const CXmlDocUI&) = delete;
    CXmlDocUI& operator=(const CXmlDocUI&) = delete;

    bool LoadFromString(LPCWSTR pstrText);
    bool LoadFromMem(const BYTE* pData, DWORD dwSize, int iEncoding);
    bool LoadFromFile(LPCWSTR pstrPath, int iEncoding);

    CXmlNodeUI GetRoot();

private:
    friend class CXmlNodeUI;

    bool TakeText(LPWSTR pstrText, ULONG nLength);
    bool DecodeBytes(const BYTE* pData, DWORD dwSize, int iEncoding);

    bool Parse();
    bool ParseElementList(LPWSTR& p, ULONG iParent);
    bool ParseElement(LPWSTR& p, ULONG iElement, ULONG iParent);
    bool ParseAttributes(LPWSTR& p);
    bool ParseContent(LPWSTR& p, ULONG iElement, ULONG iParent, LPWSTR& pstrDataEnd);
    bool ParseEndTag(LPWSTR& p, LPCWSTR pstrName, ULONG nNameLength);
};
