#include "ValArrayUI.h"

#include <climits>
#include <cstdlib>
#include <cstring>

CValArrayUI::CValArrayUI(int iElementSize, int iPreallocSize)
    : m_pVoid(nullptr), m_iElementSize(iElementSize > 0 ? iElementSize : 1), m_nCount(0), m_nAllocated(0)
{
    if (iPreallocSize > 0 && iPreallocSize <= INT_MAX / m_iElementSize) {
        m_pVoid = static_cast<unsigned char*>(
            malloc(static_cast<size_t>(m_iElementSize) * static_cast<size_t>(iPreallocSize)));
        if (m_pVoid != nullptr) m_nAllocated = iPreallocSize;
    }
}

CValArrayUI::CValArrayUI(const CValArrayUI& src)
    : m_pVoid(nullptr), m_iElementSize(src.m_iElementSize), m_nCount(0), m_nAllocated(0)
{
    for (int i = 0; i < src.GetSize(); i++) Add(src.GetAt(i));
}

CValArrayUI& CValArrayUI::operator=(const CValArrayUI& src)
{
    if (this == &src) return *this;
    Empty();
    m_iElementSize = src.m_iElementSize;
    for (int i = 0; i < src.GetSize(); i++) Add(src.GetAt(i));
    return *this;
}

CValArrayUI::~CValArrayUI()
{
    free(m_pVoid);
}

void CValArrayUI::Empty()
{
    free(m_pVoid);
    m_pVoid = nullptr;
    m_nCount = m_nAllocated = 0;
}

bool CValArrayUI::IsEmpty() const
{
    return m_nCount == 0;
}

int CValArrayUI::GetSize() const
{
    return m_nCount;
}

// Same growth rule as the pointer array; the byte size is checked before it can wrap.
bool CValArrayUI::Grow()
{
    if (m_nCount == INT_MAX) return false;
    int nNewCount = m_nCount + 1;
    if (nNewCount >= m_nAllocated) {
        if (m_nAllocated > INT_MAX / 2) return false;
        int nAllocated = m_nAllocated == 0 ? 11 : m_nAllocated * 2;
        if (nAllocated > INT_MAX / m_iElementSize) return false;
        void* pNew = realloc(m_pVoid, static_cast<size_t>(nAllocated) * static_cast<size_t>(m_iElementSize));
        if (pNew == nullptr) return false;
        m_pVoid = static_cast<unsigned char*>(pNew);
        m_nAllocated = nAllocated;
    }
    m_nCount = nNewCount;
    return true;
}

bool CValArrayUI::Add(const void* pData)
{
    if (!Grow()) return false;
    memcpy(m_pVoid + static_cast<size_t>(m_nCount - 1) * static_cast<size_t>(m_iElementSize), pData,
           static_cast<size_t>(m_iElementSize));
    return true;
}

void* CValArrayUI::GetAt(int iIndex) const
{
    return m_pVoid + static_cast<size_t>(iIndex) * static_cast<size_t>(m_iElementSize);
}
