#pragma once

namespace UpdUI {

// Growable array of untyped pointers on the C runtime heap; never owns the elements.
class CPtrArrayUI
{
public:
    explicit CPtrArrayUI(int iPreallocSize = 0);
    ~CPtrArrayUI();
    CPtrArrayUI(const CPtrArrayUI&) = delete;
    CPtrArrayUI& operator=(const CPtrArrayUI&) = delete;

    bool Add(void* pData);
    bool InsertAt(int iIndex, void* pData);
    bool Remove(int iIndex);
    int Find(void* pData) const;
    void* GetAt(int iIndex) const;
    void* operator[](int iIndex) const { return m_ppVoid[iIndex]; } // unchecked, for inner loops
    int GetCount() const;
    bool IsEmpty() const;
    void Resize(int iSize);
    void Empty();

private:
    bool ReserveOneMore();

    void** m_ppVoid;
    int m_nCount;
    int m_nAllocated;
};

} // namespace UpdUI
