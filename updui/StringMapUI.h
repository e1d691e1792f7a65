#pragma once
#include <windows.h>

#include "StringUI.h"

namespace UpdUI {

// Entry of CStringMapUI's doubly linked bucket chains; the map owns it and its key.
struct TStringMapEntryUI
{
    CStringUI Key;
    LPVOID Data;
    TStringMapEntryUI* pPrev;
    TStringMapEntryUI* pNext;
};

// String-keyed hash map of untyped pointers; the values are never freed by the map.
class CStringMapUI
{
public:
    explicit CStringMapUI(int nSize = 83);
    ~CStringMapUI();
    CStringMapUI(const CStringMapUI&) = delete;
    CStringMapUI& operator=(const CStringMapUI&) = delete;

    LPVOID Find(LPCWSTR key, bool bMoveToFront = true);
    bool Insert(LPCWSTR key, LPVOID pData);
    LPVOID Set(LPCWSTR key, LPVOID pData);
    bool Remove(LPCWSTR key);
    int GetSize() const;
    LPCWSTR GetAt(int iIndex) const;
    void Resize(int nSize = 83);
    void RemoveAll();
    int GetBucketCount() const;

    static UINT HashKey(LPCWSTR key);

private:
    void FreeAll();
    TStringMapEntryUI* FindEntry(LPCWSTR key) const;
    void Unlink(TStringMapEntryUI* pEntry);
    void LinkFirst(TStringMapEntryUI* pEntry);

    UINT m_nBuckets;
    TStringMapEntryUI** m_aT;
    int m_nCount;
};

} // namespace UpdUI
