#include "StringUI.h"

#include <climits>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>

namespace {

// Longest text whose heap block size still fits an int of bytes.
const int kMaxLength = INT_MAX / static_cast<int>(sizeof(wchar_t)) - 1;

LPWSTR AllocText(int nLength)
{
    return static_cast<LPWSTR>(malloc(static_cast<size_t>(nLength + 1) * sizeof(wchar_t)));
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

CStringUI::CStringUI() : m_pstr(m_szBuffer)
{
    m_szBuffer[0] = L'\0';
}

CStringUI::CStringUI(LPCWSTR lpsz, int nLen) : m_pstr(m_szBuffer)
{
    m_szBuffer[0] = L'\0';
    Assign(lpsz, nLen);
}

CStringUI::CStringUI(const CStringUI& src) : m_pstr(m_szBuffer)
{
    m_szBuffer[0] = L'\0';
    Assign(src.m_pstr);
}

CStringUI::~CStringUI()
{
    FreeHeap();
}

bool CStringUI::IsLocal() const
{
    return m_pstr == m_szBuffer;
}

// True when pstr points into this string's own characters, which a reallocation
// or a switch between buffers would invalidate.
bool CStringUI::Overlaps(LPCWSTR pstr) const
{
    if (pstr == nullptr) return false;
    return pstr >= m_pstr && pstr <= m_pstr + GetLength();
}

void CStringUI::FreeHeap()
{
    if (!IsLocal()) free(m_pstr);
    m_pstr = m_szBuffer;
    m_szBuffer[0] = L'\0';
}

void CStringUI::Assign(LPCWSTR pstr, int nLength)
{
    nLength = TextLength(pstr, nLength);
    if (!Overlaps(pstr)) {
        AssignUnaliased(pstr, nLength);
        return;
    }
    CStringUI copy(pstr, nLength);
    AssignUnaliased(copy.m_pstr, nLength);
}

void CStringUI::AssignUnaliased(LPCWSTR pstr, int nLength)
{
    if (nLength > MAX_LOCAL_STRING_LEN) {
        if (IsLocal() || GetLength() < nLength) {
            LPWSTR pNew = IsLocal() ? AllocText(nLength)
                                    : static_cast<LPWSTR>(realloc(m_pstr, static_cast<size_t>(nLength + 1) * sizeof(wchar_t)));
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

CStringUI& CStringUI::operator=(LPCWSTR pstr)
{
    Assign(pstr);
    return *this;
}

CStringUI& CStringUI::operator=(const CStringUI& src)
{
    if (this != &src) Assign(src.m_pstr);
    return *this;
}

void CStringUI::Append(LPCWSTR pstr)
{
    int nAdd = TextLength(pstr, -1);
    if (nAdd == 0) return;
    if (!Overlaps(pstr)) {
        AppendUnaliased(pstr, nAdd);
        return;
    }
    CStringUI copy(pstr, nAdd);
    AppendUnaliased(copy.m_pstr, nAdd);
}

void CStringUI::AppendUnaliased(LPCWSTR pstr, int nAdd)
{
    int nOld = GetLength();
    if (nAdd > kMaxLength - nOld) nAdd = kMaxLength - nOld;
    int nNew = nOld + nAdd;
    if (nNew > MAX_LOCAL_STRING_LEN) {
        LPWSTR pNew;
        if (IsLocal()) {
            pNew = AllocText(nNew);
            if (pNew != nullptr) wmemcpy(pNew, m_szBuffer, static_cast<size_t>(nOld) + 1);
        } else {
            pNew = static_cast<LPWSTR>(realloc(m_pstr, static_cast<size_t>(nNew + 1) * sizeof(wchar_t)));
        }
        if (pNew == nullptr) return; // the old text stays as it was
        m_pstr = pNew;
    }
    wmemcpy(m_pstr + nOld, pstr, static_cast<size_t>(nAdd));
    m_pstr[nNew] = L'\0';
}

CStringUI& CStringUI::operator+=(LPCWSTR pstr)
{
    Append(pstr);
    return *this;
}

CStringUI& CStringUI::operator+=(const CStringUI& src)
{
    Append(src.m_pstr);
    return *this;
}

CStringUI& CStringUI::operator+=(wchar_t ch)
{
    wchar_t sz[2] = { ch, L'\0' };
    Append(sz);
    return *this;
}

bool CStringUI::IsEmpty() const
{
    return m_pstr[0] == L'\0';
}

void CStringUI::Empty()
{
    FreeHeap();
}

int CStringUI::GetLength() const
{
    return static_cast<int>(wcslen(m_pstr));
}

LPCWSTR CStringUI::GetData() const
{
    return m_pstr;
}

wchar_t CStringUI::GetAt(int nIndex) const
{
    return m_pstr[nIndex];
}

bool CStringUI::Compare(LPCWSTR pstr) const
{
    return wcscmp(m_pstr, pstr) == 0;
}

int CStringUI::Find(LPCWSTR pstrSub, int iPos) const
{
    if (pstrSub == nullptr || iPos < 0 || iPos > GetLength()) return -1;
    if (*pstrSub == L'\0') return iPos; // the CRT answers an empty search inconsistently
    LPCWSTR p = wcsstr(m_pstr + iPos, pstrSub);
    return p == nullptr ? -1 : static_cast<int>(p - m_pstr);
}

// Formats into a fixed buffer of nCapacity characters; output that does not fit is cut
// (the formatter is told the room left, so it never writes past the buffer).
static int FormatInto(LPWSTR szBuffer, int nCapacity, LPCWSTR pstrFormat, va_list args)
{
    int n = _vsnwprintf(szBuffer, static_cast<size_t>(nCapacity - 1), pstrFormat, args);
    szBuffer[nCapacity - 1] = L'\0';
    return n < 0 ? static_cast<int>(wcslen(szBuffer)) : n;
}

int CStringUI::Format(LPCWSTR pstrFormat, ...)
{
    wchar_t szBuffer[1025] = { 0 };
    va_list args;
    va_start(args, pstrFormat);
    int n = FormatInto(szBuffer, 1025, pstrFormat, args);
    va_end(args);
    Assign(szBuffer);
    return n;
}

int CStringUI::SmallFormat(LPCWSTR pstrFormat, ...)
{
    wchar_t szBuffer[64] = { 0 };
    va_list args;
    va_start(args, pstrFormat);
    int n = FormatInto(szBuffer, 64, pstrFormat, args);
    va_end(args);
    Assign(szBuffer);
    return n;
}
