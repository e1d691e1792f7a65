// The font table's release under guarded memory: while a table lives, every
// block the program allocates gets pages of its own that are given back the
// moment it is freed, so a read of a freed block faults at once instead of
// finding whatever the heap left there (which is how a long fuzzing run met
// it: now and then, when the heap had given the pages back).
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <vector>

#include "FontTableUI.h"
#include "RuntimeCallCounter.h"

extern "C" void*(__cdecl* __MINGW_IMP_SYMBOL(realloc))(void*, size_t);
extern "C" void(__cdecl* __MINGW_IMP_SYMBOL(free))(void*);

namespace {

// Every allocation on pages of its own, released on free.
class CGuardedHeap
{
public:
    typedef void*(__cdecl* MallocProc)(size_t);
    typedef void*(__cdecl* ReallocProc)(void*, size_t);
    typedef void(__cdecl* FreeProc)(void*);

    CGuardedHeap()
        : m_malloc(&__MINGW_IMP_SYMBOL(malloc), &Allocate), m_realloc(&__MINGW_IMP_SYMBOL(realloc), &Reallocate),
          m_free(&__MINGW_IMP_SYMBOL(free), &Release)
    { }

private:
    static const size_t kHeader = 16;

    static void* __cdecl Allocate(size_t nBytes)
    {
        BYTE* pBase =
            static_cast<BYTE*>(::VirtualAlloc(nullptr, nBytes + kHeader, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
        if (pBase == nullptr) return nullptr;
        *reinterpret_cast<size_t*>(pBase) = nBytes;
        return pBase + kHeader;
    }
    static void* __cdecl Reallocate(void* pOld, size_t nBytes)
    {
        void* pNew = Allocate(nBytes);
        if (pNew != nullptr && pOld != nullptr) {
            size_t nOld = *reinterpret_cast<size_t*>(static_cast<BYTE*>(pOld) - kHeader);
            memcpy(pNew, pOld, nOld < nBytes ? nOld : nBytes);
            Release(pOld);
        }
        return pNew;
    }
    static void __cdecl Release(void* p)
    {
        if (p != nullptr) ::VirtualFree(static_cast<BYTE*>(p) - kHeader, 0, MEM_RELEASE);
    }

    TImportEntrySwap<MallocProc> m_malloc;
    TImportEntrySwap<ReallocProc> m_realloc;
    TImportEntrySwap<FreeProc> m_free;
};

bool IsLiveFont(HFONT hFont)
{
    return ::GetObjectType(hFont) == OBJ_FONT;
}

// Numbered fonts, one of them listed twice and one also the default: each
// handle is deleted once, and no entry is read after it was freed (which
// would fault here and end the test program).
TEST(FontTableRelease, EveryHandleGoesOnceAndNoEntryIsReadAfterItIsFreed)
{
    std::vector<HFONT> fonts;
    for (int size = 9; size < 40; size++) fonts.push_back(CFontTableUI::MakeFont(L"Arial", size, false, false, false));
    HFONT hDefault = nullptr;
    {
        CGuardedHeap guarded;
        CFontTableUI* pTable = new CFontTableUI();
        for (HFONT hFont : fonts) pTable->AddFont(hFont, nullptr);
        pTable->AddFont(fonts[3], nullptr);
        pTable->SetDefaultFont(fonts[5], 0xFF000000, nullptr, *pTable);
        hDefault = pTable->GetDefaultFont();
        delete pTable;
    }
    EXPECT_EQ(hDefault, fonts[5]);
    for (HFONT hFont : fonts) EXPECT_FALSE(IsLiveFont(hFont)) << "every numbered font is deleted";
}

} // namespace
