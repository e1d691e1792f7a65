#pragma once
#include <windows.h>

namespace UpdUI {

// Wide string with an inline buffer: texts of up to 62 characters never touch the heap,
// longer ones live in a C runtime block of (length + 1) units. Always NUL-terminated.
class CStringUI
{
public:
    enum { MAX_LOCAL_STRING_LEN = 62 };

    CStringUI();
    CStringUI(wchar_t ch);
    CStringUI(LPCWSTR lpsz, int nLen = -1);
    CStringUI(const CStringUI& src);
    ~CStringUI();

    int GetLength() const;
    LPCWSTR GetData() const;
    bool IsEmpty() const;
    wchar_t GetAt(int nIndex) const;

    void Assign(LPCWSTR pstr, int nLength = -1);
    void Append(LPCWSTR pstr, int nLength = -1);
    void Empty();

    CStringUI& operator=(LPCWSTR pstr);
    CStringUI& operator=(const CStringUI& src);
    CStringUI& operator+=(const CStringUI& src);
    CStringUI& operator+=(LPCWSTR pstr);
    CStringUI& operator+=(wchar_t ch);
    bool operator==(LPCWSTR pstr) const;
    bool operator==(const CStringUI& src) const;
    bool operator!=(LPCWSTR pstr) const;

    int Compare(LPCWSTR pstr) const;
    void MakeLower();
    int Find(LPCWSTR pstrSub, int iPos = 0) const;
    int ReverseFind(wchar_t ch) const;
    CStringUI Left(int nLength) const;
    CStringUI Mid(int iPos, int nLength = -1) const;
    int Replace(LPCWSTR pstrFrom, LPCWSTR pstrTo);
    int Format(LPCWSTR pstrFormat, ...);

private:
    bool IsLocal() const;
    bool Overlaps(LPCWSTR pstr) const;
    void FreeHeap();
    void AssignUnaliased(LPCWSTR pstr, int nLength);
    void AppendUnaliased(LPCWSTR pstr, int nAdd);

    LPWSTR m_pstr;
    wchar_t m_szBuffer[MAX_LOCAL_STRING_LEN + 2];
};

} // namespace UpdUI
