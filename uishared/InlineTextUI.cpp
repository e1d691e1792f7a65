#include "InlineTextUI.h"

#include <climits>
#include <cstdlib>
#include <cwchar>

namespace UIShared {

namespace {

// Longest text whose heap block size still fits an int of bytes.
const int kMaxLength = INT_MAX / static_cast<int>(sizeof(wchar_t)) - 1;

LPWSTR AllocText(int nLength)
{
    return static_cast<LPWSTR>(malloc(static_cast<size_t>(nLength + 1) * sizeof(wchar_t)));
}

LPWSTR ReallocText(LPWSTR pstr, int nLength)
{
    return static_cast<LPWSTR>(realloc(pstr, static_cast<size_t>(nLength + 1) * sizeof(wchar_t)));
}

int TextLength(LPCWSTR pstr, int nLength)
{
    if (pstr == nullptr) return 0;
    if (nLength < 0) {
        size_t n = wcslen(pstr);
        return n > static_cast<size_t>(kMaxLength) ? kMaxLength : static_cast<int>(n);
    }
    return nLength > kMaxLength ? kMaxLength : nLength;
}

} // namespace

CInlineTextUI::CInlineTextUI() : m_pstr(m_szBuffer)
{
    m_szBuffer[0] = L'\0';
}

CInlineTextUI::CInlineTextUI(const CInlineTextUI& src) : m_pstr(m_szBuffer)
{
    m_szBuffer[0] = L'\0';
    Assign(src.m_pstr);
}

CInlineTextUI& CInlineTextUI::operator=(const CInlineTextUI& src)
{
    if (this != &src) Assign(src.m_pstr);
    return *this;
}

CInlineTextUI::~CInlineTextUI()
{
    FreeHeap();
}

int CInlineTextUI::GetLength() const
{
    return static_cast<int>(wcslen(m_pstr));
}

LPCWSTR CInlineTextUI::GetData() const
{
    return m_pstr;
}

bool CInlineTextUI::IsEmpty() const
{
    return m_pstr[0] == L'\0';
}

wchar_t CInlineTextUI::GetAt(int nIndex) const
{
    return m_pstr[nIndex];
}

bool CInlineTextUI::IsLocal() const
{
    return m_pstr == m_szBuffer;
}

// True when pstr points into this string's own characters, which a reallocation
// or a switch between buffers would invalidate.
bool CInlineTextUI::Overlaps(LPCWSTR pstr) const
{
    if (pstr == nullptr) return false;
    return pstr >= m_pstr && pstr <= m_pstr + GetLength();
}

void CInlineTextUI::FreeHeap()
{
    if (!IsLocal()) free(m_pstr);
    m_pstr = m_szBuffer;
    m_szBuffer[0] = L'\0';
}

void CInlineTextUI::Empty()
{
    FreeHeap();
}

void CInlineTextUI::Assign(LPCWSTR pstr, int nLength)
{
    nLength = TextLength(pstr, nLength);
    if (!Overlaps(pstr)) {
        AssignUnaliased(pstr, nLength);
        return;
    }
    CInlineTextUI copy;
    copy.AssignUnaliased(pstr, nLength);
    AssignUnaliased(copy.m_pstr, nLength);
}

// A heap block is reused when the text it holds is at least as long as the new one;
// short texts always go back to the inline buffer.
void CInlineTextUI::AssignUnaliased(LPCWSTR pstr, int nLength)
{
    if (nLength > MAX_LOCAL_STRING_LEN) {
        if (IsLocal() || GetLength() < nLength) {
            LPWSTR pNew = IsLocal() ? AllocText(nLength) : ReallocText(m_pstr, nLength);
            if (pNew == nullptr) {
                FreeHeap();
                return;
            }
            m_pstr = pNew;
        }
    } else {
        FreeHeap();
    }
    if (nLength > 0) wmemcpy(m_pstr, pstr, static_cast<size_t>(nLength));
    m_pstr[nLength] = L'\0';
}

void CInlineTextUI::Append(LPCWSTR pstr, int nLength)
{
    int nAdd = TextLength(pstr, nLength);
    if (nAdd == 0) return;
    if (!Overlaps(pstr)) {
        AppendUnaliased(pstr, nAdd);
        return;
    }
    CInlineTextUI copy;
    copy.AssignUnaliased(pstr, nAdd);
    AppendUnaliased(copy.m_pstr, nAdd);
}

// On allocation failure the text stays as it was.
void CInlineTextUI::AppendUnaliased(LPCWSTR pstr, int nAdd)
{
    int nOld = GetLength();
    if (nAdd > kMaxLength - nOld) nAdd = kMaxLength - nOld;
    int nNew = nOld + nAdd;
    if (nNew > MAX_LOCAL_STRING_LEN) {
        if (IsLocal()) {
            LPWSTR pNew = AllocText(nNew);
            if (pNew == nullptr) return;
            wmemcpy(pNew, m_szBuffer, static_cast<size_t>(nOld) + 1);
            m_pstr = pNew;
        } else {
            LPWSTR pNew = ReallocText(m_pstr, nNew);
            if (pNew == nullptr) return;
            m_pstr = pNew;
        }
    }
    wmemcpy(m_pstr + nOld, pstr, static_cast<size_t>(nAdd));
    m_pstr[nNew] = L'\0';
}

} // namespace UIShared
