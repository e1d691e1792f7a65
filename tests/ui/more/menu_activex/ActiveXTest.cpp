#include "ActiveXTest.h"

#include <cstdlib>
#include <new>

TAllocationRecord* g_pAllocationRecord = nullptr;

void* operator new(size_t nSize)
{
    // The process heap directly, so the replacement pair never mixes with the CRT's own.
    void* p = ::HeapAlloc(::GetProcessHeap(), 0, nSize != 0 ? nSize : 1);
    if (p == nullptr) throw std::bad_alloc();
    TAllocationRecord* pRecord = g_pAllocationRecord;
    if (pRecord != nullptr && nSize == pRecord->nSize && pRecord->nRecorded < 16)
        pRecord->apRecorded[pRecord->nRecorded++] = p;
    return p;
}

void operator delete(void* p) noexcept
{
    if (p != nullptr) ::HeapFree(::GetProcessHeap(), 0, p);
}

void operator delete(void* p, size_t) noexcept
{
    if (p != nullptr) ::HeapFree(::GetProcessHeap(), 0, p);
}

CHostWnd* ActiveXTest::sharedHost = nullptr;
CTestControlFactory* ActiveXTest::testFactory = nullptr;
CTestControlFactory* ActiveXTest::browserFactory = nullptr;
TTestControlConfig ActiveXTest::config;
TTestControlLog ActiveXTest::controlLog;
TFakeBrowserLog ActiveXTest::browserLog;

LONG Himetric(int nPixels, int nIndex)
{
    HDC hDC = ::GetDC(nullptr);
    int nDpi = ::GetDeviceCaps(hDC, nIndex);
    ::ReleaseDC(nullptr, hDC);
    return ::MulDiv(2540, nPixels, nDpi);
}

bool SameRect(const RECT& a, const RECT& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}
