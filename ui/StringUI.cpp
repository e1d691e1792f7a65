#include "StringUI.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <cwchar>

CStringUI::CStringUI() { }

CStringUI::CStringUI(LPCWSTR lpsz, int nLen)
{
    Assign(lpsz, nLen);
}

CStringUI::CStringUI(const CStringUI& src) : CInlineTextUI(src) { }

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
    CInlineTextUI::Append(pstr);
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
