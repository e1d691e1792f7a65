// Counts calls into the C runtime that the code under test makes, where a test must show
// how much work a call does without timing it. The program (the libraries' code and the
// test's alike) reaches each runtime function through one entry of its import table; a
// counter takes that entry over for its lifetime and gives it back.
#pragma once
#include <windows.h>

#include <cstddef>
#include <cwchar>

extern "C" void*(__cdecl* __MINGW_IMP_SYMBOL(malloc))(size_t);
extern "C" wchar_t*(__cdecl* __MINGW_IMP_SYMBOL(wcschr))(const wchar_t*, wchar_t);

// Puts pfn in an import table entry for the lifetime of the object.
template <class Proc> class TImportEntrySwap
{
public:
    TImportEntrySwap(Proc* pEntry, Proc pfn) : m_pEntry(pEntry), m_pfnOld(*pEntry) { Set(pfn); }
    ~TImportEntrySwap() { Set(m_pfnOld); }
    TImportEntrySwap(const TImportEntrySwap&) = delete;
    TImportEntrySwap& operator=(const TImportEntrySwap&) = delete;

private:
    void Set(Proc pfn)
    {
        DWORD dwOld = 0;
        VirtualProtect(m_pEntry, sizeof(Proc), PAGE_READWRITE, &dwOld);
        *m_pEntry = pfn;
        VirtualProtect(m_pEntry, sizeof(Proc), dwOld, &dwOld);
    }
    Proc* m_pEntry;
    Proc m_pfnOld;
};

// Allocations of at least nMinBytes made while the counter lives.
class CLargeAllocationCounter
{
public:
    typedef void*(__cdecl* MallocProc)(size_t);
    explicit CLargeAllocationCounter(size_t nMinBytes) : m_swap(Arm(nMinBytes), &Counting) { }
    int Count() const { return s_nCount; }

private:
    static MallocProc* Arm(size_t nMinBytes)
    {
        s_pfnReal = __MINGW_IMP_SYMBOL(malloc);
        s_nMinBytes = nMinBytes;
        s_nCount = 0;
        return &__MINGW_IMP_SYMBOL(malloc);
    }
    static void* __cdecl Counting(size_t nBytes)
    {
        if (nBytes >= s_nMinBytes) s_nCount++;
        return s_pfnReal(nBytes);
    }
    static inline MallocProc s_pfnReal = nullptr;
    static inline size_t s_nMinBytes = 0;
    static inline int s_nCount = 0;
    TImportEntrySwap<MallocProc> m_swap;
};

// Searches for a character that found none: each went through to the end of its text.
class CFailedCharSearchCounter
{
public:
    typedef wchar_t*(__cdecl* WcschrProc)(const wchar_t*, wchar_t);
    CFailedCharSearchCounter() : m_swap(Arm(), &Counting) { }
    int Count() const { return s_nCount; }

private:
    static WcschrProc* Arm()
    {
        s_pfnReal = __MINGW_IMP_SYMBOL(wcschr);
        s_nCount = 0;
        return &__MINGW_IMP_SYMBOL(wcschr);
    }
    static wchar_t* __cdecl Counting(const wchar_t* pstr, wchar_t ch)
    {
        wchar_t* pFound = s_pfnReal(pstr, ch);
        if (pFound == nullptr) s_nCount++;
        return pFound;
    }
    static inline WcschrProc s_pfnReal = nullptr;
    static inline int s_nCount = 0;
    TImportEntrySwap<WcschrProc> m_swap;
};
