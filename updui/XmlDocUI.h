#pragma once
#include <windows.h>

#include "uishared/XmlStoreUI.h"

namespace UpdUI {

class CXmlDocUI;

// One element of a parsed markup document. A node is a small handle into its document
// and stays valid only while the document keeps its text.
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
    // The element's text, entities decoded.
    LPCWSTR GetValue() const;

    bool HasAttributes();
    int GetAttributeCount();
    LPCWSTR GetAttributeName(int iIndex);
    LPCWSTR GetAttributeValue(int iIndex);
    // Copies the value of the first attribute of that name into a buffer of cchBuffer
    // characters, cut to fit and always terminated; false when there is no such attribute.
    bool GetAttributeValue(LPCWSTR pstrName, LPWSTR pstrValue, int cchBuffer);

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

// Small non-validating XML parser working in place on one UTF-16 copy of the markup:
// names, values and texts stay inside that buffer, terminated by overwriting delimiters,
// and the elements are records in one growing array.
class CXmlDocUI : public UIShared::CXmlStoreUI
{
public:
    enum {
        ENCODING_UTF8 = 0,
        ENCODING_UNICODE = 1,
        ENCODING_ANSI = 2,
    };
    enum { MAX_FILE_SIZE = 0x400000 };
    // Deepest nesting of elements a document may have; deeper markup is a parse error.
    enum { MAX_DEPTH = 256 };

    explicit CXmlDocUI(LPCWSTR pstrText = nullptr);
    CXmlDocUI(const CXmlDocUI&) = delete;
    CXmlDocUI& operator=(const CXmlDocUI&) = delete;

    bool Load(LPCWSTR pstrText);
    bool LoadFromMemory(const BYTE* pData, DWORD dwSize, int iEncoding);
    // A markup name below the resource folder, or an item of the skin zip when one is set.
    bool LoadFromFile(LPCWSTR pstrName, int iEncoding);

    CXmlNodeUI GetRoot();
    void SetPreserveWhitespace(bool bPreserve);

private:
    friend class CXmlNodeUI;

    bool TakeText(LPWSTR pstrText, ULONG nLength);

    bool Parse();
    bool ParseElementList(LPWSTR& p, ULONG iParent);
    bool ParseElement(LPWSTR& p, ULONG iElement, ULONG iParent);
    bool ParseAttributes(LPWSTR& p);
    bool ParseContent(LPWSTR& p, ULONG iElement, ULONG iParent, LPWSTR& pstrDataEnd);
    bool ParseEndTag(LPWSTR& p, LPCWSTR pstrName, ULONG nNameLength);
};

} // namespace UpdUI
