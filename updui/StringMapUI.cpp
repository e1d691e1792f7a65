#include "StringMapUI.h"

#include <new>

namespace UpdUI {

namespace {

const int kMinBuckets = 16;

} // namespace

CStringMapUI::CStringMapUI(int nSize) : m_nBuckets(0), m_aT(nullptr), m_nCount(0)
{
    Resize(nSize < kMinBuckets ? kMinBuckets : nSize);
}

CStringMapUI::~CStringMapUI()
{
    FreeAll();
}

// Reads the key from its last character to its first.
UINT CStringMapUI::HashKey(LPCWSTR key)
{
    UINT h = 0;
    if (key == nullptr) return h;
    size_t n = wcslen(key);
    while (n > 0) h = h * 33 + key[--n];
    return h;
}

void CStringMapUI::FreeAll()
{
    for (UINT i = 0; i < m_nBuckets; ++i) {
        TStringMapEntryUI* pEntry = m_aT[i];
        while (pEntry != nullptr) {
            TStringMapEntryUI* pNext = pEntry->pNext;
            delete pEntry;
            pEntry = pNext;
        }
    }
    delete[] m_aT;
    m_aT = nullptr;
    m_nBuckets = 0;
    m_nCount = 0;
}

void CStringMapUI::Resize(int nSize)
{
    FreeAll();
    if (nSize <= 0) return;
    m_aT = new (std::nothrow) TStringMapEntryUI*[static_cast<size_t>(nSize)]();
    if (m_aT != nullptr) m_nBuckets = static_cast<UINT>(nSize);
}

void CStringMapUI::RemoveAll()
{
    Resize(static_cast<int>(m_nBuckets));
}

int CStringMapUI::GetBucketCount() const
{
    return static_cast<int>(m_nBuckets);
}

TStringMapEntryUI* CStringMapUI::FindEntry(LPCWSTR key) const
{
    if (m_nBuckets == 0 || key == nullptr) return nullptr;
    for (TStringMapEntryUI* pEntry = m_aT[HashKey(key) % m_nBuckets]; pEntry != nullptr; pEntry = pEntry->pNext) {
        if (pEntry->Key == key) return pEntry;
    }
    return nullptr;
}

void CStringMapUI::Unlink(TStringMapEntryUI* pEntry)
{
    if (pEntry->pPrev != nullptr) {
        pEntry->pPrev->pNext = pEntry->pNext;
    } else {
        m_aT[HashKey(pEntry->Key.GetData()) % m_nBuckets] = pEntry->pNext;
    }
    if (pEntry->pNext != nullptr) pEntry->pNext->pPrev = pEntry->pPrev;
    pEntry->pPrev = pEntry->pNext = nullptr;
}

void CStringMapUI::LinkFirst(TStringMapEntryUI* pEntry)
{
    TStringMapEntryUI*& pHead = m_aT[HashKey(pEntry->Key.GetData()) % m_nBuckets];
    pEntry->pPrev = nullptr;
    pEntry->pNext = pHead;
    if (pHead != nullptr) pHead->pPrev = pEntry;
    pHead = pEntry;
}

LPVOID CStringMapUI::Find(LPCWSTR key, bool bMoveToFront)
{
    TStringMapEntryUI* pEntry = FindEntry(key);
    if (pEntry == nullptr) return nullptr;
    if (bMoveToFront && pEntry->pPrev != nullptr) {
        Unlink(pEntry);
        LinkFirst(pEntry);
    }
    return pEntry->Data;
}

bool CStringMapUI::Insert(LPCWSTR key, LPVOID pData)
{
    if (m_nBuckets == 0 || key == nullptr || FindEntry(key) != nullptr) return false;
    TStringMapEntryUI* pEntry = new (std::nothrow) TStringMapEntryUI;
    if (pEntry == nullptr) return false;
    pEntry->Key = key;
    pEntry->Data = pData;
    LinkFirst(pEntry);
    ++m_nCount;
    return true;
}

LPVOID CStringMapUI::Set(LPCWSTR key, LPVOID pData)
{
    TStringMapEntryUI* pEntry = FindEntry(key);
    if (pEntry == nullptr) {
        Insert(key, pData);
        return nullptr;
    }
    LPVOID pOld = pEntry->Data;
    pEntry->Data = pData;
    return pOld;
}

bool CStringMapUI::Remove(LPCWSTR key)
{
    TStringMapEntryUI* pEntry = FindEntry(key);
    if (pEntry == nullptr) return false;
    Unlink(pEntry);
    delete pEntry;
    --m_nCount;
    return true;
}

int CStringMapUI::GetSize() const
{
    return m_nCount;
}

// Buckets from the last to the first, each chain from its head.
LPCWSTR CStringMapUI::GetAt(int iIndex) const
{
    if (iIndex < 0) return nullptr;
    int iPos = 0;
    for (UINT i = m_nBuckets; i-- > 0;) {
        for (TStringMapEntryUI* pEntry = m_aT[i]; pEntry != nullptr; pEntry = pEntry->pNext) {
            if (iPos++ == iIndex) return pEntry->Key.GetData();
        }
    }
    return nullptr;
}

} // namespace UpdUI
