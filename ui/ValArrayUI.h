#pragma once

// Growable array of fixed-size values, copied in byte by byte.
class CValArrayUI
{
public:
    explicit CValArrayUI(int iElementSize, int iPreallocSize = 0);
    CValArrayUI(const CValArrayUI& src);
    CValArrayUI& operator=(const CValArrayUI& src);
    ~CValArrayUI();

    void Empty();
    bool IsEmpty() const;
    int GetSize() const;
    bool Add(const void* pData);
    void* GetAt(int iIndex) const;

private:
    bool Grow();

    unsigned char* m_pVoid;
    int m_iElementSize;
    int m_nCount;
    int m_nAllocated;
};
