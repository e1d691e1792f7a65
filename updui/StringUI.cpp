#include "StringUI.h"

#include <shlwapi.h>

#include <cstdarg>
#include <cwchar>

namespace UpdUI {

namespace {

// wvsprintfW never writes more than 1024 characters; the buffer holds that and the terminator.
const int kFormatBuffer = 1025;

} // namespace

CStringUI::CStringUI() { }

CStringUI::CStringUI(wchar_t ch)
{
    wchar_t sz[2] = { ch, L'\0' };
    Assign(sz, ch == L'\0' ? 0 : 1);
}

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
    wchar_t sz[2] = { ch, L'\0' };
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
