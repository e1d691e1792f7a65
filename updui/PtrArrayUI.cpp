#include "PtrArrayUI.h"

#include <climits>
#include <cstdlib>
#include <cstring>

namespace UpdUI {

namespace {

// Largest slot count whose block size still fits the allocator's size arithmetic.
const int kMaxSlots = INT_MAX / static_cast<int>(sizeof(void*));

} // namespace

CPtrArrayUI::CPtrArrayUI(int iPreallocSize) : m_ppVoid(nullptr), m_nCount(0), m_nAllocated(0)
{
    if (iPreallocSize <= 0 || iPreallocSize > kMaxSlots) return;
    m_ppVoid = static_cast<void**>(malloc(static_cast<size_t>(iPreallocSize) * sizeof(void*)));
    if (m_ppVoid != nullptr) m_nAllocated = iPreallocSize;
}

CPtrArrayUI::~CPtrArrayUI()
{
    free(m_ppVoid);
}

// Growth doubles the block once the new count reaches the capacity (0 becomes 11),
// so an empty array holds 10 elements in 11 slots before its first regrowth.
bool CPtrArrayUI::ReserveOneMore()
{
    int nNewCount = m_nCount + 1;
    if (nNewCount < m_nAllocated) return true;
    int nNewAlloc = m_nAllocated == 0 ? 11 : m_nAllocated * 2;
    if (m_nAllocated > kMaxSlots / 2) nNewAlloc = kMaxSlots;
    if (nNewAlloc < nNewCount) return false;
    void** ppNew = static_cast<void**>(realloc(m_ppVoid, static_cast<size_t>(nNewAlloc) * sizeof(void*)));
    if (ppNew == nullptr) return false;
    m_ppVoid = ppNew;
    m_nAllocated = nNewAlloc;
    return true;
}

bool CPtrArrayUI::Add(void* pData)
{
    if (!ReserveOneMore()) return false;
    m_ppVoid[m_nCount++] = pData;
    return true;
}

bool CPtrArrayUI::InsertAt(int iIndex, void* pData)
{
    if (iIndex == m_nCount) return Add(pData);
    if (iIndex < 0 || iIndex > m_nCount) return false;
    if (!ReserveOneMore()) return false;
    memmove(&m_ppVoid[iIndex + 1], &m_ppVoid[iIndex], static_cast<size_t>(m_nCount - iIndex) * sizeof(void*));
    m_ppVoid[iIndex] = pData;
    ++m_nCount;
    return true;
}

bool CPtrArrayUI::Remove(int iIndex)
{
    if (iIndex < 0 || iIndex >= m_nCount) return false;
    --m_nCount;
    if (iIndex < m_nCount) {
        memmove(&m_ppVoid[iIndex], &m_ppVoid[iIndex + 1], static_cast<size_t>(m_nCount - iIndex) * sizeof(void*));
    }
    return true;
}

int CPtrArrayUI::Find(void* pData) const
{
    for (int i = 0; i < m_nCount; ++i) {
        if (m_ppVoid[i] == pData) return i;
    }
    return -1;
}

void* CPtrArrayUI::GetAt(int iIndex) const
{
    if (iIndex < 0 || iIndex >= m_nCount) return nullptr;
    return m_ppVoid[iIndex];
}

int CPtrArrayUI::GetCount() const
{
    return m_nCount;
}

bool CPtrArrayUI::IsEmpty() const
{
    return m_nCount == 0;
}

void CPtrArrayUI::Resize(int iSize)
{
    Empty();
    if (iSize <= 0 || iSize > kMaxSlots) return;
    m_ppVoid = static_cast<void**>(calloc(static_cast<size_t>(iSize), sizeof(void*)));
    if (m_ppVoid == nullptr) return;
    m_nCount = m_nAllocated = iSize;
}

void CPtrArrayUI::Empty()
{
    free(m_ppVoid);
    m_ppVoid = nullptr;
    m_nCount = 0;
    m_nAllocated = 0;
}

} // namespace UpdUI
