#include "PtrArrayUI.h"

#include <climits>
#include <cstdlib>
#include <cstring>

CPtrArrayUI::CPtrArrayUI(int iPreallocSize) : m_ppVoid(nullptr), m_nCount(0), m_nAllocated(0)
{
    if (iPreallocSize > 0) {
        m_ppVoid = static_cast<void**>(malloc(sizeof(void*) * static_cast<size_t>(iPreallocSize)));
        if (m_ppVoid != nullptr) m_nAllocated = iPreallocSize;
    }
}

CPtrArrayUI::CPtrArrayUI(const CPtrArrayUI& src) : m_ppVoid(nullptr), m_nCount(0), m_nAllocated(0)
{
    for (int i = 0; i < src.GetSize(); i++) Add(src.GetAt(i));
}

CPtrArrayUI& CPtrArrayUI::operator=(const CPtrArrayUI& src)
{
    if (this == &src) return *this;
    Empty();
    for (int i = 0; i < src.GetSize(); i++) Add(src.GetAt(i));
    return *this;
}

CPtrArrayUI::~CPtrArrayUI()
{
    free(m_ppVoid);
}

void CPtrArrayUI::Empty()
{
    free(m_ppVoid);
    m_ppVoid = nullptr;
    m_nCount = m_nAllocated = 0;
}

bool CPtrArrayUI::IsEmpty() const
{
    return m_nCount == 0;
}

int CPtrArrayUI::GetSize() const
{
    return m_nCount;
}

// Makes room for one more slot: the count is raised, and the block doubles when the
// new count reaches the capacity. On failure nothing changes.
bool CPtrArrayUI::Grow()
{
    if (m_nCount == INT_MAX) return false;
    int nNewCount = m_nCount + 1;
    if (nNewCount >= m_nAllocated) {
        if (m_nAllocated > INT_MAX / 2) return false;
        int nAllocated = m_nAllocated == 0 ? 11 : m_nAllocated * 2;
        void** ppNew = static_cast<void**>(realloc(m_ppVoid, sizeof(void*) * static_cast<size_t>(nAllocated)));
        if (ppNew == nullptr) return false;
        m_ppVoid = ppNew;
        m_nAllocated = nAllocated;
    }
    m_nCount = nNewCount;
    return true;
}

bool CPtrArrayUI::Add(void* pData)
{
    if (!Grow()) return false;
    m_ppVoid[m_nCount - 1] = pData;
    return true;
}

bool CPtrArrayUI::InsertAt(int iIndex, void* pData)
{
    if (iIndex == m_nCount) return Add(pData);
    if (iIndex < 0 || iIndex > m_nCount) return false;
    if (!Grow()) return false;
    memmove(&m_ppVoid[iIndex + 1], &m_ppVoid[iIndex], static_cast<size_t>(m_nCount - 1 - iIndex) * sizeof(void*));
    m_ppVoid[iIndex] = pData;
    return true;
}

bool CPtrArrayUI::Remove(int iIndex)
{
    if (iIndex < 0 || iIndex >= m_nCount) return false;
    m_nCount--;
    if (iIndex < m_nCount) {
        memmove(&m_ppVoid[iIndex], &m_ppVoid[iIndex + 1], static_cast<size_t>(m_nCount - iIndex) * sizeof(void*));
    }
    return true;
}

int CPtrArrayUI::Find(void* pData) const
{
    for (int i = 0; i < m_nCount; i++) {
        if (m_ppVoid[i] == pData) return i;
    }
    return -1;
}

void* CPtrArrayUI::GetAt(int iIndex) const
{
    return m_ppVoid[iIndex];
}
