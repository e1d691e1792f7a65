#pragma once

// Growable array of untyped pointers; the array owns its slots, never the elements.
class CPtrArrayUI
{
public:
    explicit CPtrArrayUI(int iPreallocSize = 0);
    CPtrArrayUI(const CPtrArrayUI& src);
    CPtrArrayUI& operator=(const CPtrArrayUI& src);
    ~CPtrArrayUI();

    void Empty();
    bool IsEmpty() const;
    int GetSize() const;
    bool Add(void* pData);
    bool InsertAt(int iIndex, void* pData);
    bool Remove(int iIndex);
    int Find(void* pData) const;
    void* GetAt(int iIndex) const;

private:
    bool Grow();

    void** m_ppVoid;
    int m_nCount;
    int m_nAllocated;
};
