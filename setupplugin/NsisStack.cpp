#include "NsisStack.h"

#include <cstddef>
#include <cstdlib>

namespace {

// Characters read for a number: enough for any decimal 32-bit value.
const size_t kNumberChars = 256;

} // namespace

CNsisStack::CNsisStack(TNsisStackEntry** stackTop, int stringSize) : m_stackTop(stackTop), m_stringSize(stringSize) { }

bool CNsisStack::IsEmpty() const
{
    return m_stackTop == nullptr || *m_stackTop == nullptr;
}

size_t CNsisStack::EntryChars() const
{
    return m_stringSize > 0 ? static_cast<size_t>(m_stringSize) : 1;
}

bool CNsisStack::Pop(wchar_t* pstrBuffer, size_t cchBuffer)
{
    if (pstrBuffer != nullptr && cchBuffer > 0) pstrBuffer[0] = L'\0';
    if (IsEmpty()) return false;
    TNsisStackEntry* pEntry = *m_stackTop;
    // The entry holds at most the string size; the caller's buffer may be smaller.
    if (pstrBuffer != nullptr && cchBuffer > 0) {
        size_t cchCopy = cchBuffer < EntryChars() ? cchBuffer : EntryChars();
        ::lstrcpynW(pstrBuffer, pEntry->text, static_cast<int>(cchCopy));
    }
    *m_stackTop = pEntry->next;
    ::GlobalFree(static_cast<HGLOBAL>(pEntry));
    return true;
}

long CNsisStack::PopLong()
{
    wchar_t number[kNumberChars];
    Pop(number, kNumberChars);
    return _wtol(number);
}

bool CNsisStack::Push(LPCWSTR pstrText)
{
    if (m_stackTop == nullptr) return false;
    size_t cbEntry = offsetof(TNsisStackEntry, text) + (EntryChars() + 1) * sizeof(wchar_t);
    TNsisStackEntry* pEntry = static_cast<TNsisStackEntry*>(::GlobalAlloc(GPTR, cbEntry));
    if (pEntry == nullptr) return false;
    ::lstrcpynW(pEntry->text, pstrText != nullptr ? pstrText : L"", static_cast<int>(EntryChars()));
    pEntry->next = *m_stackTop;
    *m_stackTop = pEntry;
    return true;
}
