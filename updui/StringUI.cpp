#include "StringUI.h"

#include <shlwapi.h>

#include <climits>
#include <cstdarg>
#include <cstdlib>
#include <cwchar>

namespace UpdUI {

namespace {

// Longest text whose heap block size still fits an int of bytes.
const int kMaxLength = INT_MAX / static_cast<int>(sizeof(wchar_t)) - 1;

// wvsprintfW never writes more than 1024 characters; the buffer holds that and the terminator.
const int kFormatBuffer = 1025;

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

CStringUI::CStringUI() : m_pstr(m_szBuffer)
{
    m_szBuffer[0] = L'\0';
}

CStringUI::CStringUI(wchar_t ch) : m_pstr(m_szBuffer)
{
    m_szBuffer[0] = ch;
    m_szBuffer[1] = L'\0';
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

int CStringUI::GetLength() const
{
    return static_cast<int>(wcslen(m_pstr));
}

LPCWSTR CStringUI::GetData() const
{
    return m_pstr;
}

bool CStringUI::IsEmpty() const
{
    return m_pstr[0] == L'\0';
}

wchar_t CStringUI::GetAt(int nIndex) const
{
    return m_pstr[nIndex];
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

void CStringUI::Empty()
{
    FreeHeap();
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

// A heap block is reused when the text it holds is at least as long as the new one;
// short texts always go back to the inline buffer.
void CStringUI::AssignUnaliased(LPCWSTR pstr, int nLength)
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

void CStringUI::Append(LPCWSTR pstr, int nLength)
{
    int nAdd = TextLength(pstr, nLength);
    if (nAdd == 0) return;
    if (!Overlaps(pstr)) {
        AppendUnaliased(pstr, nAdd);
        return;
    }
    CStringUI copy(pstr, nAdd);
    AppendUnaliased(copy.m_pstr, nAdd);
}

// On allocation failure the text stays as it was.
void CStringUI::AppendUnaliased(LPCWSTR pstr, int nAdd)
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

CStringUI& CStringUI::operator+=(const CStringUI& src)
{
    Append(src.m_pstr);
    return *this;
}

CStringUI& CStringUI::operator+=(LPCWSTR pstr)
{
    Append(pstr);
    return *this;
}

CStringUI& CStringUI::operator+=(wchar_t ch)
{
    wchar_t sz[2] = {ch, L'\0'};
    Append(sz, ch == L'\0' ? 0 : 1);
    return *this;
}

bool CStringUI::operator==(LPCWSTR pstr) const
{
    return Compare(pstr) == 0;
}

bool CStringUI::operator==(const CStringUI& src) const
{
    return Compare(src.m_pstr) == 0;
}

bool CStringUI::operator!=(LPCWSTR pstr) const
{
    return Compare(pstr) != 0;
}

int CStringUI::Compare(LPCWSTR pstr) const
{
    return wcscmp(m_pstr, pstr != nullptr ? pstr : L"");
}

void CStringUI::MakeLower()
{
    int n = GetLength();
    if (n > 0) CharLowerBuffW(m_pstr, static_cast<DWORD>(n));
}

int CStringUI::Find(LPCWSTR pstrSub, int iPos) const
{
    if (pstrSub == nullptr || iPos < 0 || iPos > GetLength()) return -1;
    LPCWSTR p = wcsstr(m_pstr + iPos, pstrSub);
    return p == nullptr ? -1 : static_cast<int>(p - m_pstr);
}

int CStringUI::ReverseFind(wchar_t ch) const
{
    LPCWSTR p = wcsrchr(m_pstr, ch);
    return p == nullptr ? -1 : static_cast<int>(p - m_pstr);
}

CStringUI CStringUI::Left(int nLength) const
{
    int nLen = GetLength();
    if (nLength < 0) nLength = 0;
    if (nLength > nLen) nLength = nLen;
    return CStringUI(m_pstr, nLength);
}

CStringUI CStringUI::Mid(int iPos, int nLength) const
{
    int nLen = GetLength();
    if (iPos < 0) iPos = 0;
    if (iPos > nLen) iPos = nLen;
    if (nLength < 0 || nLength > nLen - iPos) nLength = nLen - iPos;
    if (nLength <= 0) return CStringUI();
    return CStringUI(m_pstr + iPos, nLength);
}

// An empty search text would match forever; it replaces nothing.
int CStringUI::Replace(LPCWSTR pstrFrom, LPCWSTR pstrTo)
{
    if (pstrFrom == nullptr || pstrFrom[0] == L'\0') return 0;
    CStringUI sFrom(pstrFrom);
    CStringUI sTo(pstrTo);
    int nFrom = sFrom.GetLength();
    int nTo = sTo.GetLength();
    int nCount = 0;
    int iPos = Find(sFrom.m_pstr);
    while (iPos >= 0) {
        CStringUI sResult(m_pstr, iPos);
        sResult += sTo;
        sResult += m_pstr + iPos + nFrom;
        Assign(sResult.m_pstr);
        ++nCount;
        iPos = Find(sFrom.m_pstr, iPos + nTo);
    }
    return nCount;
}

// The output is bounded by wvsprintfW's own limit instead of a 64-unit stack buffer,
// so a long result is kept whole rather than written past the buffer.
int CStringUI::Format(LPCWSTR pstrFormat, ...)
{
    wchar_t szBuffer[kFormatBuffer];
    szBuffer[0] = L'\0';
    va_list argList;
    va_start(argList, pstrFormat);
    int nLen = wvnsprintfW(szBuffer, kFormatBuffer, pstrFormat != nullptr ? pstrFormat : L"", argList);
    va_end(argList);
    if (nLen < 0) nLen = static_cast<int>(wcslen(szBuffer));
    Assign(szBuffer, nLen);
    return nLen;
}

} // namespace UpdUI
