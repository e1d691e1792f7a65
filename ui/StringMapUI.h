#pragma once
#include "StringUI.h"

// Entry of CStringMapUI's bucket chains; the map owns the entry and its key copy.
struct TStringMapEntryUI
{
    CStringUI Key;
    LPVOID Data;
    TStringMapEntryUI* pNext;
};

// String-keyed hash map of untyped pointers (values are never freed by the map).
class CStringMapUI
{
public:
    explicit CStringMapUI(int nSize = 83);
    ~CStringMapUI();
    CStringMapUI(const CStringMapUI&) = delete;
    CStringMapUI& operator=(const CStringMapUI&) = delete;

    void Resize(int nSize = 83);
    LPVOID Find(LPCWSTR key) const;
    bool Insert(LPCWSTR key, LPVOID pData);
    LPVOID Set(LPCWSTR key, LPVOID pData);
    bool Remove(LPCWSTR key);
    int GetSize() const;
    LPCWSTR GetAt(int iIndex) const;

private:
    void FreeAll();
    UINT BucketOf(LPCWSTR key) const;
    TStringMapEntryUI* FindEntry(LPCWSTR key) const;

    UINT m_nBuckets;
    TStringMapEntryUI** m_aT;
};
