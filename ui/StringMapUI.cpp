#include "StringMapUI.h"

#include <cwchar>

namespace {

// Hash over the characters from the last to the first: h = h * 33 + c.
UINT HashKey(LPCWSTR key)
{
    UINT h = 0;
    for (size_t i = wcslen(key); i > 0; i--) h = h * 33u + static_cast<UINT>(key[i - 1]);
    return h;
}

} // namespace

CStringMapUI::CStringMapUI(int nSize) : m_nBuckets(0), m_aT(nullptr)
{
    Resize(nSize < 16 ? 16 : nSize);
}

CStringMapUI::~CStringMapUI()
{
    FreeAll();
}

void CStringMapUI::FreeAll()
{
    for (UINT i = 0; i < m_nBuckets; i++) {
        TStringMapEntryUI* pItem = m_aT[i];
        while (pItem != nullptr) {
            TStringMapEntryUI* pNext = pItem->pNext;
            delete pItem;
            pItem = pNext;
        }
    }
    delete[] m_aT;
    m_aT = nullptr;
    m_nBuckets = 0;
}

void CStringMapUI::Resize(int nSize)
{
    FreeAll();
    if (nSize <= 0) return;
    m_aT = new TStringMapEntryUI*[static_cast<size_t>(nSize)]();
    m_nBuckets = static_cast<UINT>(nSize);
}

UINT CStringMapUI::BucketOf(LPCWSTR key) const
{
    return HashKey(key) % m_nBuckets;
}

TStringMapEntryUI* CStringMapUI::FindEntry(LPCWSTR key) const
{
    if (m_nBuckets == 0 || key == nullptr) return nullptr;
    for (TStringMapEntryUI* pItem = m_aT[BucketOf(key)]; pItem != nullptr; pItem = pItem->pNext) {
        if (pItem->Key.Compare(key)) return pItem;
    }
    return nullptr;
}

LPVOID CStringMapUI::Find(LPCWSTR key) const
{
    TStringMapEntryUI* pItem = FindEntry(key);
    return pItem == nullptr ? nullptr : pItem->Data;
}

bool CStringMapUI::Insert(LPCWSTR key, LPVOID pData)
{
    if (m_nBuckets == 0 || key == nullptr) return false;
    if (FindEntry(key) != nullptr) return false;
    UINT slot = BucketOf(key);
    TStringMapEntryUI* pItem = new TStringMapEntryUI;
    pItem->Key = key;
    pItem->Data = pData;
    pItem->pNext = m_aT[slot];
    m_aT[slot] = pItem;
    return true;
}

LPVOID CStringMapUI::Set(LPCWSTR key, LPVOID pData)
{
    if (m_nBuckets == 0) return pData;
    TStringMapEntryUI* pItem = FindEntry(key);
    if (pItem == nullptr) {
        Insert(key, pData);
        return nullptr;
    }
    LPVOID pOld = pItem->Data;
    pItem->Data = pData;
    return pOld;
}

bool CStringMapUI::Remove(LPCWSTR key)
{
    if (m_nBuckets == 0 || key == nullptr) return false;
    TStringMapEntryUI** ppItem = &m_aT[BucketOf(key)];
    while (*ppItem != nullptr) {
        TStringMapEntryUI* pItem = *ppItem;
        if (pItem->Key.Compare(key)) {
            *ppItem = pItem->pNext;
            delete pItem;
            return true;
        }
        ppItem = &pItem->pNext;
    }
    return false;
}

int CStringMapUI::GetSize() const
{
    int nCount = 0;
    for (UINT i = 0; i < m_nBuckets; i++) {
        for (TStringMapEntryUI* pItem = m_aT[i]; pItem != nullptr; pItem = pItem->pNext) nCount++;
    }
    return nCount;
}

// Walk order: buckets from the last to the first, each chain from its head.
LPCWSTR CStringMapUI::GetAt(int iIndex) const
{
    if (iIndex < 0) return nullptr;
    int nPos = 0;
    for (UINT i = m_nBuckets; i > 0; i--) {
        for (TStringMapEntryUI* pItem = m_aT[i - 1]; pItem != nullptr; pItem = pItem->pNext) {
            if (nPos++ == iIndex) return pItem->Key.GetData();
        }
    }
    return nullptr;
}
