#pragma once
#include <windows.h>

namespace UIShared {

// What both markup parsers keep of a document and do alike: the UTF-16 text edited in
// place, the element records in one growing array, the last error, and the in-place
// decoding of entities. The tokenizer itself, the loading and the node handles belong to
// each library's document, since those differ between them.
class CXmlStoreUI
{
public:
    CXmlStoreUI(const CXmlStoreUI&) = delete;
    CXmlStoreUI& operator=(const CXmlStoreUI&) = delete;

    void Release();
    LPCWSTR GetLastErrorMessage() const;
    LPCWSTR GetLastErrorLocation() const;

protected:
    explicit CXmlStoreUI(bool bPreserveWhitespace);
    ~CXmlStoreUI();

    struct TElementUI
    {
        ULONG iName;
        ULONG iChild;
        ULONG iNext;
        ULONG iParent;
        ULONG iData;
    };

    // Both leave a terminated text in m_pstrText..m_pstrEnd, or fail with the error set.
    bool DecodeMultiByte(UINT uCodePage, const BYTE* pData, DWORD dwSize);
    bool DecodeUtf16(const BYTE* pData, DWORD dwSize);

    LPWSTR Decode(LPWSTR& p, WCHAR chStop);
    void SkipUnchanged(LPWSTR& p, WCHAR chStop) const;
    void SkipWhitespace(LPWSTR& p) const;
    void SkipPast(LPWSTR& p, LPCWSTR pstrMarker) const;
    bool GrowElements();
    ULONG AppendElement(LPWSTR pstrName, ULONG iParent);
    bool Fail(LPCWSTR pstrMessage, LPCWSTR pstrLocation = L"");
    void ClearError();

    LPWSTR m_pstrText;
    LPWSTR m_pstrEnd;
    TElementUI* m_pElements;
    ULONG m_nElements;
    ULONG m_nReservedElements;
    ULONG m_nDepth;
    WCHAR m_szErrorMsg[100];
    WCHAR m_szErrorXml[50];
    bool m_bPreserveWhitespace;
};

} // namespace UIShared
